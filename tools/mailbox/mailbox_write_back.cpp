#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/mailbox/mailbox.h"
#include "tools/mailbox/mailbox_format.h"

namespace {

constexpr std::size_t kCopyChunkSize = 64 * 1024;
constexpr char kTemporarySuffix[] = ".new";
constexpr std::uint64_t kEndOfFile = UINT64_MAX;

const char* LineEndText(MailboxLineEnd lineEnd) {
    return lineEnd == MailboxLineEnd::kCarriageReturnLineFeed ? "\r\n" : "\n";
}

// Copies the bytes [from, to) of source, or up to its end when to is
// kEndOfFile.
bool CopyRange(std::ifstream& source, std::ofstream& target, std::uint64_t from, std::uint64_t to) {
    source.clear();
    source.seekg(static_cast<std::streamoff>(from));
    if (!source) {
        return false;
    }
    std::vector<char> chunk(kCopyChunkSize);
    std::uint64_t remaining = to - from;
    while (remaining > 0) {
        const std::size_t wanted = remaining < kCopyChunkSize ? static_cast<std::size_t>(remaining) : kCopyChunkSize;
        source.read(chunk.data(), static_cast<std::streamsize>(wanted));
        const std::streamsize got = source.gcount();
        if (got <= 0) {
            break;
        }
        target.write(chunk.data(), got);
        remaining -= static_cast<std::uint64_t>(got);
    }
    if (source.bad()) {
        return false;
    }
    // Short only when copying to the end of the file.
    return to == kEndOfFile || remaining == 0;
}

void WriteReadMark(std::ofstream& target, const MailboxMessage& message) {
    if (message.statusEnd != kNoStatusLine) {
        target.put(kReadStatusLetter);
    } else if (message.lineEndBeforeHeaderEnd == MailboxLineEnd::kNone) {
        // The header's last line ends the file without a line end.
        target << '\n' << kReadStatusLine;
    } else {
        target << kReadStatusLine << LineEndText(message.lineEndBeforeHeaderEnd);
    }
}

}  // namespace

bool RenameOver(const std::string& from, const std::string& to, std::string& reason) {
    errno = 0;
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    reason = std::strerror(errno);
    return false;
}

// Paths go to the C library as they are: std::filesystem would read them
// as UTF-8 on Windows and fail on code page 932 names.
bool Mailbox::WriteReadFlags(const std::vector<bool>& read, std::string& error, FileReplacer replace) {
    if (read.size() != messages_.size()) {
        error = "read flags for " + std::to_string(read.size()) + " messages given, the mailbox " + path_ +
                " holds " + std::to_string(messages_.size());
        return false;
    }
    const std::string temporaryPath = path_ + kTemporarySuffix;
    std::ofstream target(temporaryPath, std::ios::binary | std::ios::trunc);
    if (!target) {
        error = "cannot write " + temporaryPath;
        return false;
    }
    bool copied = true;
    std::uint64_t position = 0;
    for (std::size_t index = 0; index < messages_.size() && copied; ++index) {
        const MailboxMessage& message = messages_[index];
        if (!read[index] || message.read) {
            continue;
        }
        const std::uint64_t markAt = message.statusEnd != kNoStatusLine ? message.statusEnd : message.headerEnd;
        copied = CopyRange(file_, target, position, markAt);
        WriteReadMark(target, message);
        position = markAt;
    }
    copied = copied && CopyRange(file_, target, position, kEndOfFile);
    target.close();
    if (!copied || target.fail()) {
        std::remove(temporaryPath.c_str());
        error = "cannot write the read marks of the mailbox " + path_;
        return false;
    }
    // Windows refuses to replace a file that is still open.
    file_.close();
    std::string reason;
    if (!replace(temporaryPath, path_, reason)) {
        std::remove(temporaryPath.c_str());
        std::string reopenError;
        Open(path_, reopenError);
        error = "cannot replace the mailbox " + path_ + ": " + reason;
        return false;
    }
    return Open(path_, error);
}
