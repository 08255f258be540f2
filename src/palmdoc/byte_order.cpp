#include "palmdoc/byte_order.h"

namespace palmdoc {

uint16_t SwapBytes16(uint16_t value) { return static_cast<uint16_t>((value >> 8) | (value << 8)); }

uint32_t SwapBytes32(uint32_t value) {
    return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) | (value << 24);
}

uint16_t (*const ToFileOrder16)(uint16_t value) = SwapBytes16;
uint32_t (*const ToFileOrder32)(uint32_t value) = SwapBytes32;

}  // namespace palmdoc
