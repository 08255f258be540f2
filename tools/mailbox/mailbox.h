// A mail folder kept as an mbox file (mboxrd), read the way the mail host
// hands messages to the plug-in, and the write-back of read marks.
//
// File format, as read here:
// - A separator line is any line that begins with "From " (five bytes). The
//   file must begin with one; a file without any is refused. An empty file
//   is a mailbox without messages.
// - A message is made of the lines after its separator up to the next
//   separator or the end of the file, less one empty line ("" or CR alone)
//   standing directly before the next separator or the end of the file.
// - Lines end in LF or CR LF; the last line of the file may have none.
// - The header is the message's lines up to its first empty line. A
//   "Status:" header line holding the letter R marks the message read.
//
// A message's text, as handed over (Mailbox::ReadText):
// - every line ends in exactly one CR LF (a CR before the LF is not doubled,
//   and the last line gets one when the file ends without a line end);
// - a line of one or more '>' followed by "From " loses one '>';
// - NUL bytes are dropped, since the text is handed over NUL-terminated.
//
// Opening builds only a compact index (offsets and flags per message); each
// text is read from the file on demand, so that memory stays flat for
// folders of many thousand messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// Puts the file at from in the place of the file at to in one step; false
// with the system's reason otherwise. Paths are the bytes the C library
// takes: on Windows, the ANSI code page's (932 for Japanese users).
using FileReplacer = bool (*)(const std::string& from, const std::string& to, std::string& reason);

// std::rename, which replaces in one step where POSIX holds. The C
// library of Windows refuses to rename over an existing file: the
// simulator passes MoveFileEx instead.
bool RenameOver(const std::string& from, const std::string& to, std::string& reason);

enum class MailboxLineEnd : std::uint8_t { kLineFeed, kCarriageReturnLineFeed, kNone };

// Byte offsets into the file.
struct MailboxMessage {
    std::uint64_t start;      // first byte after the separator line
    std::uint64_t end;        // one past the message's last byte
    // Where a new header line goes: the start of the empty line that closes
    // the header, or end when the message has no empty line.
    std::uint64_t headerEnd;
    // End of the first Status line's text (before its line end), or
    // kNoStatusLine.
    std::uint64_t statusEnd;
    // How the line before headerEnd ends: a line inserted there copies it.
    MailboxLineEnd lineEndBeforeHeaderEnd;
    bool read;
};

constexpr std::uint64_t kNoStatusLine = UINT64_MAX;

class Mailbox {
public:
    // Indexes the mbox file at path and keeps it open for ReadText. False,
    // with a message naming the file in error, when it cannot be read or is
    // not an mbox file; the mailbox is then empty.
    bool Open(const std::string& path, std::string& error);
    void Close();

    std::size_t Count() const { return messages_.size(); }
    const MailboxMessage& Message(std::size_t index) const { return messages_[index]; }
    bool IsRead(std::size_t index) const { return messages_[index].read; }

    // The text of message index (below Count()) as described above. False
    // with a message in error when the file can no longer be read.
    bool ReadText(std::size_t index, std::string& text, std::string& error);

    // Rewrites the file so that every message whose flag in read is true has
    // a Status header holding R: an existing Status line gets an R at its
    // end, otherwise "Status: RO" is added as the header's last line. All
    // other bytes stay as they were. The new file is written beside the old
    // one and put in its place by replace; on failure the old file is left
    // untouched, the new one removed, and error says why. read must hold one
    // flag per message. The mailbox is indexed anew afterwards.
    bool WriteReadFlags(const std::vector<bool>& read, std::string& error, FileReplacer replace = RenameOver);

private:
    std::string path_;
    std::ifstream file_;
    std::vector<MailboxMessage> messages_;
};

// The message text of the file bytes of one message (the bytes between
// MailboxMessage::start and end), as ReadText hands it over.
std::string MailboxMessageText(const std::string& fileBytes);
