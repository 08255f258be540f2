#include "support/file_faults.h"

#include <cerrno>

namespace {

FileFaults* active = nullptr;

}  // namespace

FileFaults::FileFaults() : saved_(platform::Files) {
    active = this;
    platform::Files = {Open, Read, Write, Seek, Tell, Flush, Close, Remove, Rename};
}

FileFaults::~FileFaults() {
    platform::Files = saved_;
    active = nullptr;
}

void FileFaults::Arm(Kind kind, int nth, int errorNumber) {
    kind_ = kind;
    nth_ = nth;
    errorNumber_ = errorNumber;
    calls_ = 0;
    fired_ = {};
    firedPath_.clear();
    firedMode_.clear();
}

bool FileFaults::Fails(Kind kind, const std::string& path, const std::string& mode) {
    if (kind_ != Kind::kNone && kind != kind_) return false;
    if (++calls_ != nth_) return false;
    firedPath_ = path;
    firedMode_ = mode;
    fired_ = {kind, firedPath_.c_str(), errorNumber_};
    errno = errorNumber_;
    return true;
}

bool FileFaults::Fails(Kind kind, std::FILE* file) {
    const auto found = open_.find(file);
    return found != open_.end() ? Fails(kind, found->second.path, found->second.mode) : Fails(kind, "", "");
}

std::FILE* FileFaults::Open(const char* path, const char* mode) {
    if (active->Fails(Kind::kOpen, path, mode)) return nullptr;
    std::FILE* file = active->saved_.open(path, mode);
    if (file != nullptr) active->open_[file] = OpenFile{path, mode};
    return file;
}

std::size_t FileFaults::Read(void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    if (!active->Fails(Kind::kRead, file)) return active->saved_.read(buffer, size, count, file);
    return active->saved_.read(buffer, size, count / 2, file);
}

std::size_t FileFaults::Write(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    if (!active->Fails(Kind::kWrite, file)) return active->saved_.write(buffer, size, count, file);
    return count == 0 ? 0 : active->saved_.write(buffer, size, count - 1, file);
}

int FileFaults::Seek(std::FILE* file, long offset, int origin) {
    return active->Fails(Kind::kSeek, file) ? -1 : active->saved_.seek(file, offset, origin);
}

long FileFaults::Tell(std::FILE* file) { return active->Fails(Kind::kTell, file) ? -1 : active->saved_.tell(file); }

int FileFaults::Flush(std::FILE* file) { return active->Fails(Kind::kFlush, file) ? EOF : active->saved_.flush(file); }

int FileFaults::Close(std::FILE* file) {
    const bool fails = active->Fails(Kind::kClose, file);
    const int errorNumber = errno;
    const int closed = active->saved_.close(file);
    active->open_.erase(file);
    if (!fails) return closed;
    errno = errorNumber;
    return EOF;
}

int FileFaults::Remove(const char* path) {
    return active->Fails(Kind::kRemove, path, "") ? -1 : active->saved_.remove(path);
}

int FileFaults::Rename(const char* from, const char* to) {
    return active->Fails(Kind::kRename, from, "") ? -1 : active->saved_.rename(from, to);
}

int SweepFileFaults(FileFaults::Kind kind, const std::function<void()>& run,
                    const std::function<void(int nth, const FileFaults& faults)>& check, int errorNumber) {
    FileFaults faults;
    int faulted = 0;
    for (int nth = 1;; ++nth) {
        faults.Arm(kind, nth, errorNumber);
        run();
        if (!faults.Fired()) return faulted;
        ++faulted;
        check(nth, faults);
    }
}
