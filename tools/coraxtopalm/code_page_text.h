// Text between the terminal's encoding and code page 932, through iconv.
#pragma once

#include <string>

// Converts text from the encoding from to the encoding to (iconv names).
// Lenient: a byte that does not convert becomes "?", so that a damaged name
// still prints, and the result is true. Strict: false at such a byte.
bool ConvertText(const char* to, const char* from, const std::string& text, std::string& out, bool lenient);
