// The Palm Desktop users-file reader on any bytes: it must give exactly the
// users that a plain in-memory reading of the layout finds stored whole, with
// terminated names, and never read out of bounds.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "hotsync/palm_desktop.h"
#include "hotsync/users_file.h"

using hotsync::PalmUser;
using hotsync::PalmUsers;
using hotsync::ReadPalmUsersFile;
using hotsync::kPalmUserTextSize;

namespace {

constexpr std::size_t kCountSize = 2;
constexpr std::size_t kHeaderUnusedSize = 11;
constexpr std::size_t kIdSize = 4;
constexpr std::size_t kTextLengthSize = 1;
constexpr std::size_t kUnusedFieldSize = 2;
constexpr std::size_t kLengthSize = 2;
constexpr std::size_t kTagSize = 2;
constexpr std::size_t kRunLeadSize = 4;
constexpr uint32_t kNegativeCount = 0x8000;
constexpr uint32_t kTagEnd = 0x8001;
constexpr uint32_t kTagMarked = 0x8003;
constexpr uint32_t kTagLong = 0xFFFF;
constexpr unsigned char kMarker = 0x80;
constexpr unsigned char kAnotherRun = 3;

struct User {
    int32_t id;
    std::string name;
    std::string folderName;
    bool operator==(const User& other) const {
        return id == other.id && name == other.name && folderName == other.folderName;
    }
};

// The layout read straight from the bytes, where every read past the end
// fails: written apart from the reader, which takes the file piece by piece.
class PlainReading {
public:
    PlainReading(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::vector<User> Users() {
        std::vector<User> users;
        uint32_t count;
        if (!Number(kCountSize, count) || count == 0 || count >= kNegativeCount || !Skip(kHeaderUnusedSize)) {
            return users;
        }
        while (users.size() < count) {
            User user;
            uint32_t id;
            if (!Number(kIdSize, id) || !Text(user.name) || !Text(user.folderName)) break;
            user.id = static_cast<int32_t>(id);
            users.push_back(user);
            uint32_t blockLength;
            if (Skip(kUnusedFieldSize) && Number(kLengthSize, blockLength) && Skip(kUnusedFieldSize) &&
                Skip(blockLength) && Skip(kUnusedFieldSize)) {
                Trailer();
            }
        }
        return users;
    }

private:
    bool AtEnd() const { return position_ >= size_; }

    bool Skip(std::size_t size) {
        if (size_ - position_ < size) {
            position_ = size_;
            return false;
        }
        position_ += size;
        return true;
    }

    bool Number(std::size_t size, uint32_t& value) {
        const std::size_t start = position_;
        if (!Skip(size)) return false;
        value = 0;
        for (std::size_t i = size; i-- > 0;) value = (value << 8) | data_[start + i];
        return true;
    }

    bool Text(std::string& text) {
        uint32_t length;
        const std::size_t start = position_ + kTextLengthSize;
        if (!Number(kTextLengthSize, length) || !Skip(length)) return false;
        // What the entry's C string shows of it.
        text.assign(reinterpret_cast<const char*>(data_ + start), length);
        text.resize(std::strlen(text.c_str()));
        return true;
    }

    void Trailer() {
        uint32_t tag;
        while (Number(kTagSize, tag)) {
            if (tag == kTagEnd) return;
            if (tag == kTagMarked) return MarkedRuns();
            if (tag == kTagLong) {
                uint32_t length;
                if (Skip(kUnusedFieldSize) && Number(kLengthSize, length) && Skip(length)) MarkedRuns();
                return;
            }
        }
    }

    void MarkedRuns() {
        for (;;) {
            if (AtEnd()) return;
            const std::size_t lead = position_;
            if (!Skip(kRunLeadSize)) return;
            unsigned char remembered = data_[lead];
            while (!AtEnd() && data_[position_] != kMarker) remembered = data_[position_++];
            if (!Skip(sizeof kMarker) || remembered != kAnotherRun) return;
        }
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PalmUsers list;
    Require(ReadPalmUsersFile(WriteScratchFile(data, size).c_str(), list) == 1);
    Require(list.count >= 0);
    std::vector<User> read;
    for (int32_t i = 0; i < list.count; ++i) {
        const PalmUser& user = list.entries[i];
        Require(std::memchr(user.name, '\0', kPalmUserTextSize) != nullptr);
        Require(std::memchr(user.folderName, '\0', kPalmUserTextSize) != nullptr);
        read.push_back({user.id, user.name, user.folderName});
    }
    Require(read == PlainReading(data, size).Users());
    return 0;
}
