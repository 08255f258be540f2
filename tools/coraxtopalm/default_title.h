// The database title a command takes when none is given.
#pragma once

#include <string>

// The file name of path without its folders and its last extension. path is
// code page 932 text: "/" and "\" are found only where they stand as
// characters of their own, not as the second byte of a double-byte
// character (表 is 0x95 0x5C).
std::string DefaultTitle(const std::string& path);
