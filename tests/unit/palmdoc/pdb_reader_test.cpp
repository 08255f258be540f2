// Damaged databases: each damage gives the reader's message, never a crash
// or a text.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "palmdoc/pdb_writer.h"
#include "palmdoc_test_support.h"
#include "support/database_text.h"
#include "support/scratch_folder.h"

namespace {

// Damage done to the 120 bytes of an 18-byte text, and the message expected.
struct Damage {
    const char* what;
    void (*apply)(Bytes& file);
    const char* message;
};

void Put32(Bytes& file, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

const Damage kDamages[] = {
    {"truncated header", [](Bytes& f) { f.resize(50); }, "truncated inside the database header"},
    {"truncated record list", [](Bytes& f) { f.resize(82); }, "truncated inside the record list"},
    {"offset past the end", [](Bytes& f) { Put32(f, 86, 500); }, "past the end of the file"},
    {"offsets out of order", [](Bytes& f) { Put32(f, 86, 95); }, "out of order"},
    {"offset inside the record list", [](Bytes& f) { Put32(f, 78, 10); }, "inside the header or record list"},
    {"record count too large", [](Bytes& f) { f[96 + 9] = 5; }, "record count 5"},
    {"back-reference before the start", [](Bytes& f) { f[115] = 0x80; f[116] = 0x40; }, "before the record's start"},
    {"back-reference cut off", [](Bytes& f) { f.resize(116); f[115] = 0x80; }, "back-reference cut off"},
    {"verbatim run cut off", [](Bytes& f) { f[117] = 0x05; }, "verbatim run cut off"},
    {"not a text database", [](Bytes& f) { f[60] = 'D'; }, "its type is 'DEXt', not 'TEXt'"},
    {"no records", [](Bytes& f) { f[77] = 0; }, "no records"},
    {"record 0 too short", [](Bytes& f) { Put32(f, 86, 100); }, "record 0 too short"},
    {"unknown compression", [](Bytes& f) { f[97] = 9; }, "unknown compression"},
    {"too long for its record size", [](Bytes& f) { f[106] = 0; f[107] = 4; }, "more than 4 bytes"},
};

// One bookmark after the text: 148 bytes, the bookmark record at 128.
const Damage kBookmarkDamages[] = {
    {"bookmark record too long", [](Bytes& f) { f.push_back(0); }, "record 2: a bookmark of 21 bytes, not 20"},
    {"bookmark record too short", [](Bytes& f) { f.pop_back(); }, "record 2: a bookmark of 19 bytes, not 20"},
    {"bookmark past the text", [](Bytes& f) { Put32(f, 144, 19); }, "offset 19, past the end of the text (18 bytes)"},
};

template <std::size_t N>
void ExpectEachDamageRefused(const palmdoc::Bookmarks& bookmarks, std::size_t size, const Damage (&damages)[N]) {
    ScratchFolder folder;
    const std::string text = folder.Path("abc.txt");
    const std::string pdb = folder.Path("abc.pdb");
    WriteFile(text, Repeat(FromHex("61 62 63"), 6));
    ASSERT_EQ(palmdoc::WritePalmDoc(text.c_str(), pdb.c_str(), "test", nullptr, bookmarks),
              palmdoc::kWritePalmDocSucceeded);
    const Bytes good = ReadFile(pdb);
    ASSERT_EQ(good.size(), size);
    DatabaseText read;
    std::string error;
    ASSERT_TRUE(ReadDatabaseText(good, read, error)) << error;
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        Bytes bad = good;
        damage.apply(bad);
        error.clear();
        EXPECT_FALSE(ReadDatabaseText(bad, read, error));
        EXPECT_NE(error.find(damage.message), std::string::npos) << error;
    }
}

TEST(PalmDocReader, RefusesEachDamageWithItsMessage) {
    ExpectEachDamageRefused({}, 120, kDamages);
    ExpectEachDamageRefused({palmdoc::MakeBookmark("b", 3)}, 148, kBookmarkDamages);
}

}  // namespace
