#include "text/medoc_index.h"

#include <climits>
#include <cstdio>

#include "text/message_headers.h"
#include "text/text_storage.h"

namespace text {

MeDocIndexStorage MeDocIndexBuffer = {};

namespace {

constexpr char kHeadLineFormat[] = "#!Medoc index %d\n";
constexpr char kEntryFormat[] = "%d:%-30.30s\r\n";
constexpr int kFirstEntryCapacity = 64;

void ReleaseEntries() {
    if (MeDocIndexBuffer.entries != nullptr) {
        TextStorage.release(MeDocIndexBuffer.entries);
    }
    MeDocIndexBuffer.entries = nullptr;
    MeDocIndexBuffer.entryCount = 0;
    MeDocIndexBuffer.entryCapacity = 0;
}

void DropMeDocIndex() {
    ReleaseMeDocIndex();
    MeDocIndexBuffer.dropped = true;
}

bool MakeRoomForEntry() {
    MeDocIndexStorage& index = MeDocIndexBuffer;
    if (index.entryCount < index.entryCapacity) {
        return true;
    }
    // Doubling keeps the copying linear in the number of messages.
    if (index.entryCapacity > INT_MAX / 2) {
        return false;
    }
    const int capacity = index.entryCapacity == 0 ? kFirstEntryCapacity : index.entryCapacity * 2;
    const std::size_t size = static_cast<std::size_t>(capacity) * sizeof(MeDocEntry);
    void* storage =
        index.entries == nullptr ? TextStorage.allocateZeroed(size) : TextStorage.resize(index.entries, size);
    if (storage == nullptr) {
        return false;
    }
    index.entries = static_cast<MeDocEntry*>(storage);
    index.entryCapacity = capacity;
    return true;
}

// The head line and every entry hold one LF each, and the index stands in
// front of the text file's first byte.
int EntryLine(const MeDocEntry& entry, int entryCount) { return entryCount + 1 + entry.linesBefore; }

// Writes the index into text, which has room for size bytes, and returns
// its length; with text null it only measures.
std::size_t FormatIndex(char* text, std::size_t size) {
    const MeDocIndexStorage& index = MeDocIndexBuffer;
    std::size_t length = static_cast<std::size_t>(std::snprintf(text, size, kHeadLineFormat, index.entryCount));
    for (int i = 0; i < index.entryCount; ++i) {
        const MeDocEntry& entry = index.entries[i];
        char* const end = text != nullptr ? text + length : nullptr;
        const std::size_t room = text != nullptr ? size - length : 0;
        length += static_cast<std::size_t>(
            std::snprintf(end, room, kEntryFormat, EntryLine(entry, index.entryCount), entry.title));
    }
    return length;
}

}  // namespace

void AddMeDocEntry(int linesBefore, const char* subject) {
    if (MeDocIndexBuffer.dropped) {
        return;
    }
    if (!MakeRoomForEntry()) {
        DropMeDocIndex();
        return;
    }
    MeDocEntry& entry = MeDocIndexBuffer.entries[MeDocIndexBuffer.entryCount++];
    entry.linesBefore = linesBefore;
    CopyHeaderValue(subject, entry.title, kMeDocTitleLimit);
}

void FinishMeDocIndex() {
    if (MeDocIndexBuffer.dropped || MeDocIndexBuffer.text != nullptr) {
        return;
    }
    const std::size_t size = FormatIndex(nullptr, 0) + 1;
    void* storage = TextStorage.allocateZeroed(size);
    if (storage == nullptr) {
        DropMeDocIndex();
        return;
    }
    MeDocIndexBuffer.text = static_cast<char*>(storage);
    FormatIndex(MeDocIndexBuffer.text, size);
    // Only the text is needed from here on.
    ReleaseEntries();
}

void ReleaseMeDocIndex() {
    if (MeDocIndexBuffer.text != nullptr) {
        TextStorage.release(MeDocIndexBuffer.text);
    }
    ReleaseEntries();
    MeDocIndexBuffer = MeDocIndexStorage{};
}

}  // namespace text
