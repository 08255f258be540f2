#include <string>

#include "tools/mailbox/mailbox.h"
#include "tools/mailbox/mailbox_format.h"

namespace {

constexpr char kQuoteMark = '>';

// ">From ", ">>From ", ...: a body line that a writer quoted so that it
// would not read as a separator.
bool IsQuotedSeparator(const std::string& bytes, std::size_t lineStart, std::size_t lineEnd) {
    std::size_t position = lineStart;
    while (position < lineEnd && bytes[position] == kQuoteMark) {
        ++position;
    }
    return position > lineStart && lineEnd - position >= kSeparatorPrefixLength &&
           HasPrefixAt(bytes, position, kSeparatorPrefix, kSeparatorPrefixLength);
}

// The host hands a message over as a NUL-terminated string: a NUL byte
// would cut off everything after it, so it goes and the rest stays.
void AppendWithoutNul(const std::string& bytes, std::size_t start, std::size_t end, std::string& text) {
    while (start < end) {
        std::size_t nul = bytes.find('\0', start);
        if (nul == std::string::npos || nul > end) nul = end;
        text.append(bytes, start, nul - start);
        start = nul + 1;
    }
}

}  // namespace

std::string MailboxMessageText(const std::string& fileBytes) {
    std::string text;
    text.reserve(fileBytes.size() + fileBytes.size() / 16);
    std::size_t lineStart = 0;
    while (lineStart < fileBytes.size()) {
        const std::size_t lineFeed = fileBytes.find('\n', lineStart);
        const std::size_t lineEnd = lineFeed == std::string::npos ? fileBytes.size() : lineFeed;
        std::size_t contentEnd = lineEnd;
        if (contentEnd > lineStart && fileBytes[contentEnd - 1] == '\r') {
            --contentEnd;
        }
        std::size_t contentStart = lineStart;
        if (IsQuotedSeparator(fileBytes, lineStart, contentEnd)) {
            ++contentStart;
        }
        AppendWithoutNul(fileBytes, contentStart, contentEnd, text);
        text += "\r\n";
        lineStart = lineEnd + 1;
    }
    return text;
}

bool Mailbox::ReadText(std::size_t index, std::string& text, std::string& error) {
    const MailboxMessage& message = messages_[index];
    const std::uint64_t size = message.end - message.start;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(message.start));
    if (size > 0) {
        file_.read(&bytes[0], static_cast<std::streamsize>(size));
    }
    if (!file_ || (size > 0 && static_cast<std::uint64_t>(file_.gcount()) != size)) {
        file_.clear();
        error = "cannot read message " + std::to_string(index + 1) + " of the mailbox " + path_;
        return false;
    }
    text = MailboxMessageText(bytes);
    return true;
}
