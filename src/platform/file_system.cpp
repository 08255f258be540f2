#include "platform/file_system.h"

namespace platform {
namespace {

std::FILE* Open(const char* path, const char* mode) { return std::fopen(path, mode); }
std::size_t Read(void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    return std::fread(buffer, size, count, file);
}
std::size_t Write(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    return std::fwrite(buffer, size, count, file);
}
int Seek(std::FILE* file, long offset, int origin) { return std::fseek(file, offset, origin); }
long Tell(std::FILE* file) { return std::ftell(file); }
int Flush(std::FILE* file) { return std::fflush(file); }
int Close(std::FILE* file) { return std::fclose(file); }
int Remove(const char* path) { return std::remove(path); }
int Rename(const char* from, const char* to) { return std::rename(from, to); }

}  // namespace

constexpr FileSystem StandardFiles = {Open, Read, Write, Seek, Tell, Flush, Close, Remove, Rename};
FileSystem Files = StandardFiles;

}  // namespace platform
