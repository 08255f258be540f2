#include "palmdoc/text_buffer.h"

void tBuf::Adopt(unsigned char* newData, uint32_t newLength) {
    delete[] data;
    data = newData;
    length = newLength;
}

void tBuf::Rearm(uint32_t capacity) {
    Adopt(new unsigned char[capacity], 0);
    lineEnd = 0;
}

unsigned char* tBuf::Release() {
    unsigned char* released = data;
    data = nullptr;
    length = 0;
    return released;
}
