// Every multi-byte field of a Palm database is big-endian; the machines this
// library runs on are little-endian, so converting means reversing.
#pragma once

#include <cstdint>

uint16_t SwapBytes16(uint16_t value);
uint32_t SwapBytes32(uint32_t value);

// The conversions from this machine's order to the file's, set once at load
// time and only read afterwards.
extern uint16_t (*const ToFileOrder16)(uint16_t value);
extern uint32_t (*const ToFileOrder32)(uint32_t value);
