// Heap blocks of the message text area (header values, the MeDoc index) are
// taken through this table, so that tests can refuse them and check that
// every failure path leaves a sound state.
#pragma once

#include <cstddef>

namespace text {

struct TextStorageFunctions {
    void* (*allocateZeroed)(std::size_t size);  // null when refused
    void* (*resize)(void* block, std::size_t size);  // null when refused, block kept
    void (*release)(void* block);
};

// The C heap unless a test has swapped it.
extern TextStorageFunctions TextStorage;
extern const TextStorageFunctions HeapTextStorage;

}  // namespace text
