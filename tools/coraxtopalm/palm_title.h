// The database's title: given in the terminal's encoding, stored as code
// page 932 in the name field, which keeps 31 bytes and its terminator.
#pragma once

#include <string>

// The title from --title: converted and cut to 31 bytes on a character
// boundary (a double-byte character whose second byte would not fit is left
// out). False, with a message in error, when code page 932 cannot hold a
// character of text.
bool TitleFromText(const std::string& text, std::string& title, std::string& error);

// The title from the file name of path, without its folders and extension,
// made the same way.
bool TitleFromFileName(const std::string& path, std::string& title, std::string& error);
