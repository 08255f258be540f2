#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/cp932.h"
#include "platform/platform.h"

namespace platform {

namespace {

// The longest path and environment value Windows gives, in characters.
constexpr DWORD kLongestText = 32767;

std::wstring ToWide(const char* text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], size);
    wide.pop_back();  // the terminator, which the string keeps apart
    return wide;
}

// In the process's code page, 932 for the users of this plug-in.
std::string ToAnsi(const wchar_t* text, DWORD length) {
    const int wideLength = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_ACP, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, wideLength, &ansi[0], size, nullptr, nullptr);
    return ansi;
}

// The whole text when every character has a form in the process's code page,
// not a best fit that would name another file.
bool ToAnsiWhole(std::wstring_view text, std::string& ansi) {
    ansi.clear();
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return text.empty();
    const int wideLength = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wideLength, nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault) return false;
    ansi.assign(static_cast<std::size_t>(size), '\0');
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wideLength, &ansi[0], size, nullptr,
                               nullptr) == size;
}

std::vector<std::wstring_view> SplitNames(std::wstring_view path) {
    std::vector<std::wstring_view> names;
    for (std::size_t end; (end = path.find(L'\\')) != std::wstring_view::npos; path.remove_prefix(end + 1)) {
        names.push_back(path.substr(0, end));
    }
    names.push_back(path);
    return names;
}

// A path in code page 932 that names the same file or folder, so that the
// ANSI calls of the rest of the library reach it. A name the code page cannot
// hold (an account named with 𠮷, in Hangul, with a letter beyond the code
// page) is taken in its short 8.3 form, ASCII wherever the volume keeps short
// names; every other name stays as it is, so that a file found beside
// another by name, the INI beside the library, is still found. Where that
// fails, the path as Windows spells it in the code page: it names no file,
// but the message about it shows the user which one.
std::string AnsiPath(const std::wstring& path) {
    std::string ansi;
    if (ToAnsiWhole(path, ansi)) return ansi;
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    std::vector<wchar_t> shortPath(needed + 1, L'\0');
    const DWORD length = needed == 0 ? 0 : GetShortPathNameW(path.c_str(), shortPath.data(), needed);
    const std::vector<std::wstring_view> names = SplitNames(path);
    const std::vector<std::wstring_view> shortNames = SplitNames(std::wstring_view(shortPath.data(), length));
    bool whole = length != 0 && length < needed && names.size() == shortNames.size();
    std::string name;
    for (std::size_t i = 0; whole && i < names.size(); ++i) {
        whole = ToAnsiWhole(names[i], name) || ToAnsiWhole(shortNames[i], name);
        ansi += (i == 0 ? "" : "\\") + name;
    }
    return whole ? ansi : ToAnsi(path.data(), static_cast<DWORD>(path.size()));
}

// The one code page whose conversion takes no MB_ERR_INVALID_CHARS; it has
// no invalid bytes to report either.
constexpr UINT kUtf7CodePage = 65000;

// Appends the whole of bytes, or nothing when a byte forms no character
// (with MB_ERR_INVALID_CHARS among the flags) or the call fails.
bool AppendWhole(UINT codePage, DWORD flags, std::string_view bytes, std::u16string& utf16) {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return false;
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    if (size <= 0) return false;
    std::vector<wchar_t> wide(static_cast<std::size_t>(size));
    if (MultiByteToWideChar(codePage, flags, bytes.data(), length, wide.data(), size) != size) return false;
    utf16.append(wide.begin(), wide.end());
    return true;
}

// For Windows 98 and Me, whose wide call is a stub; their ANSI call counts
// bytes (Wine's, which never comes here, ends a value at its character count).
bool ReadEnvironmentAnsi(const char* name, std::string& value) {
    const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
    if (needed == 0) return false;
    std::vector<char> buffer(needed);
    const DWORD length = GetEnvironmentVariableA(name, buffer.data(), needed);
    // 0 also for an empty value, as below.
    if (length == 0 || length >= needed) return false;
    value.assign(buffer.data(), length);
    return true;
}

}  // namespace

void ShowMessageBox(WindowHandle owner, const char* text, const char* caption, BoxIcon icon) {
    const UINT style = MB_OK | (icon == BoxIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION);
    MessageBoxA(static_cast<HWND>(owner), text, caption, style);
}

bool ReadUserRegistryText(const char* subkey, const char* valueName, std::string& text) {
    HKEY key;
    // Read access only: a user who may read but not write the key is served.
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    // Texts through the wide call, for a path beyond code page 932; other
    // types, and everything on Windows 98 and Me, whose wide call is a stub,
    // as the ANSI call gives them.
    const std::wstring wideName = ToWide(valueName);
    DWORD type = REG_NONE;
    DWORD size = 0;
    const LONG status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size);
    bool found = false;
    if (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        // One character more than asked, so that data stored without its
        // terminator still ends in one.
        std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
        if (RegQueryValueExW(key, wideName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                             &size) == ERROR_SUCCESS) {
            text = AnsiPath(data.data());
            found = true;
        }
    } else if (status == ERROR_SUCCESS || status == ERROR_CALL_NOT_IMPLEMENTED) {
        size = 0;
        if (RegQueryValueExA(key, valueName, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
            std::vector<char> data(size + 1, '\0');
            if (RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                                 &size) == ERROR_SUCCESS) {
                text.assign(data.data());
                found = true;
            }
        }
    }
    RegCloseKey(key);
    return found;
}

bool SetUserRegistryDword(const char* subkey, const char* valueName, uint32_t data) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return false;
    const DWORD value = data;
    const LONG set =
        RegSetValueExA(key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return set == ERROR_SUCCESS;
}

uint32_t ReadPrivateProfileText(const char* section, const char* key, const char* defaultText,
                           char* out, uint32_t size, const char* iniPath) {
    return GetPrivateProfileStringA(section, key, defaultText, out, size, iniPath);
}

bool WritePrivateProfileText(const char* section, const char* key, const char* text,
                        const char* iniPath) {
    return WritePrivateProfileStringA(section, key, text, iniPath) != FALSE;
}

uint32_t ModuleFileName(ModuleHandle module, char* out, uint32_t capacity) {
    // The whole path first, into room for the longest one, then measured
    // against capacity: a call cut at capacity inside a double-byte
    // character ends before it under Wine and looks like a whole path.
    std::string path;
    std::vector<wchar_t> wide(kLongestText + 1);
    const DWORD length = GetModuleFileNameW(static_cast<HMODULE>(module), wide.data(), kLongestText + 1);
    if (length != 0 && length <= kLongestText) {
        path = AnsiPath(std::wstring(wide.data(), length));
    } else if (length == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        std::vector<char> ansi(kLongestText + 1);
        const DWORD ansiLength = GetModuleFileNameA(static_cast<HMODULE>(module), ansi.data(), kLongestText + 1);
        if (ansiLength <= kLongestText) path.assign(ansi.data(), ansiLength);
    }
    if (path.empty() || path.size() >= capacity) return 0;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return static_cast<uint32_t>(path.size());
}

bool ReadEnvironment(const char* name, std::string& value) {
    // Through the process environment, not the C runtime's copy, which does
    // not see what the host set after this library was loaded; and in UTF-16,
    // converted here, because Wine's GetEnvironmentVariableA counts
    // characters for bytes and cuts a Japanese value such as C:\Users\田中\Temp.
    const std::wstring wideName = ToWide(name);
    const DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (needed == 0) return GetLastError() == ERROR_CALL_NOT_IMPLEMENTED && ReadEnvironmentAnsi(name, value);
    std::vector<wchar_t> buffer(needed);
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), buffer.data(), needed);
    // 0 also for an empty value, which would put files at the drive's root.
    if (length == 0 || length >= needed) return false;
    value = AnsiPath(std::wstring(buffer.data(), length));
    return true;
}

std::string TemporaryDirectory() {
    wchar_t wide[MAX_PATH + 1];
    const DWORD wideLength = GetTempPathW(MAX_PATH + 1, wide);
    std::string path;
    if (wideLength != 0 && wideLength <= MAX_PATH) {
        path = AnsiPath(std::wstring(wide, wideLength));
    } else if (wideLength == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        char ansi[MAX_PATH + 1];
        const DWORD length = GetTempPathA(sizeof ansi, ansi);
        if (length < sizeof ansi) path.assign(ansi, length);
    }
    if (path.empty()) return ".";
    if (cp932::FindLastOf(path.c_str(), "\\") == path.c_str() + path.size() - 1) path.pop_back();
    return path;
}

void InitialiseCommonControls() { InitCommonControls(); }

void AppendMenuItem(MenuHandle menu, uint32_t itemId, const char* text) {
    AppendMenuA(static_cast<HMENU>(menu), MF_STRING, itemId, text);
}

void* FindHostExport(const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(nullptr), name));
}

LocalDate Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wMonth, now.wDay};
}

bool CodePageToUtf16(const CodePage& codePage, std::string_view bytes, std::u16string& utf16) {
    if (codePage.windows == kNoWindowsCodePage || !IsValidCodePage(codePage.windows)) return false;
    if (bytes.empty()) return true;
    // Without the flag, Windows gives bytes that form no character as "?" or
    // as a character of the private use area.
    const DWORD flags = codePage.windows == kUtf7CodePage ? 0 : MB_ERR_INVALID_CHARS;
    if (AppendWhole(codePage.windows, flags, bytes, utf16)) return true;
    // The call does not say where the bad byte is: the text again character
    // by character, each the shortest run of bytes that converts.
    CPINFO info;
    const std::size_t longest = GetCPInfo(codePage.windows, &info) ? info.MaxCharSize : 1;
    std::size_t position = 0;
    while (position < bytes.size()) {
        std::size_t length = 1;
        while (length <= longest && position + length <= bytes.size() &&
               !AppendWhole(codePage.windows, flags, bytes.substr(position, length), utf16)) {
            ++length;
        }
        if (length > longest || position + length > bytes.size()) {
            utf16 += kReplacementCharacter;
            length = 1;
        }
        position += length;
    }
    return true;
}

}  // namespace platform
