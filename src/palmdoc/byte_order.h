// Every multi-byte field of a Palm database is big-endian; the machines this
// library runs on are little-endian, so converting means reversing.
#pragma once

#include <cstdint>

namespace palmdoc {

uint16_t SwapBytes16(uint16_t value);
uint32_t SwapBytes32(uint32_t value);

// The conversions from this machine's order to the file's, set once at load
// time and only read afterwards.
extern uint16_t (*const ToFileOrder16)(uint16_t value);
extern uint32_t (*const ToFileOrder32)(uint32_t value);

// A big-endian field of a database read from its bytes.
inline uint16_t ReadBigEndian16(const unsigned char* at) { return static_cast<uint16_t>((at[0] << 8) | at[1]); }
inline uint32_t ReadBigEndian32(const unsigned char* at) {
    return (uint32_t{at[0]} << 24) | (uint32_t{at[1]} << 16) | (uint32_t{at[2]} << 8) | at[3];
}

}  // namespace palmdoc
