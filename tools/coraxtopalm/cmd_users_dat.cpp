// users-dat: writes a Palm Desktop users file for tests and the demo, and
// prints the users the plug-in's reader finds in one.
#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "command_registry.h"
#include "hotsync/users_file.h"

namespace {


constexpr std::size_t kHeaderUnusedSize = 11;
constexpr std::size_t kMaximumTextLength = 255;
constexpr int32_t kMaximumCount = INT16_MAX;
// Some bytes in the skipped block, so that a reader must honour its length.
constexpr uint16_t kFixtureBlockLength = 8;
constexpr unsigned char kFixtureBlockByte = 0x80;
constexpr unsigned char kUnusedByte = 0;

using Bytes = std::vector<unsigned char>;

// What follows the block of each record, by the name --trailer takes.
const std::map<std::string, Bytes>& TrailerForms() {
    static const std::map<std::string, Bytes> forms = {
        {"8001", {0x01, 0x80}},
        {"tags", {0x00, 0x00, 0x34, 0x12, 0x01, 0x80}},
        {"8003", {0x03, 0x80, 0x01, 0x00, 0x00, 0x00, 0x80}},
        {"8003-chain", {0x03, 0x80, 0x03, 0x00, 0x00, 0x00, 0x80, 0x01, 0x00, 0x00, 0x00, 0x05,
                        0x03, 0x80, 0x01, 0x00, 0x00, 0x00, 0x80}},
        {"ffff", {0xFF, 0xFF, 0x00, 0x00, 0x03, 0x00, 0x80, 0x80, 0x80, 0x01, 0x00, 0x00, 0x00,
                  0x80}},
        {"none", {}},
    };
    return forms;
}

// Converts between UTF-8 and code page 932. Bytes that do not convert become
// "?", so that a damaged name still prints.
bool Convert(const char* to, const char* from, const std::string& text, std::string& out,
             bool lenient) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    out.clear();
    std::vector<char> input(text.begin(), text.end());
    char* in = input.data();
    std::size_t inLeft = input.size();
    bool ok = true;
    while (inLeft > 0) {
        char buffer[256];
        char* outPointer = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
        out.append(buffer, outPointer);
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        if (!lenient) {
            ok = false;
            break;
        }
        out.push_back('?');
        ++in;
        --inLeft;
    }
    iconv_close(converter);
    return ok;
}

struct UserArgument {
    uint32_t id;
    std::string name;        // code page 932
    std::string folderName;  // code page 932
};

// "id:name:folder"; the name may hold colons, the id and the folder not.
bool ParseUser(const std::string& argument, UserArgument& user) {
    const std::size_t first = argument.find(':');
    const std::size_t last = argument.rfind(':');
    if (first == std::string::npos || first == last) return false;
    const std::string idText = argument.substr(0, first);
    char* end = nullptr;
    errno = 0;
    const long long id = std::strtoll(idText.c_str(), &end, 10);
    if (idText.empty() || *end != '\0' || errno != 0 || id < INT32_MIN || id > UINT32_MAX) {
        return false;
    }
    user.id = static_cast<uint32_t>(id);
    return Convert("CP932", "UTF-8", argument.substr(first + 1, last - first - 1), user.name,
                   false) &&
           Convert("CP932", "UTF-8", argument.substr(last + 1), user.folderName, false) &&
           user.name.size() <= kMaximumTextLength && user.folderName.size() <= kMaximumTextLength;
}

void PutUint16(Bytes& out, uint16_t value) {
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void PutUint32(Bytes& out, uint32_t value) {
    PutUint16(out, static_cast<uint16_t>(value & 0xFFFF));
    PutUint16(out, static_cast<uint16_t>(value >> 16));
}

void PutText(Bytes& out, const std::string& text) {
    out.push_back(static_cast<unsigned char>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

Bytes UsersFile(const std::vector<UserArgument>& users, const Bytes& trailer) {
    Bytes out;
    PutUint16(out, static_cast<uint16_t>(users.size()));
    out.insert(out.end(), kHeaderUnusedSize, kUnusedByte);
    for (const UserArgument& user : users) {
        PutUint32(out, user.id);
        PutText(out, user.name);
        PutText(out, user.folderName);
        PutUint16(out, kUnusedByte);
        PutUint16(out, kFixtureBlockLength);
        PutUint16(out, kUnusedByte);
        out.insert(out.end(), kFixtureBlockLength, kFixtureBlockByte);
        PutUint16(out, kUnusedByte);
        out.insert(out.end(), trailer.begin(), trailer.end());
    }
    return out;
}

int Write(const std::vector<std::string>& arguments) {
    std::string outPath;
    std::string trailerName = "8001";
    std::vector<UserArgument> users;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--trailer" && i + 1 < arguments.size()) {
            trailerName = arguments[++i];
        } else if (outPath.empty()) {
            outPath = arguments[i];
        } else {
            UserArgument user;
            if (!ParseUser(arguments[i], user)) {
                std::fprintf(stderr, "users-dat: bad user '%s' (id:name:folder, texts of at most "
                             "255 bytes in code page 932)\n", arguments[i].c_str());
                return kExitUsage;
            }
            users.push_back(user);
        }
    }
    const auto trailer = TrailerForms().find(trailerName);
    if (outPath.empty() || trailer == TrailerForms().end() ||
        users.size() > static_cast<std::size_t>(kMaximumCount)) {
        std::fprintf(stderr, "users-dat: write OUT [--trailer 8001|tags|8003|8003-chain|ffff|none] "
                     "USER...\n");
        return kExitUsage;
    }
    const Bytes bytes = UsersFile(users, trailer->second);
    std::FILE* file = std::fopen(outPath.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "users-dat: cannot create '%s'\n", outPath.c_str());
        return kExitFailure;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "users-dat: cannot write '%s'\n", outPath.c_str());
        std::remove(outPath.c_str());
        return kExitFailure;
    }
    return kExitOk;
}

int Read(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) {
        std::fprintf(stderr, "users-dat: read FILE\n");
        return kExitUsage;
    }
    PalmUsers list;
    if (!ReadPalmUsersFile(arguments[0].c_str(), list)) {
        std::fprintf(stderr, "users-dat: cannot read '%s'\n", arguments[0].c_str());
        return kExitFailure;
    }
    for (int32_t i = 0; i < list.count; ++i) {
        const PalmUser& user = list.entries[i];
        std::string name;
        std::string folderName;
        Convert("UTF-8", "CP932", user.name, name, true);
        Convert("UTF-8", "CP932", user.folderName, folderName, true);
        std::printf("%d\t%d\t%s\t%s\n", static_cast<int>(i + 1), static_cast<int>(user.id),
                    name.c_str(), folderName.c_str());
    }
    return kExitOk;
}

int RunUsersDat(const std::vector<std::string>& arguments) {
    if (!arguments.empty()) {
        const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
        if (arguments[0] == "write") return Write(rest);
        if (arguments[0] == "read") return Read(rest);
    }
    std::fprintf(stderr, "users-dat: write OUT [--trailer FORM] USER... | read FILE\n");
    return kExitUsage;
}

const CommandRegistration registration({
    "users-dat", RunUsersDat,
    "write OUT [--trailer 8001|tags|8003|8003-chain|ffff|none] ID:NAME:FOLDER... | read FILE",
});

}  // namespace
