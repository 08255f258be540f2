// The MeDoc index of one export run: a head line with the number of entries
// that follow, then one entry per written message with a Subject header,
// giving the line of the message's Subject line in the finished document
// (the first line is 0) and at most 30 bytes of its subject. The PalmDOC
// writer puts the text at the head of the document, so the index's own
// lines come before every message: the entries are gathered during the run
// with their place in the text file and numbered once the run is over and
// their count is known.
#pragma once

#include <cstddef>

namespace text {

constexpr std::size_t kMeDocTitleLimit = 30;

// What the index keeps of one message until the run ends.
struct MeDocEntry {
    int linesBefore;                   // LF bytes of the text file before the message's block
    char title[kMeDocTitleLimit + 1];  // cut on a character boundary
};

struct MeDocIndexStorage {
    char* text;           // the finished index; null while absent
    MeDocEntry* entries;  // gathered during the run; null when none
    int entryCount;
    int entryCapacity;
    // Storage was refused during this run: the run's document has no index.
    bool dropped;
};

// Absent between runs. Read text directly after FinishMeDocIndex; release
// everything with ReleaseMeDocIndex.
extern MeDocIndexStorage MeDocIndexBuffer;

// Gathers the entry of a message whose block follows linesBefore LF bytes
// of the text file, titled with the first 30 bytes of subject.
void AddMeDocEntry(int linesBefore, const char* subject);

// Makes text from the gathered entries: "#!Medoc index M" and M entries
// "number:title" (title padded with spaces to exactly 30 bytes), each
// numbered M + 1 + its linesBefore. When storage cannot be obtained, the
// index of this run is dropped: text stays null and nothing more is
// gathered until ReleaseMeDocIndex.
void FinishMeDocIndex();

// Ends the run's index: frees text and entries and leaves the buffer absent.
void ReleaseMeDocIndex();

}  // namespace text
