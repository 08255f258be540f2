// Reading a .pdb file for the unpack and info commands.
#pragma once

#include <string>

#include "palmdoc/pdb_reader.h"

// Reads the whole file at path and checks it as a Palm DOC database. On
// failure, error says what was wrong, starting with the path.
bool LoadPalmDoc(const std::string& path, PalmDocDatabase& database, std::string& error);
