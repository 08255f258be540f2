#include "platform/fake_platform.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace fake_platform {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Registry, profile and environment names are compared without case.
bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// The entry named name in any case, or end.
template <class Map>
auto FindName(Map& map, const std::string& name) {
    return std::find_if(map.begin(), map.end(), [&](const auto& entry) { return SameName(entry.first, name); });
}

// The value (subkey, name) in any case, or end.
template <class Map>
auto FindValue(Map& map, const std::string& subkey, const std::string& name) {
    return std::find_if(map.begin(), map.end(), [&](const auto& entry) {
        return SameName(entry.first.first, subkey) && SameName(entry.first.second, name);
    });
}

// key is subkey itself or a key below it.
bool IsAtOrBelow(const std::string& key, const std::string& subkey) {
    return key.size() >= subkey.size() && SameName(key.substr(0, subkey.size()), subkey) &&
           (key.size() == subkey.size() || key[subkey.size()] == '\\');
}

}  // namespace

State& Fake() {
    static State state;
    return state;
}

void Reset() { Fake() = State(); }

bool RegistryKeyExists(const std::string& subkey) {
    const State& state = Fake();
    for (const auto& [key, exists] : state.registryKeys) {
        if (exists && IsAtOrBelow(key, subkey)) return true;
    }
    for (const auto& value : state.registryTexts) {
        if (IsAtOrBelow(value.first.first, subkey)) return true;
    }
    for (const auto& value : state.registryDwords) {
        if (IsAtOrBelow(value.first.first, subkey)) return true;
    }
    return false;
}

}  // namespace fake_platform

using fake_platform::Fake;

namespace {

uint32_t CopyCut(const std::string& text, char* out, uint32_t size) {
    if (size == 0) return 0;
    const uint32_t n = static_cast<uint32_t>(std::min<size_t>(text.size(), size - 1));
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return n;
}

bool IsProfileBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// What GetPrivateProfileStringA gives of a stored text: without the blanks
// around it and without one pair of enclosing quotes.
std::string ProfileText(const std::string& stored) {
    size_t begin = 0;
    size_t end = stored.size();
    while (begin < end && IsProfileBlank(stored[begin])) ++begin;
    while (end > begin && IsProfileBlank(stored[end - 1])) --end;
    const bool quoted = end - begin >= 2 && (stored[begin] == '"' || stored[begin] == '\'') &&
                        stored[end - 1] == stored[begin];
    if (quoted) {
        ++begin;
        --end;
    }
    return stored.substr(begin, end - begin);
}

// GetPrivateProfileStringA drops the trailing spaces of the default text.
std::string ProfileDefault(const char* text) {
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    return trimmed;
}

// What the Win32 side gives for a path: its short form where code page 932
// cannot spell it and it has one.
std::string AnsiPath(const std::string& path) {
    if (path.find('?') == std::string::npos) return path;
    const auto shortPath = Fake().shortPaths.find(path);
    return shortPath == Fake().shortPaths.end() ? path : shortPath->second;
}

}  // namespace

void ShowMessageBox(WindowHandle owner, const char* text, const char* caption, BoxIcon icon) {
    Fake().calls.push_back("MessageBoxA");
    Fake().boxes.push_back({owner, text, caption, icon});
}

bool ReadUserRegistryText(const char* subkey, const char* valueName, std::string& text) {
    Fake().calls.push_back("ReadUserRegistryText");
    const auto it = fake_platform::FindValue(Fake().registryTexts, subkey, valueName);
    if (it == Fake().registryTexts.end()) return false;
    text = AnsiPath(it->second.substr(0, it->second.find('\0')));
    return true;
}

bool SetUserRegistryDword(const char* subkey, const char* valueName, uint32_t data) {
    Fake().calls.push_back("SetUserRegistryDword");
    if (!fake_platform::RegistryKeyExists(subkey)) return false;
    auto& dwords = Fake().registryDwords;
    const auto existing = fake_platform::FindValue(dwords, subkey, valueName);
    if (existing != dwords.end()) {
        existing->second = data;
    } else {
        dwords[{subkey, valueName}] = data;
    }
    return true;
}

uint32_t ReadPrivateProfileText(const char* section, const char* key, const char* defaultText,
                           char* out, uint32_t size, const char* iniPath) {
    Fake().calls.push_back("GetPrivateProfileStringA");
    const auto file = Fake().iniFiles.find(iniPath);
    if (file != Fake().iniFiles.end()) {
        const auto sec = fake_platform::FindName(file->second, section);
        if (sec != file->second.end()) {
            const auto value = fake_platform::FindName(sec->second, key);
            if (value != sec->second.end()) return CopyCut(ProfileText(value->second), out, size);
        }
    }
    return CopyCut(ProfileDefault(defaultText), out, size);
}

bool WritePrivateProfileText(const char* section, const char* key, const char* text,
                        const char* iniPath) {
    Fake().calls.push_back("WritePrivateProfileStringA");
    const auto& readOnly = Fake().readOnlyIniPaths;
    if (std::find(readOnly.begin(), readOnly.end(), iniPath) != readOnly.end()) return false;
    // An existing section or key keeps the spelling it has in the file.
    auto& sections = Fake().iniFiles[iniPath];
    const auto sec = fake_platform::FindName(sections, section);
    auto& keys = sec != sections.end() ? sec->second : sections[section];
    const auto value = fake_platform::FindName(keys, key);
    (value != keys.end() ? value->second : keys[key]) = text;
    return true;
}

uint32_t ModuleFileName(ModuleHandle, char* out, uint32_t capacity) {
    Fake().calls.push_back("GetModuleFileNameA");
    const std::string path = AnsiPath(Fake().moduleFileName);
    if (path.empty() || path.size() >= capacity) return 0;
    return CopyCut(path, out, capacity);
}

bool ReadEnvironment(const char* name, std::string& value) {
    Fake().calls.push_back("GetEnvironmentVariableA");
    const auto it = fake_platform::FindName(Fake().environment, name);
    if (it == Fake().environment.end() || it->second.empty()) return false;
    value = AnsiPath(it->second);
    return true;
}

std::string TemporaryDirectory() {
    Fake().calls.push_back("GetTempPathA");
    return AnsiPath(Fake().temporaryDirectory);
}

void InitialiseCommonControls() { Fake().calls.push_back("InitCommonControls"); }

void AppendMenuItem(MenuHandle menu, uint32_t itemId, const char* text) {
    Fake().calls.push_back("AppendMenuA");
    Fake().menuItems.push_back({menu, itemId, text});
}

void* FindHostExport(const char* name) {
    const auto it = Fake().hostExports.find(name);
    return it == Fake().hostExports.end() ? nullptr : it->second;
}

LocalDate Today() { return Fake().today; }

}  // namespace platform
