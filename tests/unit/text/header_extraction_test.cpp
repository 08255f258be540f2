// Unfolding, header matching and the scan over the header lines.
#include <gtest/gtest.h>

#include <string>

#include "text/message_headers.h"
#include "text_test_support.h"

using settings::PluginSettings;
using text::CopyHeaderValue;
using text::ExtractHeaders;
using text::HeaderValue;
using text::MatchHeaderName;
using text::MessageHeaders;
using text::NextHeaderLine;
using text::ReleaseMessageHeaders;
using text::kHeaderValueLimit;

namespace {

std::string Copy(const std::string& value, std::size_t limit = kHeaderValueLimit) {
    std::string destination(limit + 1, '#');
    CopyHeaderValue(value.c_str(), &destination[0], limit);
    return destination.c_str();
}

struct UnfoldCase {
    const char* name;
    std::string value;
    std::string expected;
};

class Unfolding : public ::testing::TestWithParam<UnfoldCase> {};

TEST_P(Unfolding, JoinsContinuationLinesWithoutBlanks) {
    EXPECT_EQ(Copy(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    CopyHeaderValue, Unfolding,
    ::testing::Values(
        UnfoldCase{"EndsAtLineEnd", "Hello\r\nFrom: x\r\n", "Hello"},
        UnfoldCase{"EndsAtEmptyLine", "Hello\r\n\r\nbody", "Hello"},
        UnfoldCase{"EndsAtNul", "Hello", "Hello"},
        UnfoldCase{"TabContinuation", "one\r\n\ttwo\r\n\tthree\r\nX: y", "onetwothree"},
        UnfoldCase{"SpacesContinuation", "one\r\n    two\r\n  three\r\n\r\n", "onetwothree"},
        UnfoldCase{"MixedBlanksContinuation", "one\r\n \t two\r\n", "onetwo"},
        UnfoldCase{"BlankOnlyContinuationAddsNothing", "one\r\n   \r\n two\r\n", "onetwo"},
        UnfoldCase{"ContinuationAtEndOfText", "one\r\n  ", "one"},
        UnfoldCase{"InnerAndLeadingBlanksStay", "  a  b \r\n", "  a  b "},
        UnfoldCase{"CrDroppedAnywhere", "a\rb\r\r\nc", "ab"},
        UnfoldCase{"BareLfFolds", "a\n b\nc", "ab"},
        UnfoldCase{"HighBytesCopied", "\x82\xA0\x81\x40\r\n", "\x82\xA0\x81\x40"},
        UnfoldCase{"Empty", "\r\nNext: v", ""}),
    [](const ::testing::TestParamInfo<UnfoldCase>& info) { return info.param.name; });

struct CutCase {
    const char* name;
    std::string value;
    std::size_t limit;
    std::string expected;
};

class Cutting : public ::testing::TestWithParam<CutCase> {};

TEST_P(Cutting, EndsOnACharacterBoundary) { EXPECT_EQ(Copy(GetParam().value, GetParam().limit), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    CopyHeaderValue, Cutting,
    ::testing::Values(
        CutCase{"AsciiAtTheLimit", std::string(300, 'a'), 255, std::string(255, 'a')},
        CutCase{"FirstByteWithoutRoomLeftOut", std::string(254, 'a') + "表tail\r\n", 255, std::string(254, 'a')},
        CutCase{"CharacterEndingAtTheLimitKept", std::string(253, 'a') + "表tail", 255,
                std::string(253, 'a') + "表"},
        CutCase{"TitleOfDoubleBytesOnly", "予定表予定表予定表予定表予定表予定表", 30, "予定表予定表予定表予定表予定表"},
        CutCase{"TitleCutBeforeALeadByte", "a予定表予定表予定表予定表予定表", 30, "a予定表予定表予定表予定表予定"},
        CutCase{"HalfWidthKatakanaIsOneByte", std::string(29, 'a') + "\xB1\xB2", 30, std::string(29, 'a') + "\xB1"},
        CutCase{"CharacterAfterAFold", std::string(28, 'a') + "\r\n\t表x", 30, std::string(28, 'a') + "表"},
        CutCase{"IsoJapaneseUnchanged", "\x1B$B$3$s$K$A$O\x1B(B", 8, "\x1B$B$3$s$"}),
    [](const ::testing::TestParamInfo<CutCase>& info) { return info.param.name; });

TEST(CopyHeaderValue, LimitCountsCopiedBytesNotDroppedOnes) {
    EXPECT_EQ(Copy("ab\r\n\tcd\r\n\tef", 4), "abcd");
}

TEST(CopyHeaderValue, NeverWritesBeyondLimitPlusOne) {
    char destination[6] = {'#', '#', '#', '#', '#', '#'};
    CopyHeaderValue("abcdefgh", destination, 4);
    EXPECT_STREQ(destination, "abcd");
    EXPECT_EQ(destination[5], '#');
}

struct MatchCase {
    const char* name;
    std::string line;
    const char* header;
    bool matches;
    std::string value;  // the value start's text, when it matches
};

class Matching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Matching, FindsTheValueOfExactNamesOnly) {
    const MatchCase& test = GetParam();
    const char* value = MatchHeaderName(test.line.c_str(), test.header);
    ASSERT_EQ(value != nullptr, test.matches);
    if (test.matches) {
        EXPECT_EQ(std::string(value), test.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    MatchHeaderName, Matching,
    ::testing::Values(
        MatchCase{"UsualForm", "Subject: Hi\r\n", "Subject:", true, "Hi\r\n"},
        MatchCase{"OnlyOneBlankPassed", "Subject:  Hi\r\n", "Subject:", true, " Hi\r\n"},
        MatchCase{"TabSeparates", "From:\tme\r\n", "From:", true, "me\r\n"},
        MatchCase{"NoBlankKeepsFirstCharacter", "Subject:X\r\n", "Subject:", true, "X\r\n"},
        MatchCase{"EmptyValueStartsAtLineEnd", "Date:\r\nX", "Date:", true, "\r\nX"},
        MatchCase{"TextEndsAfterColon", "Date:", "Date:", true, ""},
        MatchCase{"LowerCase", "subject: Hi\r\n", "Subject:", false, ""},
        MatchCase{"BlankBeforeColon", "Subject : Hi\r\n", "Subject:", false, ""},
        MatchCase{"ResentForm", "Resent-From: a\r\n", "From:", false, ""},
        MatchCase{"LongerName", "Subjects: a\r\n", "Subject:", false, ""},
        MatchCase{"ShortLine", "Subj", "Subject:", false, ""}),
    [](const ::testing::TestParamInfo<MatchCase>& info) { return info.param.name; });

TEST(NextHeaderLine, StepsOverContinuationLinesAndStopsAtTheEmptyLine) {
    const char* text = "A: 1\r\n\tmore\r\n  more\r\nB: 2\r\n\r\nC: 3\r\n";
    const char* second = NextHeaderLine(text);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(std::string(second, 4), "B: 2");
    EXPECT_EQ(NextHeaderLine(second), nullptr);
}

TEST(NextHeaderLine, EndsAtTheEndOfTheText) {
    EXPECT_EQ(NextHeaderLine("A: 1"), nullptr);
    EXPECT_EQ(NextHeaderLine("A: 1\r\n"), nullptr);
    EXPECT_EQ(NextHeaderLine("A: 1\r\n\t2"), nullptr);
}

struct ExtractCase {
    const char* name;
    std::string text;
    const char* subject;  // null: absent
    const char* from;
    const char* date;
};

class Extraction : public TextTest, public ::testing::WithParamInterface<ExtractCase> {};

void ExpectValue(const HeaderValue* value, const char* expected) {
    if (expected == nullptr) {
        EXPECT_EQ(value, nullptr);
    } else {
        ASSERT_NE(value, nullptr);
        EXPECT_STREQ(value->text, expected);
    }
}

TEST_P(Extraction, FillsTheRecordFromTheHeaderOnly) {
    PluginSettings.TrimSubject = 0;
    const ExtractCase& test = GetParam();
    MessageHeaders headers = {};
    ExtractHeaders(test.text.c_str(), headers);
    ExpectValue(headers.subject, test.subject);
    ExpectValue(headers.from, test.from);
    ExpectValue(headers.date, test.date);
    ReleaseMessageHeaders(headers);
}

INSTANTIATE_TEST_SUITE_P(
    ExtractHeaders, Extraction,
    ::testing::Values(
        ExtractCase{"AllThree", "Date: d\r\nFrom: f\r\nSubject: s\r\n\r\nbody\r\n", "s", "f", "d"},
        ExtractCase{"FirstLineExamined", "Subject: first\r\n\r\n", "first", nullptr, nullptr},
        ExtractCase{"NoHeaders", "X-A: 1\r\n\r\nSubject: body\r\n", nullptr, nullptr, nullptr},
        ExtractCase{"BodyNeverScanned", "From: f\r\n\r\nSubject: in body\r\nDate: x\r\n", nullptr, "f", nullptr},
        ExtractCase{"LastOccurrenceWins", "Date: one\r\nDate: two\r\n\r\n", nullptr, nullptr, "two"},
        ExtractCase{"ResentFromIgnored", "Resent-From: r\r\nFrom: f\r\n\r\n", nullptr, "f", nullptr},
        ExtractCase{"OtherCaseIgnored", "subject: s\r\nFROM: f\r\n\r\n", nullptr, nullptr, nullptr},
        ExtractCase{"FoldedSubject", "Subject: a\r\n\tb\r\n   c\r\nFrom: f\r\n\r\n", "abc", "f", nullptr},
        ExtractCase{"ContinuationNotTakenAsHeader", "X: 1\r\n Subject: no\r\n\r\n", nullptr, nullptr, nullptr},
        ExtractCase{"EmptyValue", "Subject:\r\nFrom: f\r\n\r\n", "", "f", nullptr},
        ExtractCase{"BareLfAfterColonDoesNotTakeNextLine", "Subject:\nFrom: f\n\n", "", "f", nullptr},
        ExtractCase{"NoEmptyLine", "Subject: s\r\nFrom: f", "s", "f", nullptr},
        ExtractCase{"EmptyText", "", nullptr, nullptr, nullptr}),
    [](const ::testing::TestParamInfo<ExtractCase>& info) { return info.param.name; });

TEST_F(TextTest, ExtractHeadersCutsLongValuesAt255Bytes) {
    const std::string subject(300, 's');
    MessageHeaders headers = {};
    ExtractHeaders(("Subject: " + subject + "\r\n\r\n").c_str(), headers);
    ASSERT_NE(headers.subject, nullptr);
    EXPECT_EQ(std::string(headers.subject->text), subject.substr(0, 255));
    ReleaseMessageHeaders(headers);
}

TEST_F(TextTest, ExtractHeadersNeverEndsAValueInsideACharacter) {
    // 128 characters of two bytes: 255 bytes would end in a first byte.
    std::string from;
    for (int i = 0; i < 64; ++i) from += "申能";
    MessageHeaders headers = {};
    ExtractHeaders(("From: " + from + "\r\n\r\n").c_str(), headers);
    ASSERT_NE(headers.from, nullptr);
    EXPECT_EQ(std::string(headers.from->text), from.substr(0, 254));
    ReleaseMessageHeaders(headers);
}

TEST_F(TextTest, ExtractHeadersAppliesOnlyTheCleanUpsSwitchedOn) {
    const char* text = "Subject: [t] s\r\nFrom: n <a@b>\r\nDate: Tue, 7 Jan 2025 09:05:00 -0500\r\n\r\n";
    MessageHeaders headers = {};
    ExtractHeaders(text, headers);
    EXPECT_STREQ(headers.subject->text, "s");
    EXPECT_STREQ(headers.from->text, "n <a@b>");
    EXPECT_STREQ(headers.date->text, "Tue, 7 Jan 2025 09:05:00 -0500");
    ReleaseMessageHeaders(headers);

    PluginSettings.TrimSubject = 0;
    PluginSettings.TrimFrom = 7;  // any non-zero value is on
    PluginSettings.ConvDate = 1;
    ExtractHeaders(text, headers);
    EXPECT_STREQ(headers.subject->text, "[t] s");
    EXPECT_STREQ(headers.from->text, "n");
    EXPECT_STREQ(headers.date->text, "1/7 09:05 -0500");
    ReleaseMessageHeaders(headers);
}

TEST_F(TextTest, RefusedValueStorageLeavesTheHeaderOut) {
    refusing_storage::Use(0);
    MessageHeaders headers = {};
    ExtractHeaders("Subject: s\r\nFrom: f\r\n\r\n", headers);
    EXPECT_EQ(headers.subject, nullptr);
    EXPECT_EQ(headers.from, nullptr);
}

TEST_F(TextTest, RefusedValueStorageKeepsAnEarlierOccurrence) {
    refusing_storage::Use(2);  // Subject and the first Date
    MessageHeaders headers = {};
    ExtractHeaders("Subject: s\r\nDate: one\r\nDate: two\r\nFrom: f\r\n\r\n", headers);
    ExpectValue(headers.subject, "s");
    ExpectValue(headers.date, "one");
    ExpectValue(headers.from, nullptr);
    ReleaseMessageHeaders(headers);
}

}  // namespace
