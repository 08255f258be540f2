// The plug-in's database writer run for a command, saying exactly why when
// it cannot write: a text too large for a Palm DOC, a file that cannot be
// read or written (with the system's reason), a text that changed while it
// was read, a record that the control-byte filter leaves empty.
#pragma once

#include <cstdint>
#include <string>

struct DatabaseJob {
    std::string textPath;   // the text file the writer reads
    std::string textShown;  // how messages name the text
    std::uint64_t textSize = 0;
    std::string index;      // put before the text; may be empty
    bool hasIndex = false;
    std::string title;      // code page 932, fits the name field
    std::string pdbPath;    // the file the writer fills
    std::string pdbShown;   // how messages name the database
};

// The text records of a document of textLength bytes.
std::uint32_t TextRecordCount(std::uint64_t textLength);

// False, with the reason in error, when textLength bytes do not fit a
// Palm DOC's 65534 records of 4096 bytes.
bool FitsPalmDoc(std::uint64_t textLength, const std::string& shownText, std::string& error);

// Writes job.pdbPath; false with one message in error.
bool WriteDatabaseFile(const DatabaseJob& job, std::string& error);
