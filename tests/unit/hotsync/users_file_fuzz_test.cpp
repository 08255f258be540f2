// Random users files, whole and damaged, read by the reader and by a plain
// in-memory reading of the documented layout; both must agree.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hotsync/users_file.h"
#include "users_file_bytes.h"

namespace users_file_test {
namespace {

struct OracleUser {
    int32_t id;
    std::string name;
    std::string folderName;
    bool operator==(const OracleUser& other) const {
        return id == other.id && name == other.name && folderName == other.folderName;
    }
};

// The layout read straight from a byte array: every read past the end fails.
class Oracle {
public:
    explicit Oracle(const Bytes& bytes) : bytes_(bytes) {}

    std::vector<OracleUser> Users() {
        std::vector<OracleUser> users;
        uint32_t count;
        if (!Number(2, count) || count == 0 || count >= 0x8000 || !Skip(11)) return users;
        while (users.size() < count) {
            OracleUser user;
            uint32_t id;
            if (!Number(4, id) || !Text(user.name) || !Text(user.folderName)) break;
            user.id = static_cast<int32_t>(id);
            users.push_back(user);
            uint32_t blockLength;
            if (Skip(2) && Number(2, blockLength) && Skip(2) && Skip(blockLength) && Skip(2)) {
                Trailer();
            }
        }
        return users;
    }

private:
    bool AtEnd() const { return position_ >= bytes_.size(); }

    bool Skip(std::size_t size) {
        if (bytes_.size() - position_ < size) {
            position_ = bytes_.size();
            return false;
        }
        position_ += size;
        return true;
    }

    bool Number(std::size_t size, uint32_t& value) {
        const std::size_t start = position_;
        if (!Skip(size)) return false;
        value = 0;
        for (std::size_t i = size; i-- > 0;) value = (value << 8) | bytes_[start + i];
        return true;
    }

    bool Text(std::string& text) {
        uint32_t length;
        const std::size_t start = position_ + 1;
        if (!Number(1, length) || !Skip(length)) return false;
        text.assign(bytes_.begin() + start, bytes_.begin() + start + length);
        // What the entry's C string shows of it.
        text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
        return true;
    }

    void Trailer() {
        uint32_t tag;
        while (Number(2, tag)) {
            if (tag == 0x8001) return;
            if (tag == 0x8003) return MarkedRuns();
            if (tag == 0xFFFF) {
                uint32_t length;
                if (Skip(2) && Number(2, length) && Skip(length)) MarkedRuns();
                return;
            }
        }
    }

    void MarkedRuns() {
        for (;;) {
            if (AtEnd()) return;
            const std::size_t lead = position_;
            if (!Skip(4)) return;
            unsigned char remembered = bytes_[lead];
            while (!AtEnd() && bytes_[position_] != 0x80) remembered = bytes_[position_++];
            if (!Skip(1) || remembered != 3) return;
        }
    }

    const Bytes& bytes_;
    std::size_t position_ = 0;
};

Bytes RandomBytes(std::mt19937& random, std::size_t maximum, unsigned char mostly) {
    std::vector<unsigned char> bytes(random() % (maximum + 1));
    // Mostly the few bytes the trailer reacts to, so that tags and runs occur.
    const unsigned char interesting[] = {0x80, 0x01, 0x03, 0xFF, 0x00, mostly};
    for (unsigned char& byte : bytes) {
        byte = random() % 2 ? interesting[random() % sizeof interesting]
                            : static_cast<unsigned char>(random());
    }
    return bytes;
}

Bytes RandomUsersFile(std::mt19937& random) {
    const int records = static_cast<int>(random() % 5);
    uint16_t count = static_cast<uint16_t>(records);
    switch (random() % 6) {
        case 0: count = static_cast<uint16_t>(random()); break;
        case 1: count = static_cast<uint16_t>(records + 1 + random() % 3); break;
        default: break;
    }
    Bytes bytes = Header(count);
    for (int i = 0; i < records; ++i) {
        Record record;
        record.id = static_cast<uint32_t>(random());
        const Bytes name = RandomBytes(random, random() % 4 ? 12 : 255, 'n');
        const Bytes folderName = RandomBytes(random, random() % 4 ? 12 : 255, 'f');
        record.name.assign(name.begin(), name.end());
        record.folderName.assign(folderName.begin(), folderName.end());
        record.block = RandomBytes(random, random() % 8 ? 8 : 600, 0x80);
        record.trailer = RandomBytes(random, 24, 0x80);
        PutRecord(bytes, record);
    }
    // Damage: cut, flip bytes, or leave whole.
    switch (random() % 3) {
        case 0: bytes.resize(random() % (bytes.size() + 1)); break;
        case 1:
            for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips) {
                bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
            }
            break;
        default: break;
    }
    return bytes;
}

TEST(UsersFileFuzzTest, AgreesWithThePlainReadingOnRandomFiles) {
    std::mt19937 random(20240522);
    const std::string path = UsersFilePath(ScratchFolder());
    constexpr int kRounds = 3000;
    for (int round = 0; round < kRounds; ++round) {
        const Bytes bytes = RandomUsersFile(random);
        WriteFile(path, bytes);
        PalmUsers list;
        ASSERT_EQ(ReadPalmUsersFile(path.c_str(), list), 1) << "round " << round;
        std::vector<OracleUser> read;
        for (int32_t i = 0; i < list.count; ++i) {
            read.push_back({list.entries[i].id, list.entries[i].name, list.entries[i].folderName});
        }
        ASSERT_EQ(read, Oracle(bytes).Users()) << "round " << round;
    }
}

}  // namespace
}  // namespace users_file_test
