#include "temporary_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

// A run holds at most a few at once: output, text, index, standard input.
constexpr std::size_t kMaxTemporaryFiles = 8;
constexpr std::size_t kMaxPathBytes = 4096;
constexpr std::size_t kCopyChunkSize = 1 << 16;
constexpr char kUniqueSuffix[] = "XXXXXX";
constexpr mode_t kNewFileMode = 0666;
// A closed pipe on standard output stops the tool as well.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Plain arrays: the signal handler may only read memory and unlink.
char registered[kMaxTemporaryFiles][kMaxPathBytes];
volatile sig_atomic_t inUse[kMaxTemporaryFiles];

void RemoveAllAndStop(int signalNumber) {
    for (std::size_t slot = 0; slot < kMaxTemporaryFiles; ++slot) {
        if (inUse[slot]) unlink(registered[slot]);
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

void InstallHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (int signalNumber : kStopSignals) {
        struct sigaction action = {};
        action.sa_handler = RemoveAllAndStop;
        sigemptyset(&action.sa_mask);
        sigaction(signalNumber, &action, nullptr);
    }
}

bool Register(const std::string& path) {
    if (path.size() >= kMaxPathBytes) return false;
    for (std::size_t slot = 0; slot < kMaxTemporaryFiles; ++slot) {
        if (inUse[slot]) continue;
        std::memcpy(registered[slot], path.c_str(), path.size() + 1);
        inUse[slot] = 1;
        return true;
    }
    return false;
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return kNewFileMode & ~mask;
}

}  // namespace

bool CreateTemporaryFile(const std::string& folder, const std::string& prefix, std::string& path) {
    InstallHandlers();
    std::string name = (folder.empty() ? std::string(".") : folder) + "/" + prefix + kUniqueSuffix;
    // Signals wait until the name is registered, so no file escapes.
    sigset_t stop;
    sigset_t previous;
    sigemptyset(&stop);
    for (int signalNumber : kStopSignals) sigaddset(&stop, signalNumber);
    sigprocmask(SIG_BLOCK, &stop, &previous);
    const int descriptor = mkstemp(name.data());
    bool made = descriptor >= 0;
    int error = errno;
    if (made) {
        path = name;
        errno = ENAMETOOLONG;  // what a full registry means: no room for the name
        made = Register(path) && fchmod(descriptor, NewFileMode()) == 0;
        error = made ? 0 : errno;
        close(descriptor);
        if (!made) RemoveTemporaryFile(path);
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return made;
}

CopyResult CopyAll(int source, int target, std::uint64_t* bytes) {
    char chunk[kCopyChunkSize];
    for (;;) {
        const ssize_t got = read(source, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return CopyResult::kReadFailed;
        if (got == 0) return CopyResult::kCopied;
        for (const char* at = chunk; at < chunk + got;) {
            const ssize_t written = write(target, at, static_cast<std::size_t>(chunk + got - at));
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return CopyResult::kWriteFailed;
            at += written;
        }
        if (bytes != nullptr) *bytes += static_cast<std::uint64_t>(got);
    }
}

std::string SystemTemporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

void RemoveTemporaryFile(const std::string& path) {
    if (path.empty()) return;
    unlink(path.c_str());
    ForgetTemporaryFile(path);
}

void ForgetTemporaryFile(const std::string& path) {
    for (std::size_t slot = 0; slot < kMaxTemporaryFiles; ++slot) {
        if (inUse[slot] && path == registered[slot]) inUse[slot] = 0;
    }
}
