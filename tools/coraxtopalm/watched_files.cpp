#include "watched_files.h"

#include <cerrno>
#include <cstring>

namespace {

// The table is plain functions, so they find the watcher here.
WatchedFiles* active = nullptr;

bool ModeWrites(const char* mode) { return std::strpbrk(mode, "wa+") != nullptr; }

}  // namespace

WatchedFiles::WatchedFiles() : saved_(platform::Files) {
    active = this;
    platform::Files = {Open, Read, Write, Seek, Tell, Flush, Close, Remove, Rename};
}

WatchedFiles::~WatchedFiles() {
    platform::Files = saved_;
    active = nullptr;
}

void WatchedFiles::Fail(std::FILE* file, bool writing, int errorNumber) {
    const auto found = files_.find(file);
    FailOnPath(found != files_.end() ? found->second.path : std::string(), writing, errorNumber);
}

void WatchedFiles::FailOnPath(const std::string& path, bool writing, int errorNumber) {
    if (failure_.happened || failure_.shortRead) return;
    failure_.happened = true;
    failure_.writing = writing;
    failure_.path = path;
    failure_.errorNumber = errorNumber != 0 ? errorNumber : EIO;
}

std::FILE* WatchedFiles::Open(const char* path, const char* mode) {
    errno = 0;
    std::FILE* file = active->saved_.open(path, mode);
    if (file == nullptr) {
        active->FailOnPath(path, ModeWrites(mode), errno);
    } else {
        active->files_[file] = OpenFile{path, ModeWrites(mode)};
    }
    return file;
}

std::size_t WatchedFiles::Read(void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    errno = 0;
    const std::size_t got = active->saved_.read(buffer, size, count, file);
    if (got != count) {
        if (std::ferror(file)) {
            active->Fail(file, false, errno);
        } else if (!active->failure_.happened) {
            active->failure_.shortRead = true;
            active->failure_.path = active->files_[file].path;
        }
    }
    active->bytesRead_ += got * size;
    if (active->onRead_) active->onRead_(active->bytesRead_);
    return got;
}

std::size_t WatchedFiles::Write(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    errno = 0;
    const std::size_t written = active->saved_.write(buffer, size, count, file);
    if (written != count) active->Fail(file, true, errno);
    return written;
}

int WatchedFiles::Seek(std::FILE* file, long offset, int origin) {
    errno = 0;
    const int result = active->saved_.seek(file, offset, origin);
    if (result != 0) active->Fail(file, active->files_[file].writing, errno);
    return result;
}

long WatchedFiles::Tell(std::FILE* file) {
    errno = 0;
    const long result = active->saved_.tell(file);
    if (result < 0) active->Fail(file, active->files_[file].writing, errno);
    return result;
}

int WatchedFiles::Flush(std::FILE* file) {
    errno = 0;
    const int result = active->saved_.flush(file);
    if (result != 0) active->Fail(file, true, errno);
    return result;
}

int WatchedFiles::Close(std::FILE* file) {
    errno = 0;
    const bool writing = active->files_[file].writing;
    const int result = active->saved_.close(file);
    if (result != 0) active->Fail(file, writing, errno);
    active->files_.erase(file);
    return result;
}

int WatchedFiles::Remove(const char* path) { return active->saved_.remove(path); }

int WatchedFiles::Rename(const char* from, const char* to) {
    errno = 0;
    const int result = active->saved_.rename(from, to);
    if (result != 0) active->FailOnPath(to, true, errno);
    return result;
}
