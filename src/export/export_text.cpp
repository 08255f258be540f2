#include "export/export_text.h"

#include <cstdio>
#include <string>

#include "mime/mime_message.h"
#include "platform/file_system.h"
#include "settings/plugin_settings.h"
#include "text/medoc_index.h"
#include "text/message_block.h"

ExportText WriteExportText(const char* textPath, MessageSource& source) {
    ReleaseMeDocIndex();  // nothing of an earlier run reaches this one
    std::FILE* file = platform::Files.open(textPath, "wb");
    if (file == nullptr) return ExportText::CannotCreate;

    int linesBefore = 0;
    bool written = true;
    const char* text = nullptr;
    while (source.Next(text)) {
        if (text == nullptr) continue;
        // Without memory for the readable form, the message goes as it came.
        std::string decoded;
        if (PluginSettings.DecodeMime != 0 && mime::DecodeMimeMessage(text, decoded)) text = decoded.c_str();
        // Streamed: one text at a time, given back as soon as it is written.
        const int lines = WriteMessageBlock(text, file, linesBefore);
        source.Release();
        if (lines < 0) {
            written = false;
            break;
        }
        linesBefore += lines;
    }
    written = written && platform::Files.flush(file) == 0;
    written = platform::Files.close(file) == 0 && written;
    const ExportText result = source.Failed() ? ExportText::SourceFailed
                              : written       ? ExportText::Written
                                              : ExportText::WriteFailed;
    if (result != ExportText::Written) {
        ReleaseMeDocIndex();
        // Half a text file is no result: it is neither converted nor kept.
        platform::Files.remove(textPath);
    } else if (PluginSettings.MeDocIndex) {
        FinishMeDocIndex();
    }
    return result;
}
