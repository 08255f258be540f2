#include "export/export_text.h"

#include <cstdio>

#include "platform/file_system.h"
#include "settings/plugin_settings.h"
#include "text/medoc_index.h"
#include "text/message_block.h"

namespace {

// The lines before the first block: the index head and one entry per message.
int FirstBlockLine(int32_t messageCount) { return messageCount + 1; }

}  // namespace

ExportText WriteExportText(const char* textPath, MessageSource& source, int32_t messageCount) {
    std::FILE* file = platform::Files.open(textPath, "wb");
    if (file == nullptr) return ExportText::CannotCreate;
    if (PluginSettings.MeDocIndex) StartMeDocIndex(messageCount);

    int lineNumber = FirstBlockLine(messageCount);
    bool written = true;
    const char* text = nullptr;
    while (source.Next(text)) {
        if (text == nullptr) continue;
        // Streamed: one text at a time, given back as soon as it is written.
        const int lines = WriteMessageBlock(text, file, lineNumber);
        source.Release();
        if (lines < 0) {
            written = false;
            break;
        }
        lineNumber += lines;
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
    }
    return result;
}
