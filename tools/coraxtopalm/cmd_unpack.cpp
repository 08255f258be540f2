// coraxtopalm unpack: the decompressed text of a Palm DOC database.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "pdb_load.h"

namespace {


bool WriteAll(std::FILE* file, const std::vector<unsigned char>& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
}

// The whole text is decoded before the output is opened, so a damaged
// database leaves no output file behind; a failed write removes it.
}  // namespace

int RunUnpack(const std::vector<std::string>& arguments) {
    if (arguments.empty() || arguments.size() > 2) {
        std::fprintf(stderr, "usage: coraxtopalm unpack PDB [TEXT]\n");
        return kExitUsage;
    }
    PalmDocDatabase database;
    std::string error;
    if (!LoadPalmDoc(arguments[0], database, error)) {
        std::fprintf(stderr, "coraxtopalm unpack: %s\n", error.c_str());
        return kExitFailure;
    }
    if (arguments.size() == 1) {
        if (!WriteAll(stdout, database.text)) {
            std::fprintf(stderr, "coraxtopalm unpack: cannot write the standard output\n");
            return kExitFailure;
        }
        return 0;
    }
    const std::string& textPath = arguments[1];
    std::FILE* out = std::fopen(textPath.c_str(), "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "coraxtopalm unpack: %s: cannot create the file\n", textPath.c_str());
        return kExitFailure;
    }
    const bool written = WriteAll(out, database.text);
    if (std::fclose(out) != 0 || !written) {
        std::remove(textPath.c_str());
        std::fprintf(stderr, "coraxtopalm unpack: %s: write failed\n", textPath.c_str());
        return kExitFailure;
    }
    return 0;
}
