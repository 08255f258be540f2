#include "pdb_load.h"

#include <cstdio>
#include <vector>

namespace {

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    unsigned char chunk[1 << 16];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

}  // namespace

bool LoadPalmDoc(const std::string& path, PalmDocDatabase& database, std::string& error) {
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(path, bytes)) {
        error = path + ": cannot read the file";
        return false;
    }
    std::string why;
    if (!ReadPalmDocDatabase(bytes.data(), bytes.size(), database, why)) {
        error = path + ": " + why;
        return false;
    }
    return true;
}
