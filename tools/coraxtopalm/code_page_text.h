// Text between the terminal's encoding and code page 932, through iconv.
#pragma once

#include <string>

// The iconv name of code page 932 (Shift-JIS with the Windows extensions).
constexpr char kCodePage932[] = "CP932";

// Converts text from the encoding from to the encoding to (iconv names).
// Lenient: a byte that does not convert becomes "?", so that a damaged name
// still prints, and the result is true. Strict: false at such a byte, whose
// offset in text goes to stoppedAt when given.
bool ConvertText(const char* to, const char* from, const std::string& text, std::string& out, bool lenient,
                 std::size_t* stoppedAt = nullptr);

// The encoding of the terminal's text (command-line arguments, file names,
// what is printed), from the locale: UTF-8 on Linux. The plain C locale
// claims ASCII, of which UTF-8 is the superset that terminals use.
const char* TerminalEncoding();
