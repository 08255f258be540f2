// What the fuzz targets share: libFuzzer's entry point and a scratch file
// for the readers that take a path.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// A file of this process, made once and removed at exit, that holds the
// input of the current run.
inline const std::string& ScratchFile() {
    static std::string path;
    if (path.empty()) {
        const char* folder = std::getenv("TMPDIR");
        std::string pattern = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/ctp_fuzz_XXXXXX";
        const int descriptor = mkstemp(&pattern[0]);
        if (descriptor < 0) std::abort();
        close(descriptor);
        path = pattern;
        std::atexit([] { unlink(path.c_str()); });
    }
    return path;
}

inline const std::string& WriteScratchFile(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(ScratchFile().c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) std::abort();
    return ScratchFile();
}

// A broken promise of the code under test: libFuzzer and the replay driver
// both report an abort with the input that caused it.
inline void Require(bool holds) {
    if (!holds) std::abort();
}
