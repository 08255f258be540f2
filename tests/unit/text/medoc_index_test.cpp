// The MeDoc index: entry format and titles, numbering by the entries that
// were gathered, and refused storage.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text_test_support.h"

using text::AddMeDocEntry;
using text::FinishMeDocIndex;
using text::HeapTextStorage;
using text::MeDocIndexBuffer;
using text::ReleaseMeDocIndex;
using text::TextStorage;

namespace {

std::string Padded(const std::string& title) { return title + std::string(30 - title.size(), ' '); }

struct EntryCase {
    const char* name;
    int linesBefore;
    std::string subject;
    std::string entry;
};

class Entries : public TextTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(Entries, HoldLineNumberAndThirtyByteTitle) {
    AddMeDocEntry(GetParam().linesBefore, GetParam().subject.c_str());
    FinishMeDocIndex();
    EXPECT_EQ(IndexText(), "#!Medoc index 1\n" + GetParam().entry);
}

// One entry: the index takes two lines before the text file's first byte.
INSTANTIATE_TEST_SUITE_P(
    AddMeDocEntry, Entries,
    ::testing::Values(
        EntryCase{"TwelveBytesPadded", 2, "twelve bytes", "4:twelve bytes" + std::string(18, ' ') + "\r\n"},
        EntryCase{"FiftyBytesCut", 121, std::string(20, 'a') + std::string(30, 'b'),
                  "123:" + std::string(20, 'a') + std::string(10, 'b') + "\r\n"},
        EntryCase{"EmptySubject", 7, "", "9:" + std::string(30, ' ') + "\r\n"},
        EntryCase{"FirstByteAtTheCutLeftOutAndPadded", 0, std::string(29, 'a') + "\x82\xA0",
                  "2:" + std::string(29, 'a') + " \r\n"},
        EntryCase{"BackslashSecondByteAtTheCut", 0, std::string(29, 'a') + "表",
                  "2:" + Padded(std::string(29, 'a')) + "\r\n"},
        EntryCase{"CloseBracketSecondByteEndsTheField", 0, std::string(28, 'a') + "評価",
                  "2:" + std::string(28, 'a') + "評\r\n"},
        EntryCase{"DoubleBytesOnly", 0, "予定表予定表予定表予定表予定表予定表", "2:予定表予定表予定表予定表予定表\r\n"}),
    [](const ::testing::TestParamInfo<EntryCase>& info) { return info.param.name; });

struct NumberingCase {
    const char* name;
    std::vector<int> linesBefore;
    std::vector<int> numbers;
};

class Numbering : public TextTest, public ::testing::WithParamInterface<NumberingCase> {};

TEST_P(Numbering, CountsTheIndexLinesThatAreThere) {
    std::string expected = "#!Medoc index " + std::to_string(GetParam().linesBefore.size()) + "\n";
    for (std::size_t entry = 0; entry < GetParam().linesBefore.size(); ++entry) {
        AddMeDocEntry(GetParam().linesBefore[entry], "s");
        expected += std::to_string(GetParam().numbers[entry]) + ":" + Padded("s") + "\r\n";
    }
    FinishMeDocIndex();
    EXPECT_EQ(IndexText(), expected);
}

INSTANTIATE_TEST_SUITE_P(FinishMeDocIndex, Numbering,
                         ::testing::Values(NumberingCase{"None", {}, {}},
                                           NumberingCase{"Three", {0, 10, 17}, {4, 14, 21}},
                                           NumberingCase{"TwoOfThree", {0, 17}, {3, 20}},
                                           NumberingCase{"NumbersGrowADigit", {5, 6}, {8, 9}}),
                         [](const ::testing::TestParamInfo<NumberingCase>& info) { return info.param.name; });

TEST_F(TextTest, ManyEntriesAreAllKept) {
    std::string expected = "#!Medoc index 1000\n";
    for (int entry = 0; entry < 1000; ++entry) {
        AddMeDocEntry(entry * 5, "subject");
        expected += std::to_string(1001 + entry * 5) + ":" + Padded("subject") + "\r\n";
    }
    FinishMeDocIndex();
    EXPECT_EQ(IndexText(), expected);
    EXPECT_EQ(MeDocIndexBuffer.entries, nullptr) << "only the text is kept once it is made";
}

TEST_F(TextTest, ReleaseLeavesTheBufferAbsentForTheNextRun) {
    AddMeDocEntry(3, "old");
    FinishMeDocIndex();
    ReleaseMeDocIndex();
    EXPECT_EQ(MeDocIndexBuffer.text, nullptr);
    EXPECT_EQ(MeDocIndexBuffer.entries, nullptr);
    AddMeDocEntry(0, "new");
    FinishMeDocIndex();
    EXPECT_EQ(IndexText(), "#!Medoc index 1\n2:" + Padded("new") + "\r\n");
}

TEST_F(TextTest, ReleaseBeforeFinishingFreesTheEntries) {
    AddMeDocEntry(0, "gathered");
    ReleaseMeDocIndex();
    FinishMeDocIndex();
    EXPECT_EQ(IndexText(), "#!Medoc index 0\n");
}

struct RefusalCase {
    const char* name;
    int grantedRequests;  // before the refusal
    int entries;
};

class RefusedStorage : public TextTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedStorage, DropsTheIndexForTheRun) {
    refusing_storage::Use(GetParam().grantedRequests);
    for (int entry = 0; entry < GetParam().entries; ++entry) AddMeDocEntry(entry, "subject");
    FinishMeDocIndex();
    EXPECT_EQ(MeDocIndexBuffer.text, nullptr);
    EXPECT_EQ(MeDocIndexBuffer.entries, nullptr);
    EXPECT_TRUE(MeDocIndexBuffer.dropped);

    // Storage back: the run stays without an index, the next run has one.
    TextStorage = HeapTextStorage;
    AddMeDocEntry(99, "late");
    FinishMeDocIndex();
    EXPECT_EQ(MeDocIndexBuffer.text, nullptr);
    ReleaseMeDocIndex();
    FinishMeDocIndex();
    EXPECT_EQ(IndexText(), "#!Medoc index 0\n");
}

// The entries take one block, grown when the first 64 are full; the text
// takes one more.
INSTANTIATE_TEST_SUITE_P(MeDocIndex, RefusedStorage,
                         ::testing::Values(RefusalCase{"EntriesNotObtained", 0, 3},
                                           RefusalCase{"EntriesNotGrown", 1, 100},
                                           RefusalCase{"TextNotObtained", 1, 3},
                                           RefusalCase{"TextOfNoEntriesNotObtained", 0, 0}),
                         [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

}  // namespace
