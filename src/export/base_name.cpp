#include "export/base_name.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/cp932.h"
#include "platform/platform.h"
#include "settings/plugin_settings.h"

namespace exporter {

namespace {

constexpr char kNewsGroupMarker[] = "NewsGroup";

// fj.comp.lang.c gives f.c.l.c: every dotted piece but the last shortened to
// its first character. ("." is never the second byte of a character.)
std::string ShortenGroupName(const std::string& group) {
    std::string shortened;
    size_t start = 0;
    for (size_t dot = group.find('.'); dot != std::string::npos; dot = group.find('.', start)) {
        const char* piece = group.c_str() + start;
        const size_t firstCharacter = static_cast<size_t>(platform::cp932::NextCharacter(piece) - piece);
        if (dot > start) shortened.append(piece, std::min(firstCharacter, dot - start));
        shortened += '.';
        start = dot + 1;
    }
    return shortened + group.substr(start);
}

}  // namespace

int NextUniqId(int code) {
    if (code == 'z') return 'A';
    if (code == 'Z') return 'a';
    return code + 1;
}

const char* FolderFileName(const char* folderPath) {
    const char* lastSeparator = platform::cp932::FindLastOf(folderPath, "\\");
    return lastSeparator != nullptr ? lastSeparator + 1 : nullptr;
}

BaseName MakeBaseName(const char* folderPath, char* baseName) {
    const char* const folderFileName = FolderFileName(folderPath);
    if (folderFileName == nullptr) return BaseName::None;
    const std::string fileName = folderFileName;

    std::string stem;
    if (std::strstr(folderPath, kNewsGroupMarker) != nullptr) {
        const size_t dot = fileName.rfind('.');
        if (dot == std::string::npos) return BaseName::None;
        stem = ShortenGroupName(fileName.substr(0, dot));
    } else {
        const size_t dot = fileName.rfind('.');
        if (dot == std::string::npos) {
            if (fileName.size() >= kBaseNameSize) return BaseName::TooLong;
            std::memcpy(baseName, fileName.c_str(), fileName.size() + 1);
            return BaseName::Unchanged;
        }
        stem = fileName.substr(0, dot);
    }

    const platform::LocalDate today = platform::Today();
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "_%02d%02d%c", today.month, today.day,
                  static_cast<char>(settings::PluginSettings.UniqID));
    const std::string name = stem + suffix;
    // The letter is spent whether or not the name fits: the folder was named.
    settings::PluginSettings.UniqID = NextUniqId(settings::PluginSettings.UniqID);
    if (name.size() >= kBaseNameSize) return BaseName::TooLong;
    std::memcpy(baseName, name.c_str(), name.size() + 1);
    return BaseName::Formed;
}

}  // namespace exporter
