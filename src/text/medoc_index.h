// The MeDoc index of one export run: a head line with the run's message
// count, then one entry per message with a Subject header, giving the line
// at which the message starts in the finished document and the first 30
// bytes of its subject. The PalmDOC writer puts the text at the head of the
// document.
#pragma once

#include <cstddef>

struct MeDocIndexStorage {
    char* text;    // null while absent
    int capacity;  // bytes of storage
    // Bytes still free by the buffer's own count: every appended line is
    // charged its length plus one, so a line shorter than free fits with
    // its NUL.
    int free;
    int length;    // bytes of text stored, so that appending need not rescan
    // Storage was refused during this run: the run's document has no index.
    bool dropped;
};

// Absent between runs. Read text directly; release it with ReleaseMeDocIndex.
extern MeDocIndexStorage MeDocIndexBuffer;

constexpr int kMeDocIndexGrowth = 1024;
constexpr std::size_t kMeDocTitleLimit = 30;

// Appends the head line "#!Medoc index N".
void StartMeDocIndex(int messageCount);

// Appends the entry of a message starting at lineNumber, titled with the
// first 30 bytes of subject (padded with spaces to exactly 30).
void AppendMeDocEntry(int lineNumber, const char* subject);

// Appends one line. When storage cannot be obtained or grown, the index of
// this run is dropped: the text is released and nothing more is appended
// until ReleaseMeDocIndex.
void AppendMeDocText(const char* line);

// Ends the run's index: frees the text and leaves the buffer absent.
void ReleaseMeDocIndex();
