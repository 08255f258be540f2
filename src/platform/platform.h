// The few Windows services the plug-in uses, behind plain functions.
// platform_win32.cpp implements them for the DLL; fake_platform.cpp records
// and answers them for the native tests, except the code page conversion,
// which code_page_posix.cpp does natively by iconv for the tests and the
// tool alike. Nothing here includes <windows.h>.
//
// The paths they give are in code page 932, as the rest of the library takes
// them. Windows gives a folder that a user named beyond it (𠮷田, in Hangul)
// with that name in its short 8.3 form; where it has none, as Windows spells
// it in the code page, "?" for what it cannot hold: no file, but a name for
// the message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

using WindowHandle = void*;
using MenuHandle = void*;
using ModuleHandle = void*;

enum class BoxIcon { Error, Information };

// A modal box with one OK button; returns when the user closed it.
void ShowMessageBox(WindowHandle owner, const char* text, const char* caption, BoxIcon icon);

// Reads a value of any type below HKEY_CURRENT_USER\subkey as a NUL-terminated
// text, with read access only; a text beyond code page 932 is taken for a
// path as above. False when the key or the value is missing.
bool ReadUserRegistryText(const char* subkey, const char* valueName, std::string& text);

// Sets a REG_DWORD below HKEY_CURRENT_USER\subkey. The key is opened for
// writing, never created: false when it is missing or cannot be opened.
bool SetUserRegistryDword(const char* subkey, const char* valueName, uint32_t data);

// GetPrivateProfileStringA: the stored text (cut to size - 1) or the default.
// Returns the number of characters copied.
uint32_t ReadPrivateProfileText(const char* section, const char* key, const char* defaultText,
                           char* out, uint32_t size, const char* iniPath);

// WritePrivateProfileStringA; creates file, section and key as needed.
bool WritePrivateProfileText(const char* section, const char* key, const char* text,
                        const char* iniPath);

// The module's file path: characters copied; 0 on failure and when the path did
// not fit capacity whole, so that a cut path is never taken for another one.
uint32_t ModuleFileName(ModuleHandle module, char* out, uint32_t capacity);

// The variable's value in code page 932, one beyond it taken for a path as
// above: false when it is unset or empty, so that an empty TMP never puts
// files at the root of a drive.
bool ReadEnvironment(const char* name, std::string& value);

// The folder GetTempPath gives, without its trailing backslash.
std::string TemporaryDirectory();

// InitCommonControls, imported by its export number 17.
void InitialiseCommonControls();

// AppendMenuA with no flags: a plain enabled text item at the end of the menu.
void AppendMenuItem(MenuHandle menu, uint32_t itemId, const char* text);

// The address of a function exported by name from the host's executable, or
// null when the host exports no such name.
void* FindHostExport(const char* name);

struct LocalDate {
    int month;  // 1 to 12
    int day;    // 1 to 31
};
LocalDate Today();

// A charset by the names the two sides know it by: its Windows code page
// (kNoWindowsCodePage where Windows has none) and its iconv name (null where
// iconv has none).
struct CodePage {
    uint32_t windows;
    const char* iconv;
};
constexpr uint32_t kNoWindowsCodePage = 0;

// U+FFFD, which stands for bytes that form no character.
constexpr char16_t kReplacementCharacter = 0xFFFD;

// Appends bytes in the code page as UTF-16 code units (characters beyond the
// Basic Multilingual Plane as surrogate pairs). A byte that starts no
// character, and a character cut off at the end, give one
// kReplacementCharacter each and the conversion goes on after them; the
// time taken grows with the length alone. False, with utf16 unchanged,
// when this side does not know the code page, whatever the bytes.
bool CodePageToUtf16(const CodePage& codePage, std::string_view bytes, std::u16string& utf16);

}  // namespace platform
