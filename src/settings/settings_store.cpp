#include "settings/settings_store.h"

#include <cstdio>
#include <cstring>

#include "host/host_state.h"
#include "platform/platform.h"
#include "settings/plugin_settings.h"

namespace settings {

namespace {

constexpr char kSettingsSection[] = "Settings";
constexpr char kUniqIdSection[] = "UniqID";
constexpr char kUniqIdKey[] = "ID";
constexpr char kIniExtension[] = ".ini";
// "%d" of any 32-bit value, sign included, fits with room to spare.
constexpr size_t kIntegerTextSize = 32;


bool IsIniWhiteSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

int GetIniFilePath(char* buffer, uint32_t capacity) {
    if (platform::ModuleFileName(host::ModuleHandle, buffer, capacity) == 0) return 0;
    char* dot = std::strrchr(buffer, '.');
    if (dot == nullptr) return 0;
    std::memcpy(dot, kIniExtension, sizeof kIniExtension);
    return 1;
}

int ReadIniString(char* destination, const char* section, const char* key, const char* defaultText) {
    char path[kIniPathCapacity + sizeof kIniExtension];
    if (!GetIniFilePath(path, kIniPathCapacity)) return 0;
    platform::ReadPrivateProfileText(section, key, defaultText, destination, kIniValueSize, path);
    return 1;
}

int32_t ParseIniInteger(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (IsIniWhiteSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    uint32_t value = 0;  // unsigned, so that overflow wraps instead of being undefined
    for (; *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<uint32_t>(*p - '0');
    if (negative) value = 0u - value;
    int32_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

int ReadIniInt(int32_t& field, const char* section, const char* key, int32_t defaultValue) {
    char defaultText[kIntegerTextSize];
    std::snprintf(defaultText, sizeof defaultText, "%d", static_cast<int>(defaultValue));
    char text[kIniValueSize];
    field = ReadIniString(text, section, key, defaultText) ? ParseIniInteger(text) : defaultValue;
    return field;
}

int WriteIniString(const char* section, const char* key, const char* text) {
    char path[kIniPathCapacity + sizeof kIniExtension];
    if (!GetIniFilePath(path, kIniPathCapacity)) return 0;
    return platform::WritePrivateProfileText(section, key, text, path) ? 1 : 0;
}

int WriteIniInt(const char* section, const char* key, int32_t value) {
    char text[kIntegerTextSize];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return WriteIniString(section, key, text);
}

void LoadSettings() {
    SettingsRecord& s = PluginSettings;
    ReadIniInt(s.ConvToDoc, kSettingsSection, "ConvToDoc", kDefaultSettings.ConvToDoc);
    ReadIniInt(s.MeDocIndex, kSettingsSection, "MeDocIndex", kDefaultSettings.MeDocIndex);
    ReadIniInt(s.DoRead, kSettingsSection, "DoRead", kDefaultSettings.DoRead);
    ReadIniInt(s.TrimSubject, kSettingsSection, "TrimSubject", kDefaultSettings.TrimSubject);
    ReadIniInt(s.SubFolder, kSettingsSection, "SubFolder", kDefaultSettings.SubFolder);
    ReadIniInt(s.TrimFrom, kSettingsSection, "TrimFrom", kDefaultSettings.TrimFrom);
    ReadIniInt(s.ConvDate, kSettingsSection, "ConvDate", kDefaultSettings.ConvDate);
    ReadIniInt(s.UniqID, kUniqIdSection, kUniqIdKey, kDefaultSettings.UniqID);
    ReadIniInt(s.InstallUser, kSettingsSection, "InstallUser", kDefaultSettings.InstallUser);
    ReadIniInt(s.DecodeMime, kSettingsSection, "DecodeMime", kDefaultSettings.DecodeMime);
    ReadIniInt(s.Bookmarks, kSettingsSection, "Bookmarks", kDefaultSettings.Bookmarks);
    // Never stored: every run of the host starts without a minimum.
    s.MinUnread = kDefaultSettings.MinUnread;
}

void SaveSettings() {
    const SettingsRecord& s = PluginSettings;
    WriteIniInt(kSettingsSection, "ConvToDoc", s.ConvToDoc);
    WriteIniInt(kSettingsSection, "MeDocIndex", s.MeDocIndex);
    WriteIniInt(kSettingsSection, "DoRead", s.DoRead);
    WriteIniInt(kSettingsSection, "TrimSubject", s.TrimSubject);
    WriteIniInt(kUniqIdSection, kUniqIdKey, s.UniqID);
    WriteIniInt(kSettingsSection, "InstallUser", s.InstallUser);
    WriteIniInt(kSettingsSection, "DecodeMime", s.DecodeMime);
    WriteIniInt(kSettingsSection, "Bookmarks", s.Bookmarks);
}

}  // namespace settings
