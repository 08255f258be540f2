// The export's text pipeline (header extraction, the clean-ups, message
// blocks, the MeDoc index, the bookmarks, and MIME decoding when it is on)
// on any message texts. The input's first byte switches the settings; the rest is split
// at NUL bytes into messages. The text file goes to /dev/null.
#include <cstring>
#include <string>
#include <vector>

#include "export/export_text.h"
#include "export/message_source.h"
#include "fuzz_support.h"
#include "platform/file_system.h"
#include "settings/plugin_settings.h"
#include "text/medoc_index.h"

using exporter::ExportText;
using exporter::MessageSource;
using exporter::WriteExportText;
using settings::PluginSettings;
using settings::kDefaultSettings;
using text::MeDocIndexBuffer;
using text::ReleaseMeDocIndex;

namespace {

enum SettingBit : std::uint8_t {
    kMeDocIndexBit = 1,
    kTrimSubjectBit = 2,
    kTrimFromBit = 4,
    kConvDateBit = 8,
    kDecodeMimeBit = 16,
    kBookmarksBit = 32,
};

class Messages : public MessageSource {
public:
    explicit Messages(std::vector<std::string> texts) : texts_(std::move(texts)) {}
    bool Next(const char*& text) override {
        if (next_ >= texts_.size()) return false;
        text = texts_[next_++].c_str();
        return true;
    }
    void Release() override {}

private:
    std::vector<std::string> texts_;
    std::size_t next_ = 0;
};

std::FILE* OpenNull(const char*, const char* mode) { return std::fopen("/dev/null", mode); }
int RemoveNothing(const char*) { return 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t bits = data[0];
    PluginSettings = kDefaultSettings;
    PluginSettings.MeDocIndex = (bits & kMeDocIndexBit) != 0;
    PluginSettings.TrimSubject = (bits & kTrimSubjectBit) != 0;
    PluginSettings.TrimFrom = (bits & kTrimFromBit) != 0;
    PluginSettings.ConvDate = (bits & kConvDateBit) != 0;
    PluginSettings.DecodeMime = (bits & kDecodeMimeBit) != 0;
    PluginSettings.Bookmarks = (bits & kBookmarksBit) != 0;

    std::vector<std::string> texts;
    const char* at = reinterpret_cast<const char*>(data + 1);
    const char* end = reinterpret_cast<const char*>(data + size);
    while (at < end) {
        const char* stop = static_cast<const char*>(std::memchr(at, '\0', static_cast<std::size_t>(end - at)));
        if (stop == nullptr) stop = end;
        texts.emplace_back(at, stop);
        at = stop + 1;
    }
    Messages messages(std::move(texts));

    const platform::FileSystem saved = platform::Files;
    platform::Files.open = OpenNull;
    platform::Files.remove = RemoveNothing;
    palmdoc::Bookmarks bookmarks;
    const ExportText result = WriteExportText("export.txt", messages, &bookmarks);
    platform::Files = saved;
    Require(result == ExportText::Written);
    // Named, in order, and each name a C string.
    for (std::size_t b = 0; b < bookmarks.size(); ++b) {
        Require(bookmarks[b].name[0] != '\0' && bookmarks[b].name[sizeof bookmarks[b].name - 1] == '\0');
        Require(b == 0 || bookmarks[b - 1].filePosition < bookmarks[b].filePosition);
    }
    if (MeDocIndexBuffer.text != nullptr) {
        Require(std::strncmp(MeDocIndexBuffer.text, "#!Medoc index ", 14) == 0);
    }
    ReleaseMeDocIndex();
    return 0;
}
