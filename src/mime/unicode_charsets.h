// UTF-8 and ISO-8859-1 in code page 932, through the generated table.
#pragma once

#include <string>
#include <string_view>

// A byte that starts no well-formed UTF-8 sequence becomes 〓, as does a
// character beyond the Basic Multilingual Plane (emoji among them).
void AppendUtf8AsCp932(std::string_view text, std::string& out);

void AppendLatin1AsCp932(std::string_view text, std::string& out);

// True when text is well-formed UTF-8 holding at least one multi-byte
// sequence: 8-bit text that is surely UTF-8 rather than Shift-JIS.
bool IsMultiByteUtf8(std::string_view text);
