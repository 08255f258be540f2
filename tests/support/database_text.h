// A database as a reader sees it, read from memory through the one reader.
#pragma once

#include <string>
#include <vector>

#include "palmdoc/pdb_reader.h"

// The header fields and the record list, with the text records decoded.
struct DatabaseText : palmdoc::PalmDocDatabase {
    std::vector<unsigned char> text;  // the text records, in order
};

// False with the reader's message in error.
bool ReadDatabaseText(const std::vector<unsigned char>& file, DatabaseText& read, std::string& error);
