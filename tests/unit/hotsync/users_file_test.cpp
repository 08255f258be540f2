#include "hotsync/users_file.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/scratch_folder.h"
#include "support/users_dat_builder.h"

using hotsync::PalmUser;
using hotsync::PalmUsers;
using hotsync::ReadPalmUserList;

namespace users_file_test {
namespace {

using users_dat::Bytes;
using users_dat::Header;
using users_dat::PutRecord;
using users_dat::Record;
using users_dat::UsersFile;
using users_dat::kRecordEndTrailer;

struct ExpectedUser {
    int32_t id;
    std::string name;
    std::string folderName;
};

std::vector<ExpectedUser> Users(const PalmUsers& list) {
    std::vector<ExpectedUser> users;
    for (int32_t i = 0; i < list.count; ++i) {
        const PalmUser& user = list.entries[i];
        users.push_back({user.id, user.name, user.folderName});
    }
    return users;
}

bool operator==(const ExpectedUser& a, const ExpectedUser& b) {
    return a.id == b.id && a.name == b.name && a.folderName == b.folderName;
}

void PrintTo(const ExpectedUser& user, std::ostream* out) {
    *out << "{" << user.id << ", \"" << user.name << "\", \"" << user.folderName << "\"}";
}

// The reader forms "<folder>\\users.dat", which natively is one file name
// with a backslash in it.
constexpr char kUsersFileName[] = "\\users.dat";

// Reads bytes as the users file of a fresh scratch folder.
int ReadBytes(const Bytes& bytes, PalmUsers& list) {
    ScratchFolder scratch;
    scratch.Write(std::string("palm") + kUsersFileName, std::string(bytes.begin(), bytes.end()));
    return ReadPalmUserList(scratch.Path("palm").c_str(), list);
}

const Record kSecondUser = {0x01020304, "Smith John", "SmithJ", {}, kRecordEndTrailer};
const ExpectedUser kSecondExpected = {0x01020304, "Smith John", "SmithJ"};

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

const Bytes kTagMarked = {0x03, 0x80};
const Bytes kFinalRun = {0x01, 0x00, 0x00, 0x00, 0x80};

struct TrailerCase {
    const char* what;
    Bytes block;
    Bytes trailer;
};

// The second record starts where the first one's trailer was consumed, so it
// is read intact only when exactly that trailer was consumed.
class TrailerTest : public ::testing::TestWithParam<TrailerCase> {};

TEST_P(TrailerTest, NextRecordStartsBehindTheTrailer) {
    const TrailerCase& c = GetParam();
    const Record first = {12345, "Yamada", "YamadaT", c.block, c.trailer};
    PalmUsers list;
    ASSERT_EQ(ReadBytes(UsersFile({first, kSecondUser}), list), 1);
    EXPECT_EQ(Users(list), (std::vector<ExpectedUser>{{12345, "Yamada", "YamadaT"}, kSecondExpected}));
}

INSTANTIATE_TEST_SUITE_P(
    Trailers, TrailerTest,
    ::testing::Values(
        TrailerCase{"end tag at once", {}, kRecordEndTrailer},
        TrailerCase{"other tags passed over", {}, {0x00, 0x00, 0x34, 0x12, 0x01, 0x80}},
        TrailerCase{"tags next to the known ones", {}, {0x02, 0x80, 0xFF, 0x7F, 0x01, 0x80}},
        TrailerCase{"marked: first of four is 3", {},
                    Concat({kTagMarked, {0x03, 0x00, 0x00, 0x00, 0x80}, kFinalRun})},
        TrailerCase{"marked: 3 before the marker", {},
                    Concat({kTagMarked, {0x01, 0x00, 0x00, 0x00, 0x05, 0x03, 0x80}, kFinalRun})},
        TrailerCase{"marked: one run", {}, Concat({kTagMarked, kFinalRun})},
        TrailerCase{"marked: fourth lead byte 3 does not repeat", {},
                    Concat({kTagMarked, {0x01, 0x00, 0x00, 0x03, 0x80}})},
        TrailerCase{"marked: a marker among the four lead bytes", {},
                    Concat({kTagMarked, {0x01, 0x80, 0x80, 0x80, 0x07, 0x80}})},
        TrailerCase{"long trailer with a K block", {},
                    Concat({{0xFF, 0xFF, 0xB0, 0xB0, 0x04, 0x00, 0x01, 0x80, 0x03, 0x80}, kFinalRun})},
        TrailerCase{"long trailer, empty K block", {},
                    Concat({{0xFF, 0xFF, 0xB0, 0xB0, 0x00, 0x00}, kFinalRun})},
        TrailerCase{"long trailer, K of 0x8000 and above", {},
                    Concat({{0xFF, 0xFF, 0xB0, 0xB0, 0x00, 0x90}, Bytes(0x9000, 0x80), kFinalRun})},
        TrailerCase{"block holding tag bytes", {0x01, 0x80, 0x03, 0x80, 0xFF, 0xFF}, kRecordEndTrailer},
        TrailerCase{"block of 0x8000 bytes and above", Bytes(0x8123, 0x01), kRecordEndTrailer}),
    [](const ::testing::TestParamInfo<TrailerCase>& info) {
        std::string name = info.param.what;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

TEST(UsersFileTest, EndOfFileInsideTheTrailerCompletesTheRecord) {
    const Record only = {7, "Solo", "SoloF", {}, {0x03, 0x80, 0x03, 0x00}};
    PalmUsers list;
    ASSERT_EQ(ReadBytes(UsersFile({only}), list), 1);
    EXPECT_EQ(Users(list), (std::vector<ExpectedUser>{{7, "Solo", "SoloF"}}));
}

struct CountCase {
    uint16_t storedCount;
    int32_t expectedCount;
};

class CountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(CountTest, ReadsAsManyRecordsAsTheCountSaysAndTheFileHolds) {
    const Record first = {1, "A", "FA", {}, kRecordEndTrailer};
    Bytes bytes = Header(GetParam().storedCount);
    PutRecord(bytes, first);
    PutRecord(bytes, kSecondUser);
    PalmUsers list;
    ASSERT_EQ(ReadBytes(bytes, list), 1);
    EXPECT_EQ(list.count, GetParam().expectedCount);
    EXPECT_EQ(list.entries == nullptr, GetParam().expectedCount == 0);
}

INSTANTIATE_TEST_SUITE_P(Counts, CountTest,
                         ::testing::Values(CountCase{0, 0}, CountCase{1, 1}, CountCase{2, 2},
                                           CountCase{3, 2},            // shortened to the file
                                           CountCase{0x7FFF, 2},       // largest count
                                           CountCase{0xFFFF, 0},       // -1
                                           CountCase{0x8000, 0}));     // most negative

TEST(UsersFileTest, NameLongerThanFolderNameEndsAtItsLength) {
    const Record user = {99, "Yamada Taro", "YT", {}, kRecordEndTrailer};
    PalmUsers list;
    ASSERT_EQ(ReadBytes(UsersFile({user}), list), 1);
    ASSERT_EQ(list.count, 1);
    EXPECT_STREQ(list.entries[0].name, "Yamada Taro");
    EXPECT_STREQ(list.entries[0].folderName, "YT");
}

TEST(UsersFileTest, JapaneseNamesKeepTheirBytes) {
    const Record user = {5, "山田太郎", "山田", {}, kRecordEndTrailer};
    PalmUsers list;
    ASSERT_EQ(ReadBytes(UsersFile({user}), list), 1);
    ASSERT_EQ(list.count, 1);
    EXPECT_STREQ(list.entries[0].name, "山田太郎");
    EXPECT_STREQ(list.entries[0].folderName, "山田");
}

TEST(UsersFileTest, IdsAreSigned) {
    PalmUsers list;
    ASSERT_EQ(ReadBytes(UsersFile({{0xFFFFFFFF, "a", "b", {}, kRecordEndTrailer},
                                   {0x80000000, "c", "d", {}, kRecordEndTrailer}}),
                        list),
              1);
    EXPECT_EQ(Users(list), (std::vector<ExpectedUser>{{-1, "a", "b"}, {INT32_MIN, "c", "d"}}));
}

class TextLengthTest : public ::testing::TestWithParam<std::size_t> {};

// Length bytes of 128 and above are lengths, not negative numbers.
TEST_P(TextLengthTest, LongTextsAreReadWhole) {
    const std::string name(GetParam(), 'n');
    const std::string folderName(GetParam(), 'f');
    PalmUsers list;
    ASSERT_EQ(ReadBytes(UsersFile({{1, name, folderName, {}, kRecordEndTrailer}, kSecondUser}), list), 1);
    EXPECT_EQ(Users(list), (std::vector<ExpectedUser>{{1, name, folderName}, kSecondExpected}));
}

INSTANTIATE_TEST_SUITE_P(Lengths, TextLengthTest, ::testing::Values(0, 1, 127, 128, 200, 254, 255));

// Every cut of a two-user file: only the users whose id, name and folder name
// stand whole before the cut, never a partly read one.
TEST(UsersFileTest, CutAtEveryOffsetKeepsOnlyWholeRecords) {
    const Record first = {12345, "Yamada", "YamadaT", {0x10, 0x20, 0x30},
                          {0x00, 0x00, 0x03, 0x80, 0x03, 0x00, 0x00, 0x00, 0x80, 0x01, 0x00, 0x00,
                           0x00, 0x80}};
    Bytes bytes = Header(2);
    const std::size_t firstWhole = PutRecord(bytes, first);
    const std::size_t secondWhole = PutRecord(bytes, kSecondUser);
    const std::vector<ExpectedUser> all = {{12345, "Yamada", "YamadaT"}, kSecondExpected};
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        const std::size_t whole = cut >= secondWhole ? 2 : cut >= firstWhole ? 1 : 0;
        PalmUsers list;
        ASSERT_EQ(ReadBytes(Bytes(bytes.begin(), bytes.begin() + cut), list), 1);
        EXPECT_EQ(Users(list), std::vector<ExpectedUser>(all.begin(), all.begin() + whole));
        EXPECT_EQ(list.entries == nullptr, whole == 0);
    }
}

TEST(UsersFileTest, MissingFileGivesZeroAndClearsTheList) {
    PalmUsers list;
    ASSERT_EQ(ReadBytes(UsersFile({kSecondUser}), list), 1);
    ASSERT_EQ(list.count, 1);
    ScratchFolder scratch;
    EXPECT_EQ(ReadPalmUserList(scratch.Path("missing").c_str(), list), 0);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.entries, nullptr);
}

// A folder whose users-file name has the given length in bytes. Nested,
// since one name in the file system holds at most 255 bytes.
std::string FolderWithUsersFileNameOf(const ScratchFolder& scratch, std::size_t length) {
    const std::size_t folderLength = length - std::strlen(kUsersFileName);
    std::string folder = scratch.Path("palm");
    while (folderLength - folder.size() > 100) folder += "/" + std::string(99, 'd');
    folder += std::string(folderLength - folder.size(), 'e');
    std::filesystem::create_directories(folder.substr(0, folder.rfind('/')));
    return folder;
}

TEST(UsersFileTest, UsersFileNameFillingThePathBufferIsRefused) {
    for (const std::size_t length : {std::size_t{263}, std::size_t{264}}) {
        SCOPED_TRACE(length);
        ScratchFolder scratch;
        const std::string folder = FolderWithUsersFileNameOf(scratch, length);
        const std::string path = folder + kUsersFileName;
        ASSERT_EQ(path.size(), length);
        const Bytes bytes = UsersFile({kSecondUser});
        std::ofstream(path, std::ios::binary) << std::string(bytes.begin(), bytes.end());
        PalmUsers list;
        const int fits = length < 264;
        EXPECT_EQ(ReadPalmUserList(folder.c_str(), list), fits);
        EXPECT_EQ(list.count, fits);
    }
}

}  // namespace
}  // namespace users_file_test
