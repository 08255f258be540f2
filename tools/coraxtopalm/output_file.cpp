#include "output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "temporary_files.h"
#include "tool_messages.h"

namespace {

constexpr mode_t kPermissionBits = 07777;
constexpr char kStandardOutput[] = "-";
constexpr char kStreamedPrefix[] = "coraxtopalm-out.";

// A symbolic link keeps pointing where it did: the file it leads to is
// replaced, not the link.
std::string ResolvedPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path : resolved.string();
}

}  // namespace

OutputFile::~OutputFile() { RemoveTemporaryFile(temporary_); }

std::string OutputFile::Shown() const { return ShownOutput(argument_); }

bool OutputFile::Check(const std::vector<const InputFile*>& inputs, std::string& error) {
    struct stat status;
    if (argument_ == kStandardOutput) {
        streamed_ = true;
        if (fstat(STDOUT_FILENO, &status) == 0 && S_ISREG(status.st_mode)) identity_ = IdentityOf(status);
    } else {
        destination_ = ResolvedPath(argument_);
        if (stat(destination_.c_str(), &status) == 0) {
            if (S_ISDIR(status.st_mode)) {
                error = CannotWrite(Shown(), EISDIR);
                return false;
            }
            identity_ = IdentityOf(status);
            streamed_ = !S_ISREG(status.st_mode);
            mode_ = status.st_mode & kPermissionBits;
        }
    }
    for (const InputFile* input : inputs) {
        if (SameFile(identity_, input->Identity())) {
            error = "refusing to write " + Shown() + ": it is the input " + input->Shown();
            return false;
        }
    }
    return true;
}

bool OutputFile::IsDistinctFrom(const OutputFile& other) const {
    const bool bothStandard = argument_ == kStandardOutput && other.argument_ == kStandardOutput;
    const bool sameName = !destination_.empty() && destination_ == other.destination_;
    return !bothStandard && !sameName && !SameFile(identity_, other.identity_);
}

std::string OutputFile::SiblingFolder() const { return std::filesystem::path(temporary_).parent_path(); }

bool OutputFile::Create(std::string& error) {
    const std::filesystem::path destination(destination_);
    const bool made = streamed_ ? CreateTemporaryFile(SystemTemporaryFolder(), kStreamedPrefix, temporary_)
                                : CreateTemporaryFile(destination.parent_path(),
                                                      "." + destination.filename().string() + ".", temporary_);
    if (!made) {
        error = CannotWrite(Shown(), errno);
        return false;
    }
    if (!streamed_ && identity_.known && chmod(temporary_.c_str(), mode_) != 0) {
        error = CannotWrite(Shown(), errno);
        return false;
    }
    return true;
}

bool OutputFile::Commit(std::string& error) {
    if (streamed_) {
        const bool copied = CopyInto(error);
        RemoveTemporaryFile(temporary_);
        temporary_.clear();
        return copied;
    }
    if (std::rename(temporary_.c_str(), destination_.c_str()) != 0) {
        error = CannotWrite(Shown(), errno);
        return false;
    }
    ForgetTemporaryFile(temporary_);
    temporary_.clear();
    return true;
}

bool OutputFile::CopyInto(std::string& error) {
    const int source = open(temporary_.c_str(), O_RDONLY);
    if (source < 0) {
        error = CannotRead(temporary_, errno);
        return false;
    }
    // The standard output goes through its stream, after what was printed.
    const bool standard = argument_ == kStandardOutput;
    if (standard) std::fflush(stdout);
    const int target = standard ? STDOUT_FILENO : open(destination_.c_str(), O_WRONLY | O_NOCTTY);
    CopyResult copy = target >= 0 ? CopyAll(source, target) : CopyResult::kWriteFailed;
    int reason = errno;
    close(source);
    if (target >= 0 && !standard && close(target) != 0 && copy == CopyResult::kCopied) {
        copy = CopyResult::kWriteFailed;
        reason = errno;
    }
    if (copy == CopyResult::kReadFailed) error = CannotRead(temporary_, reason);
    if (copy == CopyResult::kWriteFailed) error = CannotWrite(Shown(), reason);
    return copy == CopyResult::kCopied;
}
