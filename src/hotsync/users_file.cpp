#include "hotsync/users_file.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "host/host_api.h"

namespace hotsync {

namespace {

constexpr const char* kUsersFileName = "users.dat";

// Field sizes of the users file; see users_dat_format.md.
constexpr std::size_t kCountSize = 2;
constexpr std::size_t kHeaderUnusedSize = 11;
constexpr std::size_t kIdSize = 4;
constexpr std::size_t kUnusedBeforeBlockLength = 2;
constexpr std::size_t kBlockLengthSize = 2;
constexpr std::size_t kUnusedAfterBlockLength = 2;
constexpr std::size_t kUnusedAfterBlock = 2;
constexpr std::size_t kTagSize = 2;
constexpr std::size_t kUnusedAfterLongTag = 2;
constexpr std::size_t kMarkerLeadSize = 4;

constexpr uint16_t kTagLongTrailer = 0xFFFF;
constexpr uint16_t kTagRecordEnd = 0x8001;
constexpr uint16_t kTagMarkedTrailer = 0x8003;
constexpr int kMarker = 0x80;
// Standing before a marker, this byte announces another marked run.
constexpr unsigned char kAnotherRun = 3;

bool AtEnd(std::FILE* file) {
    const int next = std::getc(file);
    if (next == EOF) return true;
    std::ungetc(next, file);
    return false;
}

bool ReadExactly(std::FILE* file, void* out, std::size_t size) {
    return std::fread(out, 1, size, file) == size;
}

// Skipping by reading, not seeking, so that the end of the file is noticed.
bool Skip(std::FILE* file, std::size_t size) {
    unsigned char scratch[512];
    while (size > 0) {
        const std::size_t piece = size < sizeof scratch ? size : sizeof scratch;
        if (!ReadExactly(file, scratch, piece)) return false;
        size -= piece;
    }
    return true;
}

bool ReadUint16(std::FILE* file, uint16_t& value) {
    unsigned char bytes[2];
    if (!ReadExactly(file, bytes, sizeof bytes)) return false;
    value = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    return true;
}

bool ReadInt32(std::FILE* file, int32_t& value) {
    unsigned char bytes[kIdSize];
    if (!ReadExactly(file, bytes, sizeof bytes)) return false;
    const uint32_t bits = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                          (static_cast<uint32_t>(bytes[2]) << 16) |
                          (static_cast<uint32_t>(bytes[3]) << 24);
    // Ids of 2^31 and above are stored as the negative numbers they name.
    value = bits <= INT32_MAX ? static_cast<int32_t>(bits) : -static_cast<int32_t>(~bits) - 1;
    return true;
}

// A length byte and that many bytes, terminated.
bool ReadText(std::FILE* file, char (&text)[kPalmUserTextSize]) {
    unsigned char length;
    if (!ReadExactly(file, &length, 1)) return false;
    if (!ReadExactly(file, text, length)) return false;
    text[length] = '\0';
    return true;
}

// Consumes a marked trailer: runs of four bytes and a scan to the marker byte,
// repeated while the byte remembered before the marker says another follows.
void SkipToMarker(std::FILE* file) {
    unsigned char remembered;
    do {
        if (AtEnd(file)) return;
        unsigned char lead[kMarkerLeadSize];
        if (!ReadExactly(file, lead, sizeof lead)) return;
        remembered = lead[0];
        for (;;) {
            const int next = std::getc(file);
            if (next == EOF) return;
            if (next == kMarker) break;
            remembered = static_cast<unsigned char>(next);
        }
    } while (remembered == kAnotherRun);
}

// Reaching the end of the file ends the trailer, and with it the record.
void ConsumeTrailer(std::FILE* file) {
    uint16_t tag;
    while (!AtEnd(file) && ReadUint16(file, tag)) {
        if (tag == kTagRecordEnd) return;
        if (tag == kTagMarkedTrailer) {
            SkipToMarker(file);
            return;
        }
        if (tag == kTagLongTrailer) {
            uint16_t length;
            if (Skip(file, kUnusedAfterLongTag) && ReadUint16(file, length) && Skip(file, length)) {
                SkipToMarker(file);
            }
            return;
        }
    }
}

// False when the file ends before the id, the name and the folder name were
// read whole; what follows them only positions the next record.
bool ReadUserRecord(std::FILE* file, PalmUser& user) {
    if (!ReadInt32(file, user.id) || !ReadText(file, user.name) ||
        !ReadText(file, user.folderName)) {
        return false;
    }
    uint16_t blockLength;
    if (Skip(file, kUnusedBeforeBlockLength) && ReadUint16(file, blockLength) &&
        Skip(file, kUnusedAfterBlockLength) && Skip(file, blockLength) &&
        Skip(file, kUnusedAfterBlock)) {
        ConsumeTrailer(file);
    }
    return true;
}

void Clear(PalmUsers& list) {
    list.count = 0;
    list.entries.reset();
}

int ReadUsers(std::FILE* file, PalmUsers& list) {
    uint16_t storedCount;
    if (!ReadUint16(file, storedCount)) return 1;
    // The count is signed: 0x8000 and above are negative and give no users.
    if (storedCount == 0 || storedCount > INT16_MAX) return 1;
    const int32_t count = storedCount;
    std::unique_ptr<PalmUser[]> entries(new (std::nothrow) PalmUser[count]);
    if (!entries) return 0;
    if (!Skip(file, kHeaderUnusedSize)) return 1;
    int32_t complete = 0;
    while (complete < count) {
        PalmUser user = {};
        if (!ReadUserRecord(file, user)) break;
        entries[complete++] = user;
    }
    if (complete == 0) return 1;
    list.count = complete;
    list.entries = std::move(entries);
    return 1;
}

}  // namespace

int ReadPalmUsersFile(const char* filePath, PalmUsers& list) {
    Clear(list);
    std::FILE* file = std::fopen(filePath, "rb");
    if (!file) return 0;
    const int result = ReadUsers(file, list);
    std::fclose(file);
    return result;
}

int ReadPalmUserList(const char* folder, PalmUsers& list) {
    Clear(list);
    char filePath[host::kPathBufferSize];
    const int length = std::snprintf(filePath, sizeof filePath, "%s\\%s", folder, kUsersFileName);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof filePath) return 0;
    return ReadPalmUsersFile(filePath, list);
}

}  // namespace hotsync
