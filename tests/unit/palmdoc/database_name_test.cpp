// The database name and the bookmark names: the first bytes of the title or
// subject with room for the terminator, cut between characters of code page
// 932, never inside one.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "palmdoc/bookmark.h"
#include "palmdoc/database_name.h"
#include "palmdoc/pdb_format.h"
#include "palmdoc_test_support.h"

using palmdoc::FormatDatabaseName;

namespace pdb = palmdoc::pdb;

namespace {

std::string Times(const std::string& text, int count) {
    std::string repeated;
    for (int i = 0; i < count; ++i) repeated += text;
    return repeated;
}

struct NameCase {
    const char* what;
    std::string title;
    // The bytes before the zero fill.
    std::string expected;
};

// 日 is 93 FA; ア in half width is the single byte B1; 表 is 95 5C, whose
// second byte is "\"; 黒 is 8D 95 and 碁 is 8C E7, whose second bytes are
// themselves lead bytes.
std::vector<NameCase> NameCases() {
    const std::string nichi = "\x93\xFA";
    return {
        {"short ASCII title as it is", "inbox-20261208a", "inbox-20261208a"},
        {"empty title", "", ""},
        {"ASCII of exactly 31 bytes", std::string(31, 'x'), std::string(31, 'x')},
        {"ASCII cut after 31 bytes", std::string(40, 'x'), std::string(31, 'x')},
        {"15 double-byte characters and a letter fill 31 bytes", Times(nichi, 15) + "a", Times(nichi, 15) + "a"},
        {"the 16th double-byte character would need byte 32", Times(nichi, 20), Times(nichi, 15)},
        {"one letter shifts the cut: 15 characters fit after it", "a" + Times(nichi, 20), "a" + Times(nichi, 15)},
        {"two letters: the 15th character would end at byte 32", "ab" + Times(nichi, 20), "ab" + Times(nichi, 14)},
        {"half-width katakana are single bytes", std::string(40, '\xB1'), std::string(31, '\xB1')},
        {"a second byte below 0x80 stays with its character", "a" + Times("\x95\x5C", 20), "a" + Times("\x95\x5C", 15)},
        {"second bytes in the lead ranges are not taken for lead bytes", "ab" + Times("\x8D\x95\x8C\xE7", 10),
         "ab" + Times("\x8D\x95\x8C\xE7", 7)},
        {"lead bytes E0 to FC", "ab" + Times("\xE0\x40\xFC\xFC", 10), "ab" + Times("\xE0\x40\xFC\xFC", 7)},
        {"a lead byte that ends the title is kept", "title\x93", "title\x93"},
    };
}

TEST(DatabaseName, CutsOnCharacterBoundaries) {
    for (const NameCase& c : NameCases()) {
        SCOPED_TRACE(c.what);
        unsigned char field[pdb::kNameSize];
        std::memset(field, 0xAA, sizeof field);
        FormatDatabaseName(c.title.c_str(), field);
        ASSERT_LE(c.expected.size(), pdb::kMaxNameLength);
        Bytes expected(c.expected.begin(), c.expected.end());
        expected.resize(pdb::kNameSize, 0);
        EXPECT_EQ(ToHex(Bytes(field, field + sizeof field)), ToHex(expected));
    }
}

// The bookmark's name field holds 15 bytes and the terminator; the handheld
// shows no control byte.
TEST(BookmarkName, CutsOnCharacterBoundariesWithoutControlBytes) {
    const std::string nichi = "\x93\xFA";
    const NameCase cases[] = {
        {"short subject as it is", "Re: " + nichi, "Re: " + nichi},
        {"ASCII cut after 15 bytes", std::string(40, 'x'), std::string(15, 'x')},
        {"the 8th double-byte character would need byte 16", Times(nichi, 10), Times(nichi, 7)},
        {"one letter shifts the cut", "a" + Times(nichi, 10), "a" + Times(nichi, 7)},
        {"a second byte below 0x80 stays with its character", "ab" + Times("\x95\x5C", 10), "ab" + Times("\x95\x5C", 6)},
        {"control bytes are left out before the cut", "\t" + std::string(14, 'x') + "\x1B" + nichi, std::string(14, 'x')},
        {"empty subject", "", ""},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.what);
        const palmdoc::Bookmark bookmark = palmdoc::MakeBookmark(c.title.c_str(), 1234);
        Bytes expected(c.expected.begin(), c.expected.end());
        expected.resize(pdb::kBookmarkNameSize, 0);
        EXPECT_EQ(ToHex(Bytes(bookmark.name, bookmark.name + sizeof bookmark.name)), ToHex(expected));
        EXPECT_EQ(bookmark.filePosition, 1234u);
    }
}

}  // namespace
