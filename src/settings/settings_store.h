// The INI file beside the library: read at attach, eight keys written at detach.
#pragma once

#include <cstdint>

namespace settings {

// Capacity the callers give GetIniFilePath: a path buffer of 264 bytes.
constexpr uint32_t kIniPathCapacity = 261;
// GetPrivateProfileStringA reads into 256 characters: 255 and the terminator.
constexpr uint32_t kIniValueSize = 256;

// The library's path with everything from its last "." replaced by ".ini".
// 0 when the platform gives no path, the path did not fit, or has no ".".
// The buffer must hold capacity + 3 bytes.
int GetIniFilePath(char* buffer, uint32_t capacity);

// 1 when a value (or the default) was read into destination (kIniValueSize
// bytes); 0 when no INI path could be formed, destination unchanged.
int ReadIniString(char* destination, const char* section, const char* key, const char* defaultText);
int ReadIniInt(int32_t& field, const char* section, const char* key, int32_t defaultValue);
int WriteIniString(const char* section, const char* key, const char* text);
int WriteIniInt(const char* section, const char* key, int32_t value);

// Leading white space, one optional sign, decimal digits up to the first
// other character; no digits give 0; the value wraps at 32 bits. The dialog
// converts its minimum-count field the same way.
int32_t ParseIniInteger(const char* text);

void LoadSettings();
void SaveSettings();

}  // namespace settings
