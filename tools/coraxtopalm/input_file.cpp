#include "input_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "temporary_files.h"
#include "tool_messages.h"

namespace {

constexpr std::size_t kCopyChunkSize = 1 << 16;
constexpr char kStandardInputCopyPrefix[] = "coraxtopalm-stdin.";

}  // namespace

InputFile::~InputFile() { RemoveTemporaryFile(copy_); }

std::string InputFile::Shown() const { return ShownInput(argument_); }

bool InputFile::Open(std::string& error) {
    if (argument_ == "-") return CopyStandardInput(error);
    path_ = argument_;
    const int descriptor = open(path_.c_str(), O_RDONLY);
    struct stat status;
    if (descriptor < 0 || fstat(descriptor, &status) != 0) {
        error = CannotRead(Shown(), errno);
        if (descriptor >= 0) close(descriptor);
        return false;
    }
    close(descriptor);
    if (S_ISDIR(status.st_mode)) {
        error = CannotRead(Shown(), EISDIR);
        return false;
    }
    identity_ = IdentityOf(status);
    size_ = static_cast<std::uint64_t>(status.st_size);
    return true;
}

bool InputFile::CopyStandardInput(std::string& error) {
    struct stat status;
    if (fstat(STDIN_FILENO, &status) == 0 && S_ISREG(status.st_mode)) identity_ = IdentityOf(status);
    if (!CreateTemporaryFile(SystemTemporaryFolder(), kStandardInputCopyPrefix, copy_)) {
        error = CannotWrite("a copy of the standard input in " + SystemTemporaryFolder(), errno);
        return false;
    }
    path_ = copy_;
    const int target = open(copy_.c_str(), O_WRONLY | O_TRUNC);
    if (target < 0) {
        error = CannotWrite(copy_, errno);
        return false;
    }
    char chunk[kCopyChunkSize];
    bool copied = true;
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = CannotRead(Shown(), errno);
            copied = false;
            break;
        }
        if (got == 0) break;
        if (!WriteAll(target, chunk, static_cast<std::size_t>(got))) {
            error = CannotWrite(copy_, errno);
            copied = false;
            break;
        }
        size_ += static_cast<std::uint64_t>(got);
    }
    if (close(target) != 0 && copied) {
        error = CannotWrite(copy_, errno);
        copied = false;
    }
    return copied;
}
