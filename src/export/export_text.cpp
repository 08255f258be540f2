#include "export/export_text.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "mime/mime_message.h"
#include "palmdoc/pdb_format.h"
#include "platform/file_system.h"
#include "resources/strings.h"
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

// A bookmark at the block, which starts at filePosition of the text file.
palmdoc::Bookmark BlockBookmark(const text::WrittenBlock& block, uint64_t filePosition) {
    const palmdoc::Bookmark named = palmdoc::MakeBookmark(block.subject.c_str(), filePosition);
    // A subject that shows nothing (none, or control bytes alone) names nothing.
    return named.name[0] != '\0' ? named : palmdoc::MakeBookmark(strings::kNoSubject, filePosition);
}

}  // namespace

ExportText WriteExportText(const char* textPath, MessageSource& source, palmdoc::Bookmarks* bookmarks,
                           platform::FileFailure* failure) {
    if (failure != nullptr) *failure = {};
    if (bookmarks != nullptr) bookmarks->clear();
    const bool gathering = bookmarks != nullptr && settings::PluginSettings.Bookmarks != 0;
    text::ReleaseMeDocIndex();  // nothing of an earlier run reaches this one
    std::FILE* file = platform::Files.open(textPath, "wb");
    if (file == nullptr) {
        Note(failure, FileOperation::kOpen, textPath, errno);
        return ExportText::CannotCreate;
    }

    int linesBefore = 0;
    uint64_t filePosition = 0;
    bool written = true;
    const char* text = nullptr;
    while (source.Next(text)) {
        if (text == nullptr) continue;
        // Without memory for the readable form, the message goes as it came.
        std::string decoded;
        if (settings::PluginSettings.DecodeMime != 0 && mime::DecodeMimeMessage(text, decoded)) text = decoded.c_str();
        // Streamed: one text at a time, given back as soon as it is written.
        text::WrittenBlock block;
        const int lines = text::WriteMessageBlock(text, file, linesBefore, &block);
        const int writeError = errno;
        source.Release();
        if (lines < 0) {
            Note(failure, FileOperation::kWrite, textPath, writeError);
            written = false;
            break;
        }
        linesBefore += lines;
        // No document holds more records than this: further bookmarks would
        // only take memory.
        if (gathering && bookmarks->size() < palmdoc::pdb::kMaxRecords) {
            bookmarks->push_back(BlockBookmark(block, filePosition));
        }
        filePosition += block.length;
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
