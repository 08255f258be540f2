#include "palmdoc/text_buffer.h"

namespace palmdoc {

void tBuf::Adopt(unsigned char* newData, uint32_t newLength) {
    delete[] data;
    data = newData;
    length = newLength;
    capacity = newLength;
}

void tBuf::Rearm(uint32_t minimumCapacity) {
    if (data == nullptr || capacity < minimumCapacity) {
        Adopt(new unsigned char[minimumCapacity], 0);
        capacity = minimumCapacity;
    }
    length = 0;
    lineEnd = 0;
}

unsigned char* tBuf::Release() {
    unsigned char* released = data;
    data = nullptr;
    length = 0;
    capacity = 0;
    return released;
}

}  // namespace palmdoc
