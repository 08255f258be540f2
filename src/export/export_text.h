// The text file of one export: the messages as blocks, one after another,
// while the MeDoc index is gathered. The plug-in and the tool share it.
#pragma once

#include <cstdint>

#include "export/message_source.h"

enum class ExportText {
    Written,       // the file holds every message the source gave
    CannotCreate,  // the file could not be opened; nothing was made
    WriteFailed,   // a write, the flush or the close failed; the file is gone
    SourceFailed,  // the source could not read a message; the file is gone
};

// Writes textPath ("wb": created or emptied) from source, which counts
// messageCount messages. With MeDocIndex on, MeDocIndexBuffer holds the
// index afterwards when the result is Written; the caller releases it. On
// any other result the index is released already. The index lists the
// messages that arrived, whatever the count said, so the count is not read.
ExportText WriteExportText(const char* textPath, MessageSource& source, int32_t messageCount);
