// coraxtopalm pack: the plug-in's database writer on a text file.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "default_title.h"
#include "palmdoc/pdb_writer.h"

namespace {

bool ReadTextFile(const std::string& path, std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char chunk[1 << 16];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

}  // namespace

int RunPack(const std::vector<std::string>& arguments) {
    std::string title;
    bool haveTitle = false;
    std::string indexPath;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if ((argument == "--title" || argument == "--index") && i + 1 < arguments.size()) {
            if (argument == "--title") {
                title = arguments[++i];
                haveTitle = true;
            } else {
                indexPath = arguments[++i];
            }
        } else if (argument.compare(0, 2, "--") == 0) {
            std::fprintf(stderr, "coraxtopalm pack: unknown or incomplete option '%s'\n", argument.c_str());
            return kExitUsage;
        } else {
            paths.push_back(argument);
        }
    }
    if (paths.size() != 2) {
        std::fprintf(stderr, "usage: coraxtopalm pack [--title T] [--index FILE] TEXT PDB\n");
        return kExitUsage;
    }
    const std::string& textPath = paths[0];
    const std::string& pdbPath = paths[1];
    if (!haveTitle) title = DefaultTitle(textPath);

    // The writer takes the index as a NUL-terminated string, as the export
    // hands it over, so an index file is cut at its first NUL byte.
    std::string index;
    if (!indexPath.empty() && !ReadTextFile(indexPath, index)) {
        std::fprintf(stderr, "coraxtopalm pack: %s: cannot read the index file\n", indexPath.c_str());
        return kExitFailure;
    }
    const char* indexText = indexPath.empty() ? nullptr : index.c_str();
    if (WritePalmDoc(textPath.c_str(), pdbPath.c_str(), title.c_str(), indexText) != kWritePalmDocSucceeded) {
        std::remove(pdbPath.c_str());
        std::fprintf(stderr, "coraxtopalm pack: %s: conversion to %s failed\n", textPath.c_str(), pdbPath.c_str());
        return kExitFailure;
    }
    return 0;
}
