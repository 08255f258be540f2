#include <string>
#include <vector>

#include "tools/mailbox/mailbox.h"
#include "tools/mailbox/mailbox_format.h"

namespace {

struct ScannedLine {
    std::string bytes;  // without its LF, with the CR of a CR LF
    std::uint64_t offset;
    std::uint64_t size;  // with its line end
    MailboxLineEnd lineEnd;
};

bool IsEmptyLine(const ScannedLine& line) { return line.bytes.empty() || line.bytes == "\r"; }

std::uint64_t TextEnd(const ScannedLine& line) {
    std::uint64_t end = line.offset + line.bytes.size();
    return line.lineEnd == MailboxLineEnd::kCarriageReturnLineFeed ? end - 1 : end;
}

// Follows the lines of the file and fills the index message by message.
class Indexer {
public:
    explicit Indexer(std::vector<MailboxMessage>& messages) : messages_(messages) {}

    // False when a line stands before the first separator.
    bool Take(const ScannedLine& line) {
        if (HasPrefixAt(line.bytes, 0, kSeparatorPrefix, kSeparatorPrefixLength)) {
            FinishMessage(line.offset);
            messages_.push_back(MailboxMessage{line.offset + line.size, 0, 0, kNoStatusLine,
                                               MailboxLineEnd::kNone, false});
            inHeader_ = true;
        } else if (messages_.empty()) {
            return false;
        } else if (inHeader_) {
            TakeHeaderLine(line);
        }
        previousWasEmpty_ = IsEmptyLine(line);
        previousOffset_ = line.offset;
        previousLineEnd_ = line.lineEnd;
        return true;
    }

    void FinishMessage(std::uint64_t nextOffset) {
        if (messages_.empty()) {
            return;
        }
        MailboxMessage& message = messages_.back();
        // The one empty line before the next separator belongs to neither.
        message.end = previousWasEmpty_ ? previousOffset_ : nextOffset;
        if (inHeader_) {
            message.headerEnd = message.end;
            message.lineEndBeforeHeaderEnd = previousLineEnd_;
        }
    }

private:
    void TakeHeaderLine(const ScannedLine& line) {
        MailboxMessage& message = messages_.back();
        if (IsEmptyLine(line)) {
            message.headerEnd = line.offset;
            message.lineEndBeforeHeaderEnd = previousLineEnd_;
            inHeader_ = false;
            return;
        }
        if (!HasPrefixAt(line.bytes, 0, kStatusName, kStatusNameLength)) {
            return;
        }
        if (line.bytes.find(kReadStatusLetter, kStatusNameLength) != std::string::npos) {
            message.read = true;
        }
        if (message.statusEnd == kNoStatusLine) {
            message.statusEnd = TextEnd(line);
        }
    }

    std::vector<MailboxMessage>& messages_;
    bool inHeader_ = false;
    bool previousWasEmpty_ = false;
    std::uint64_t previousOffset_ = 0;
    MailboxLineEnd previousLineEnd_ = MailboxLineEnd::kNone;
};

}  // namespace

bool Mailbox::Open(const std::string& path, std::string& error) {
    Close();
    path_ = path;
    file_.open(path, std::ios::binary);
    if (!file_) {
        error = "cannot open the mailbox " + path;
        return false;
    }
    Indexer indexer(messages_);
    ScannedLine line;
    line.offset = 0;
    while (std::getline(file_, line.bytes)) {
        const bool hasLineFeed = !file_.eof();
        line.size = line.bytes.size() + (hasLineFeed ? 1 : 0);
        if (!hasLineFeed) {
            line.lineEnd = MailboxLineEnd::kNone;
        } else if (!line.bytes.empty() && line.bytes.back() == '\r') {
            line.lineEnd = MailboxLineEnd::kCarriageReturnLineFeed;
        } else {
            line.lineEnd = MailboxLineEnd::kLineFeed;
        }
        if (!indexer.Take(line)) {
            Close();
            error = "the mailbox " + path + " is not an mbox file: it does not begin with a \"From \" separator line";
            return false;
        }
        line.offset += line.size;
    }
    if (file_.bad()) {
        Close();
        error = "cannot read the mailbox " + path;
        return false;
    }
    indexer.FinishMessage(line.offset);
    file_.clear();
    return true;
}

void Mailbox::Close() {
    if (file_.is_open()) {
        file_.close();
    }
    file_.clear();
    messages_.clear();
}
