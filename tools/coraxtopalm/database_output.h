// The plug-in's database writer run for a command, saying exactly why when
// it cannot write: a text too large for a Palm DOC, a file that cannot be
// read or written (with the system's reason), a text that changed while it
// was read, a record that the control-byte filter leaves empty.
#pragma once

#include <cstdint>
#include <string>

#include "palmdoc/pdb_writer.h"

struct DatabaseJob {
    std::string textPath;   // the text file the writer reads
    std::string textShown;  // how messages name the text
    std::string index;      // put before the text; may be empty
    palmdoc::Bookmarks bookmarks;  // after the text records; may be none
    std::string title;      // code page 932, fits the name field
    std::string pdbPath;    // the file the writer fills
    std::string pdbShown;   // how messages name the database
};

// The one message for what the writer reported.
std::string WriteFailureMessage(const DatabaseJob& job, const palmdoc::WriteFailure& failure);

// Writes job.pdbPath; false with one message in error.
bool WriteDatabaseFile(const DatabaseJob& job, std::string& error);
