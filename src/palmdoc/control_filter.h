// Palm readers break lines on one terminator byte and show other control
// bytes as garbage, so every record is cleaned before it is compressed.
#pragma once

#include <cstdint>

#include "palmdoc/text_buffer.h"

namespace palmdoc {

// Decides record.lineEnd when it is still 0 (from the first CR or LF of the
// record), then drops every byte below 0x20 other than that terminator.
// Returns the new length.
uint32_t FilterControlChars(tBuf& record);

}  // namespace palmdoc
