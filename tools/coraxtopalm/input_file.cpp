#include "input_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "temporary_files.h"
#include "tool_messages.h"

namespace {

constexpr char kStandardInputCopyPrefix[] = "coraxtopalm-stdin.";

}  // namespace

InputFile::~InputFile() { RemoveTemporaryFile(copy_); }

std::string InputFile::Shown() const { return ShownInput(argument_); }

bool InputFile::Open(std::string& error) {
    if (argument_ == "-") return CopyStandardInput(error);
    const int descriptor = open(argument_.c_str(), O_RDONLY);
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
    const int target = open(copy_.c_str(), O_WRONLY | O_TRUNC);
    if (target < 0) {
        error = CannotWrite(copy_, errno);
        return false;
    }
    const CopyResult copy = CopyAll(STDIN_FILENO, target, &size_);
    if (copy == CopyResult::kReadFailed) error = CannotRead(Shown(), errno);
    if (copy == CopyResult::kWriteFailed) error = CannotWrite(copy_, errno);
    if (close(target) != 0 && copy == CopyResult::kCopied) {
        error = CannotWrite(copy_, errno);
        return false;
    }
    return copy == CopyResult::kCopied;
}
