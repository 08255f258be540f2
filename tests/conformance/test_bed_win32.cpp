#include "conformance/test_bed_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>

#include "tools/simulator/import_patch.h"

namespace conformance {

extern "C" void CoraxToPalmConformanceExport() {}

namespace {

// GetModuleFileNameA and GetEnvironmentVariableA give at most this much.
constexpr DWORD kLongestText = 32767;

void RemoveFilesIn(const std::string& folder) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            DeleteFileA((folder + "\\" + found.cFileName).c_str());
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void DeleteRegistryRoot() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kRegistryRoot);
}

// (section, key, text) of every "key=text" line, exactly as the file holds them.
std::vector<IniLine> ParseIniFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<IniLine> entries;
    std::string section;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
        } else if (const auto equals = line.find('='); equals != std::string::npos) {
            entries.push_back({section, line.substr(0, equals), line.substr(equals + 1)});
        }
    }
    return entries;
}

// The wide calls as Windows 98 and Me export them.
DWORD WINAPI UnimplementedGetEnvironmentVariableW(LPCWSTR, LPWSTR, DWORD) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}
DWORD WINAPI UnimplementedGetTempPathW(DWORD, LPWSTR) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}
DWORD WINAPI UnimplementedGetModuleFileNameW(HMODULE, LPWSTR, DWORD) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}
LONG WINAPI UnimplementedRegQueryValueExW(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD) {
    return ERROR_CALL_NOT_IMPLEMENTED;
}

template <class Function>
FARPROC AsProcedure(Function* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function));
}

struct WideCall {
    const char* module;
    const char* name;
    FARPROC stub;
};

std::wstring ToWide(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], static_cast<int>(wide.size()))));
    return wide;
}

// As the ANSI calls spell it: "?" for what the code page cannot hold.
std::string ToAnsi(const std::wstring& text) {
    std::string ansi(text.size() * 2, '\0');
    ansi.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                             &ansi[0], static_cast<int>(ansi.size()), nullptr,
                                                             nullptr)));
    return ansi;
}

}  // namespace

Win32TestBed::Win32TestBed(std::string folder) : folder_(std::move(folder)) {
    CreateDirectoryA(folder_.c_str(), nullptr);
    RemoveFilesIn(folder_);
    DeleteRegistryRoot();
}

Win32TestBed::~Win32TestBed() {
    for (const auto& [call, stub] : stubbedCalls_) ReplaceImport(GetModuleHandleA(nullptr), stub, call);
    DeleteRegistryRoot();
    for (auto kept = keptEnvironment_.rbegin(); kept != keptEnvironment_.rend(); ++kept) {
        SetEnvironmentVariableA(kept->first.c_str(), kept->second ? kept->second->c_str() : nullptr);
    }
}

std::string Win32TestBed::FilePath(const std::string& name) { return folder_ + "\\" + name; }

std::string Win32TestBed::UnwritablePath(const std::string& name) { return folder_ + "\\missing\\" + name; }

void Win32TestBed::WriteIniFile(const std::string& path, const std::vector<IniLine>& lines) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::string* section = nullptr;
    for (const IniLine& line : lines) {
        if (!section || *section != line.section) file << "[" << line.section << "]\r\n";
        section = &line.section;
        file << line.key << "=" << line.text << "\r\n";
    }
}

std::optional<std::string> Win32TestBed::StoredIniText(const std::string& path, const std::string& section,
                                                       const std::string& key) {
    for (const IniLine& entry : ParseIniFile(path)) {
        if (entry.section == section && entry.key == key) return entry.text;
    }
    return std::nullopt;
}

std::vector<std::string> Win32TestBed::StoredIniKeys(const std::string& path, const std::string& section) {
    std::vector<std::string> keys;
    for (const IniLine& entry : ParseIniFile(path)) {
        if (entry.section == section) keys.push_back(entry.key);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

void Win32TestBed::Remember(const std::string& name) {
    const auto known = std::find_if(keptEnvironment_.begin(), keptEnvironment_.end(),
                                    [&](const auto& kept) { return kept.first == name; });
    if (known != keptEnvironment_.end()) return;
    std::vector<char> value(kLongestText + 1);
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(), kLongestText + 1);
    const bool unset = length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND;
    keptEnvironment_.emplace_back(name, unset ? std::nullopt : std::optional<std::string>(value.data()));
}

void Win32TestBed::SetEnvironment(const std::string& name, const std::string& value) {
    Remember(name);
    const auto foreign = foreignFolders_.find(value);
    if (foreign != foreignFolders_.end()) {
        SetEnvironmentVariableW(ToWide(name).c_str(), foreign->second.c_str());
    } else {
        SetEnvironmentVariableA(name.c_str(), value.c_str());
    }
}

void Win32TestBed::UnsetEnvironment(const std::string& name) {
    Remember(name);
    SetEnvironmentVariableA(name.c_str(), nullptr);
}

// GetTempPathA takes "TEMP" when "TMP" is unset.
void Win32TestBed::SetWindowsTemporaryFolder(const std::string& folder) { SetEnvironment("TEMP", folder); }

// The platform code is linked into this program, so its calls go through
// this program's import slots.
void Win32TestBed::WithoutWideCalls() {
    const WideCall calls[] = {
        {"kernel32.dll", "GetEnvironmentVariableW", AsProcedure(&UnimplementedGetEnvironmentVariableW)},
        {"kernel32.dll", "GetTempPathW", AsProcedure(&UnimplementedGetTempPathW)},
        {"kernel32.dll", "GetModuleFileNameW", AsProcedure(&UnimplementedGetModuleFileNameW)},
        {"advapi32.dll", "RegQueryValueExW", AsProcedure(&UnimplementedRegQueryValueExW)},
    };
    for (const WideCall& call : calls) {
        const FARPROC original = GetProcAddress(GetModuleHandleA(call.module), call.name);
        if (ReplaceImport(GetModuleHandleA(nullptr), original, call.stub)) stubbedCalls_.emplace_back(original, call.stub);
    }
}

ForeignFolder Win32TestBed::FolderOutsideTheCodePage(bool made) {
    // 𠮷田 and 𠮷野: U+20BB7 lies beyond code page 932.
    const std::wstring path = ToWide(folder_) + (made ? L"\\\U00020BB7\u7530" : L"\\\U00020BB7\u91CE");
    ForeignFolder folder = {ToAnsi(path), ""};
    foreignFolders_[folder.spelled] = path;
    if (made && (CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)) {
        std::vector<wchar_t> shortPath(kLongestText + 1);
        const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), kLongestText + 1);
        const std::wstring shortName(shortPath.data(), length);
        folder.shortPath = FilePath(ToAnsi(shortName.substr(shortName.rfind(L'\\') + 1)));
    }
    return folder;
}

platform::ModuleHandle Win32TestBed::Module() { return GetModuleHandleA(nullptr); }

std::string Win32TestBed::ModulePath() {
    std::vector<char> path(kLongestText + 1);
    const DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), path.data(), kLongestText + 1);
    return std::string(path.data(), length);
}

void Win32TestBed::CreateRegistryKey(const std::string& subkey) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        RegCloseKey(key);
    }
}

void Win32TestBed::SetRegistryText(const std::string& subkey, const std::string& name, const std::string& bytes,
                                   RegistryText form) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    const DWORD type = form == RegistryText::Expandable ? REG_EXPAND_SZ : REG_SZ;
    const DWORD terminator = form == RegistryText::Unterminated ? 0 : 1;
    const auto foreign = foreignFolders_.find(bytes);
    if (foreign != foreignFolders_.end()) {
        const std::wstring& path = foreign->second;
        RegSetValueExW(key, ToWide(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>((path.size() + terminator) * sizeof(wchar_t)));
    } else {
        RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.c_str()),
                       static_cast<DWORD>(bytes.size() + terminator));
    }
    RegCloseKey(key);
}

void Win32TestBed::SetRegistryDword(const std::string& subkey, const std::string& name, uint32_t data) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    const DWORD value = data;
    RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

bool Win32TestBed::RegistryKeyExists(const std::string& subkey) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::optional<uint32_t> Win32TestBed::RegistryDword(const std::string& subkey, const std::string& name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG status =
        RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return std::nullopt;
    return value;
}

std::string Win32TestBed::HostExportName() { return "CoraxToPalmConformanceExport"; }

}  // namespace conformance
