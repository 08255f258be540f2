#include "palmdoc/bookmark.h"

#include <cstring>
#include <string>

#include "palmdoc/control_filter.h"
#include "platform/cp932.h"

namespace palmdoc {

Bookmark MakeBookmark(const char* name, uint64_t filePosition) {
    // A trail byte is never a control byte: dropping them splits no character.
    std::string shown;
    for (const char* c = name; *c != '\0' && shown.size() <= pdb::kMaxBookmarkNameLength; ++c) {
        if (static_cast<unsigned char>(*c) >= kFirstPrintable) shown += *c;
    }
    Bookmark bookmark = {};
    std::memcpy(bookmark.name, shown.c_str(), platform::cp932::FittingLength(shown.c_str(), pdb::kMaxBookmarkNameLength));
    bookmark.filePosition = filePosition;
    return bookmark;
}

}  // namespace palmdoc
