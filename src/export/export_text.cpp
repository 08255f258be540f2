#include "export/export_text.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "mime/mime_message.h"
#include "platform/file_system.h"
#include "settings/plugin_settings.h"
#include "text/medoc_index.h"
#include "text/message_block.h"

namespace exporter {

namespace {

using platform::FileOperation;

// The first failed operation on the text file, errno as the call left it.
void Note(platform::FileFailure* failure, FileOperation operation, const char* textPath, int errorNumber) {
    if (failure != nullptr && failure->operation == FileOperation::kNone) *failure = {operation, textPath, errorNumber};
}

}  // namespace

ExportText WriteExportText(const char* textPath, MessageSource& source, platform::FileFailure* failure) {
    if (failure != nullptr) *failure = {};
    text::ReleaseMeDocIndex();  // nothing of an earlier run reaches this one
    std::FILE* file = platform::Files.open(textPath, "wb");
    if (file == nullptr) {
        Note(failure, FileOperation::kOpen, textPath, errno);
        return ExportText::CannotCreate;
    }

    int linesBefore = 0;
    bool written = true;
    const char* text = nullptr;
    while (source.Next(text)) {
        if (text == nullptr) continue;
        // Without memory for the readable form, the message goes as it came.
        std::string decoded;
        if (settings::PluginSettings.DecodeMime != 0 && mime::DecodeMimeMessage(text, decoded)) text = decoded.c_str();
        // Streamed: one text at a time, given back as soon as it is written.
        const int lines = text::WriteMessageBlock(text, file, linesBefore);
        const int writeError = errno;
        source.Release();
        if (lines < 0) {
            Note(failure, FileOperation::kWrite, textPath, writeError);
            written = false;
            break;
        }
        linesBefore += lines;
    }
    if (written && platform::Files.flush(file) != 0) {
        Note(failure, FileOperation::kFlush, textPath, errno);
        written = false;
    }
    if (platform::Files.close(file) != 0) {
        Note(failure, FileOperation::kClose, textPath, errno);
        written = false;
    }
    const ExportText result = source.Failed() ? ExportText::SourceFailed
                              : written       ? ExportText::Written
                                              : ExportText::WriteFailed;
    if (result != ExportText::Written) {
        text::ReleaseMeDocIndex();
        // Half a text file is no result: it is neither converted nor kept.
        platform::Files.remove(textPath);
    } else if (settings::PluginSettings.MeDocIndex) {
        text::FinishMeDocIndex();
    }
    return result;
}

}  // namespace exporter
