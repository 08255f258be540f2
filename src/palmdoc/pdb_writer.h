// Writes a Palm DOC database from the export's text file.
#pragma once

#include <cstdint>

#include "palmdoc/bookmark.h"
#include "platform/file_failure.h"

namespace palmdoc {

constexpr int kWritePalmDocSucceeded = 0;
constexpr int kWritePalmDocFailed = 1;

enum class WriteCause {
    kNone,
    kFile,          // a file operation failed: WriteFailure::file
    kTextChanged,   // the text file ended before its measured size (file names the read)
    kTooLong,       // WriteFailure::textLength bytes need more than 65534 records
    kEmptyRecord,   // WriteFailure::record holds nothing but control bytes
    kCompression,   // the compressor reported a consistency break in WriteFailure::record
};

struct WriteFailure {
    WriteCause cause = WriteCause::kNone;
    platform::FileFailure file;
    // The text record concerned, counted from 1 over the index and the file.
    uint32_t record = 0;
    uint64_t textLength = 0;
};

// Called after every text record with the bytes of the text (index and file)
// taken so far and in all.
using WriteProgress = void (*)(uint64_t textDone, uint64_t textLength);

// Writes pdbPath as a PalmDOC database titled title (at most its first 31
// bytes, never half a double-byte character) whose text is indexText (may be
// null: none) followed by the bytes of textPath, each record of 4096 bytes
// cleaned of control bytes and compressed, through platform::Files. The
// bookmarks, in the order of their places, get a record each after the text
// records, as many as the 65535 records leave room for; those at or past the
// end of the text file are left out. Returns 0 when the database was written
// whole, 1 otherwise; on failure pdbPath may be left half-written for the
// caller to delete, and failure (when given) says what went wrong first.
int WritePalmDoc(const char* textPath, const char* pdbPath, const char* title, const char* indexText,
                 const Bookmarks& bookmarks = {}, WriteFailure* failure = nullptr, WriteProgress progress = nullptr);

}  // namespace palmdoc
