// The output base name of one folder export: the folder's file name, the
// date and the running letter UniqID.
#pragma once

#include <cstddef>

namespace exporter {

constexpr std::size_t kBaseNameSize = 264;

enum class BaseName {
    Formed,     // with its suffix; UniqID advanced
    Unchanged,  // a file name without ".": taken as it stands, no suffix
    None,       // no "\" in the path, or a newsgroup file without "."
    TooLong,    // the name with its suffix would not fit its buffer
};

// The folder's file name: what follows the last "\" of the path, or null
// when there is none.
const char* FolderFileName(const char* folderPath);

// Reads the folder path only; writes baseName (kBaseNameSize bytes) unless
// the result is None or TooLong.
BaseName MakeBaseName(const char* folderPath, char* baseName);

// The running letter after code: a to z, then A to Z, then a again.
int NextUniqId(int code);

}  // namespace exporter
