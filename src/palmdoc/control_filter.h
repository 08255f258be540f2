// Palm readers break lines on one terminator byte and show other control
// bytes as garbage, so every record is cleaned before it is compressed.
#pragma once

#include <cstdint>

#include "palmdoc/text_buffer.h"

namespace palmdoc {

// Bytes below this are control bytes: the filter keeps none of them but the
// record's line terminator.
constexpr unsigned char kFirstPrintable = 0x20;

// Decides record.lineEnd when it is still 0 (from the first CR or LF of the
// record), then drops every byte below 0x20 other than that terminator.
// Returns the new length.
uint32_t FilterControlChars(tBuf& record);

// Where byte position of the record lands once FilterControlChars has run:
// the bytes it keeps of those before. Called before the filter, and decides
// record.lineEnd as the filter does.
uint32_t FilteredPosition(tBuf& record, uint32_t position);

}  // namespace palmdoc
