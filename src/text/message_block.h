// One message as a block of the export text file:
//   "Subject: %s\n" "From: %s\n" "Date: %s\n" body "--EOM--\n"
// The body is every byte after the first CR LF CR LF of the message text,
// unchanged (a text without one has an empty body). The lines added here
// end in LF alone; the body keeps its CR LF.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace text {

// What a written block's bookmark needs.
struct WrittenBlock {
    std::size_t length = 0;  // bytes
    std::string subject;     // as the Subject line shows it; empty for none
};

// Writes the block for messageText to file and, when MeDocIndex is on and
// the message has a Subject header, gathers its index entry; linesBefore is
// the number of LF bytes written to the file before the block. Returns the
// block's line count, 3 + LFs of the body + 1, which is the number of LF
// bytes written, or kWriteFailed when a write failed; written, when given,
// receives the block's length and subject. Nothing of the message is kept
// after the call but its index entry.
int WriteMessageBlock(const char* messageText, std::FILE* file, int linesBefore, WrittenBlock* written = nullptr);

constexpr int kWriteFailed = -1;

// Number of LF bytes in text, up to its NUL.
int CountLineFeeds(const char* text);

}  // namespace text
