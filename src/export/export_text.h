// The text file of one export: the messages as blocks, one after another,
// while the MeDoc index is gathered. The plug-in and the tool share it.
#pragma once

#include "export/message_source.h"
#include "palmdoc/bookmark.h"
#include "platform/file_failure.h"

namespace exporter {

enum class ExportText {
    Written,       // the file holds every message the source gave
    CannotCreate,  // the file could not be opened; nothing was made
    WriteFailed,   // a write, the flush or the close failed; the file is gone
    SourceFailed,  // the source could not read a message; the file is gone
};

// Writes textPath ("wb": created or emptied) from source. With MeDocIndex
// on, MeDocIndexBuffer holds the index afterwards when the result is
// Written; the caller releases it. On any other result the index is
// released already. The index lists the messages that arrived, whatever the
// host counted beforehand. With Bookmarks on, bookmarks (when given)
// receives the bookmark of each message written, at its block, named with
// its subject or "(件名なし)". failure (when given) names the open, write,
// flush or close of textPath that failed first.
ExportText WriteExportText(const char* textPath, MessageSource& source, palmdoc::Bookmarks* bookmarks = nullptr,
                           platform::FileFailure* failure = nullptr);

}  // namespace exporter
