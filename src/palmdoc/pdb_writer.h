// Writes a Palm DOC database from the export's text file.
#pragma once

#include "palmdoc/pdb_file_ops.h"

class BatchCompressor;

constexpr int kWritePalmDocSucceeded = 0;
constexpr int kWritePalmDocFailed = 1;

// Writes pdbPath as a PalmDOC database titled title (at most its first 31
// bytes, never half a double-byte character) whose
// text is indexText (may be null: none) followed by the bytes of textPath,
// each record of 4096 bytes cleaned of control bytes and compressed. Returns 0
// when the database was written whole, 1 otherwise; on failure pdbPath may be
// left half-written for the caller to delete.
int WritePalmDoc(const char* textPath, const char* pdbPath, const char* title, const char* indexText);

// WritePalmDoc with the file operations given, and the records compressed by
// compressor (null: one after another on the calling thread). The bytes
// written are the same whatever compresses them.
int WritePalmDocUsing(const PdbFileOps& ops, const char* textPath, const char* pdbPath, const char* title,
                      const char* indexText, BatchCompressor* compressor = nullptr);
