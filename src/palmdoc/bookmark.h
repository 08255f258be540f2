// A standard Palm DOC bookmark: a name that nearly every Doc reader lists,
// and the place in the text that choosing it shows.
#pragma once

#include <cstdint>
#include <vector>

#include "palmdoc/pdb_format.h"

namespace palmdoc {

struct Bookmark {
    // NUL-terminated and NUL-padded, as its record holds it.
    char name[pdb::kBookmarkNameSize];
    // Where the place begins in the text file, before the control filter;
    // the writer makes it the offset in the text that the handheld shows.
    uint64_t filePosition;
};

using Bookmarks = std::vector<Bookmark>;

// A bookmark at filePosition named with name as the handheld shows it:
// without control bytes, at most 15 bytes, never half a double-byte
// character.
Bookmark MakeBookmark(const char* name, uint64_t filePosition);

}  // namespace palmdoc
