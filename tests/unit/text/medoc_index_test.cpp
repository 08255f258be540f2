// The MeDoc index buffer: entry format, growth, and refused storage.
#include <gtest/gtest.h>

#include <string>

#include "text_test_support.h"

namespace {

struct EntryCase {
    const char* name;
    int lineNumber;
    std::string subject;
    std::string entry;
};

class Entries : public TextTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(Entries, HoldLineNumberAndThirtyByteTitle) {
    AppendMeDocEntry(GetParam().lineNumber, GetParam().subject.c_str());
    EXPECT_EQ(IndexText(), GetParam().entry);
}

INSTANTIATE_TEST_SUITE_P(
    AppendMeDocEntry, Entries,
    ::testing::Values(
        EntryCase{"TwelveBytesPadded", 4, "twelve bytes", "4:twelve bytes" + std::string(18, ' ') + "\r\n"},
        EntryCase{"FiftyBytesCut", 123, std::string(20, 'a') + std::string(30, 'b'),
                  "123:" + std::string(20, 'a') + std::string(10, 'b') + "\r\n"},
        EntryCase{"EmptySubject", 9, "", "9:" + std::string(30, ' ') + "\r\n"},
        EntryCase{"CutInsideDoubleByte", 1, std::string(29, 'a') + "\x82\xA0",
                  "1:" + std::string(29, 'a') + "\x82" + "\r\n"}),
    [](const ::testing::TestParamInfo<EntryCase>& info) { return info.param.name; });

TEST_F(TextTest, FirstAppendObtainsOneKilobyte) {
    StartMeDocIndex(3);
    EXPECT_EQ(IndexText(), "#!Medoc index 3\n");
    EXPECT_EQ(MeDocIndexBuffer.capacity, 1024);
    EXPECT_EQ(MeDocIndexBuffer.free, 1024 - 16 - 1);
}

TEST_F(TextTest, GrowsByOneKilobyteAndKeepsTheText) {
    std::string expected;
    for (int entry = 0; entry < 100; ++entry) {
        AppendMeDocEntry(entry, "subject");
        expected += std::to_string(entry) + ":subject" + std::string(23, ' ') + "\r\n";
    }
    EXPECT_EQ(IndexText(), expected);
    EXPECT_GE(MeDocIndexBuffer.capacity, static_cast<int>(expected.size()) + 1);
    EXPECT_EQ(MeDocIndexBuffer.capacity % 1024, 0);
}

TEST_F(TextTest, LineLongerThanTheGrowthStepStillFits) {
    StartMeDocIndex(1);
    const std::string longLine(3000, 'x');
    AppendMeDocText(longLine.c_str());
    EXPECT_EQ(IndexText(), "#!Medoc index 1\n" + longLine);
    EXPECT_GE(MeDocIndexBuffer.capacity, 3000 + 17);
}

TEST_F(TextTest, ReleaseLeavesTheBufferAbsentForTheNextRun) {
    StartMeDocIndex(2);
    AppendMeDocEntry(3, "old");
    ReleaseMeDocIndex();
    EXPECT_EQ(MeDocIndexBuffer.text, nullptr);
    StartMeDocIndex(1);
    EXPECT_EQ(IndexText(), "#!Medoc index 1\n");
}

struct RefusalCase {
    const char* name;
    int grantedRequests;  // before the refusal
    int entries;
};

class RefusedStorage : public TextTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedStorage, DropsTheIndexForTheRun) {
    refusing_storage::Use(GetParam().grantedRequests);
    StartMeDocIndex(GetParam().entries);
    for (int entry = 0; entry < GetParam().entries; ++entry) AppendMeDocEntry(entry, "subject");
    EXPECT_EQ(MeDocIndexBuffer.text, nullptr);
    EXPECT_TRUE(MeDocIndexBuffer.dropped);

    // Storage back: the run stays without an index, the next run has one.
    TextStorage = HeapTextStorage;
    AppendMeDocEntry(99, "late");
    EXPECT_EQ(MeDocIndexBuffer.text, nullptr);
    ReleaseMeDocIndex();
    StartMeDocIndex(1);
    EXPECT_EQ(IndexText(), "#!Medoc index 1\n");
}

INSTANTIATE_TEST_SUITE_P(AppendMeDocText, RefusedStorage,
                         ::testing::Values(RefusalCase{"NotObtained", 0, 3}, RefusalCase{"NotGrown", 1, 100},
                                           RefusalCase{"NotGrownTwice", 2, 100}),
                         [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

}  // namespace
