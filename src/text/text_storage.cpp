#include "text/text_storage.h"

#include <cstdlib>

namespace text {

namespace {

void* AllocateZeroedFromHeap(std::size_t size) { return std::calloc(1, size); }
void* ResizeOnHeap(void* block, std::size_t size) { return std::realloc(block, size); }
void ReleaseToHeap(void* block) { std::free(block); }

}  // namespace

const TextStorageFunctions HeapTextStorage = {AllocateZeroedFromHeap, ResizeOnHeap, ReleaseToHeap};
TextStorageFunctions TextStorage = HeapTextStorage;

}  // namespace text
