#include "text/medoc_index.h"

#include <cstdio>
#include <cstring>

#include "text/message_headers.h"
#include "text/text_storage.h"

MeDocIndexStorage MeDocIndexBuffer = {};

namespace {

constexpr char kHeadLineFormat[] = "#!Medoc index %d\n";
constexpr char kEntryFormat[] = "%d:%-30.30s\r\n";
// The longest entry: an 11-byte line number, colon, title, CR LF, NUL.
constexpr std::size_t kEntrySize = 11 + 1 + kMeDocTitleLimit + 2 + 1;
constexpr std::size_t kHeadLineSize = 32;

void DropMeDocIndex() {
    ReleaseMeDocIndex();
    MeDocIndexBuffer.dropped = true;
}

bool ObtainStorage() {
    void* storage = TextStorage.allocateZeroed(kMeDocIndexGrowth);
    if (storage == nullptr) {
        return false;
    }
    MeDocIndexBuffer.text = static_cast<char*>(storage);
    MeDocIndexBuffer.capacity = kMeDocIndexGrowth;
    MeDocIndexBuffer.free = kMeDocIndexGrowth;
    MeDocIndexBuffer.length = 0;
    return true;
}

bool GrowStorage() {
    const int capacity = MeDocIndexBuffer.capacity + kMeDocIndexGrowth;
    void* storage = TextStorage.resize(MeDocIndexBuffer.text, static_cast<std::size_t>(capacity));
    if (storage == nullptr) {
        return false;
    }
    MeDocIndexBuffer.text = static_cast<char*>(storage);
    MeDocIndexBuffer.capacity = capacity;
    MeDocIndexBuffer.free += kMeDocIndexGrowth;
    return true;
}

}  // namespace

void StartMeDocIndex(int messageCount) {
    char headLine[kHeadLineSize];
    std::snprintf(headLine, sizeof headLine, kHeadLineFormat, messageCount);
    AppendMeDocText(headLine);
}

void AppendMeDocEntry(int lineNumber, const char* subject) {
    char title[kMeDocTitleLimit + 1];
    CopyHeaderValue(subject, title, kMeDocTitleLimit);
    char entry[kEntrySize];
    std::snprintf(entry, sizeof entry, kEntryFormat, lineNumber, title);
    AppendMeDocText(entry);
}

void AppendMeDocText(const char* line) {
    if (MeDocIndexBuffer.dropped) {
        return;
    }
    if (MeDocIndexBuffer.text == nullptr && !ObtainStorage()) {
        DropMeDocIndex();
        return;
    }
    const int length = static_cast<int>(std::strlen(line));
    // Grow as often as the line needs, so that a line of any length fits.
    while (length >= MeDocIndexBuffer.free) {
        if (!GrowStorage()) {
            DropMeDocIndex();
            return;
        }
    }
    std::memcpy(MeDocIndexBuffer.text + MeDocIndexBuffer.length, line, static_cast<std::size_t>(length) + 1);
    MeDocIndexBuffer.length += length;
    MeDocIndexBuffer.free -= length + 1;
}

void ReleaseMeDocIndex() {
    if (MeDocIndexBuffer.text != nullptr) {
        TextStorage.release(MeDocIndexBuffer.text);
    }
    MeDocIndexBuffer = MeDocIndexStorage{};
}
