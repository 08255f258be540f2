#include "platform/fake_platform.h"

#include <algorithm>
#include <cstring>

namespace fake_platform {

State& Fake() {
    static State state;
    return state;
}

void Reset() { Fake() = State(); }

}  // namespace fake_platform

namespace platform {

using fake_platform::Fake;

namespace {

uint32_t CopyCut(const std::string& text, char* out, uint32_t size) {
    if (size == 0) return 0;
    const uint32_t n = static_cast<uint32_t>(std::min<size_t>(text.size(), size - 1));
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return n;
}

}  // namespace

void ShowMessageBox(WindowHandle owner, const char* text, const char* caption, BoxIcon icon) {
    Fake().calls.push_back("MessageBoxA");
    Fake().boxes.push_back({owner, text, caption, icon});
}

bool ReadUserRegistryText(const char* subkey, const char* valueName, std::string& text) {
    Fake().calls.push_back("ReadUserRegistryText");
    const auto it = Fake().registryTexts.find({subkey, valueName});
    if (it == Fake().registryTexts.end()) return false;
    text = it->second.substr(0, it->second.find('\0'));
    return true;
}

bool SetUserRegistryDword(const char* subkey, const char* valueName, uint32_t data) {
    Fake().calls.push_back("SetUserRegistryDword");
    if (!Fake().registryKeys[subkey]) return false;
    Fake().registryDwords[{subkey, valueName}] = data;
    return true;
}

uint32_t ReadPrivateProfileText(const char* section, const char* key, const char* defaultText,
                           char* out, uint32_t size, const char* iniPath) {
    Fake().calls.push_back("GetPrivateProfileStringA");
    const auto file = Fake().iniFiles.find(iniPath);
    if (file != Fake().iniFiles.end()) {
        const auto sec = file->second.find(section);
        if (sec != file->second.end()) {
            const auto value = sec->second.find(key);
            if (value != sec->second.end()) return CopyCut(value->second, out, size);
        }
    }
    return CopyCut(defaultText, out, size);
}

bool WritePrivateProfileText(const char* section, const char* key, const char* text,
                        const char* iniPath) {
    Fake().calls.push_back("WritePrivateProfileStringA");
    const auto& readOnly = Fake().readOnlyIniPaths;
    if (std::find(readOnly.begin(), readOnly.end(), iniPath) != readOnly.end()) return false;
    Fake().iniFiles[iniPath][section][key] = text;
    return true;
}

uint32_t ModuleFileName(ModuleHandle, char* out, uint32_t capacity) {
    Fake().calls.push_back("GetModuleFileNameA");
    const std::string& path = Fake().moduleFileName;
    if (path.empty() || path.size() >= capacity) return 0;
    return CopyCut(Fake().moduleFileName, out, capacity);
}

bool ReadEnvironment(const char* name, std::string& value) {
    Fake().calls.push_back("GetEnvironmentVariableA");
    const auto it = Fake().environment.find(name);
    if (it == Fake().environment.end()) return false;
    value = it->second;
    return true;
}

std::string TemporaryDirectory() {
    Fake().calls.push_back("GetTempPathA");
    return Fake().temporaryDirectory;
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
