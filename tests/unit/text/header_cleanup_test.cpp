// The subject tag, From and Date clean-ups, with the forms that trip them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text/header_cleanup.h"

using text::ConvertDate;
using text::HeaderValue;
using text::TrimFromValue;
using text::TrimSubjectTag;
using text::kHeaderValueSize;

namespace {

struct CleanUpCase {
    const char* name;
    std::string value;
    std::string expected;
};

std::string Apply(void (*cleanUp)(HeaderValue&), const std::string& text) {
    HeaderValue value = {};
    std::memcpy(value.text, text.c_str(), text.size() + 1);
    cleanUp(value);
    return value.text;
}

std::string CaseName(const ::testing::TestParamInfo<CleanUpCase>& info) { return info.param.name; }

class SubjectTag : public ::testing::TestWithParam<CleanUpCase> {};

TEST_P(SubjectTag, RemovesOneLeadingTag) { EXPECT_EQ(Apply(TrimSubjectTag, GetParam().value), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    TrimSubjectTag, SubjectTag,
    ::testing::Values(CleanUpCase{"MailingListTag", "[ml:01234] Meeting", "Meeting"},
                      CleanUpCase{"SecondSpaceStays", "[ml:01234]  Meeting", " Meeting"},
                      CleanUpCase{"TabStays", "[ml]\tMeeting", "\tMeeting"},
                      CleanUpCase{"NoSpaceAfterTag", "[ml]Meeting", "Meeting"},
                      CleanUpCase{"TagAloneStays", "[ml:01234]", "[ml:01234]"},
                      CleanUpCase{"TagAndSpaceOnly", "[ml] ", ""},
                      CleanUpCase{"ReplyPrefixStays", "Re: [ml:1] Meeting", "Re: [ml:1] Meeting"},
                      CleanUpCase{"LeadingBlanksStay", "  [ml] Meeting", "  Meeting"},
                      CleanUpCase{"VerticalTabIsWhiteSpace", "\v[ml] Meeting", "\vMeeting"},
                      CleanUpCase{"OnlyFirstTag", "[a][b] c", "[b] c"},
                      CleanUpCase{"FirstCloseEndsTag", "[a[b]] c", "] c"},
                      CleanUpCase{"UnclosedUnchanged", "[ml Meeting", "[ml Meeting"},
                      CleanUpCase{"HighByteIsNotBlank", "\x81\x40[ml] x", "\x81\x40[ml] x"},
                      CleanUpCase{"Empty", "", ""},
                      // Tags whose characters end in the byte of "]" or "[".
                      CleanUpCase{"HyoTagRemovedWhole", "[評価] 結果", "結果"},
                      CleanUpCase{"TenInMailingListTag", "[ML:転送] 連絡", "連絡"},
                      CleanUpCase{"EveryCloseBracketCharacter", "[ゾ江転評望余従脳] x", "x"},
                      CleanUpCase{"EveryOpenBracketCharacter", "[ーゼ充深端票夕] x", "x"},
                      CleanUpCase{"TagOfJapaneseAloneStays", "[評価]", "[評価]"},
                      CleanUpCase{"NoCloseButInsideCharacter", "[評価 結果", "[評価 結果"},
                      CleanUpCase{"JapaneseAfterTag", "[ml:1] 評価", "評価"}),
    CaseName);

class FromValue : public ::testing::TestWithParam<CleanUpCase> {};

TEST_P(FromValue, KeepsWhatLiesOutsideCommentsAndAddresses) {
    EXPECT_EQ(Apply(TrimFromValue, GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    TrimFromValue, FromValue,
    ::testing::Values(
        CleanUpCase{"NameAndAddress", "Taro Yamada <taro@example.jp>", "Taro Yamada"},
        CleanUpCase{"QuotedNameKeepsQuotes", "\"Yamada, Taro\" <taro@example.jp>", "\"Yamada, Taro\""},
        CleanUpCase{"AddressAndComment", "taro@example.jp (Taro Yamada)", "taro@example.jp"},
        CleanUpCase{"AddressAloneUnchanged", "<taro@example.jp>", "<taro@example.jp>"},
        CleanUpCase{"BlanksBeforeAddressKept", "  <taro@example.jp> x", "  <taro@example.jp> x"},
        CleanUpCase{"CommentAlone", "(nobody)", ""},
        CleanUpCase{"TrailingTabStays", "Taro\t<t@x>", "Taro\t"},
        CleanUpCase{"TrailingSpacesGoInnerStay", "a  b   <t@x>  ", "a  b"},
        CleanUpCase{"LeadingBlanksRemoved", "  Taro <t@x>", "Taro"},
        CleanUpCase{"BracketsInQuotesCount", "\"a <b> (c)\" <t@x>", "\"a <b> (c)\""},
        CleanUpCase{"EscapeParenIsNotComment", "\x1B$B$?$m$&\x1B(B <t@x>", "\x1B$B$?$m$&\x1B(B"},
        CleanUpCase{"EscapeShieldsQuote", "a\x1B\"Bb (c)", "a\x1B\"Bb"},
        CleanUpCase{"NestedComment", "a (b (c) d) e", "a  e"},
        CleanUpCase{"StrayCloseStopsCopy", "a) b <c> d", "a)"},
        CleanUpCase{"StrayAddressCloseStopsCopy", "a> b", "a>"},
        CleanUpCase{"StopsAtCr", "Taro\rrest", "Taro"},
        CleanUpCase{"HighBytesKept", "\x8E\x52\x93\x63 <t@x>", "\x8E\x52\x93\x63"}),
    CaseName);

class DateValue : public ::testing::TestWithParam<CleanUpCase> {};

TEST_P(DateValue, RewritesAsMonthDayTimeZone) { EXPECT_EQ(Apply(ConvertDate, GetParam().value), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    ConvertDate, DateValue,
    ::testing::Values(
        CleanUpCase{"Usual", "Mon, 6 Dec 2026 21:31:56 +0900", "12/6 21:31 +0900"},
        CleanUpCase{"PaddedTime", "Tue, 7 Jan 2025 09:05:00 -0500", "1/7 09:05 -0500"},
        CleanUpCase{"NoDayName", "17 Feb 2025 1:2:3 GMT", "2/17 01:02 GMT"},
        CleanUpCase{"NoSecondsTakesZoneAsSeconds", "Mon, 6 Dec 2026 21:31 +0900", "12/6 21:31 "},
        CleanUpCase{"UpperCaseMonth", "Mon, 6 DEC 2026 21:31:56 +0900", "0/6 21:31 +0900"},
        CleanUpCase{"MonthNotOnTripleBoundary", "6 anF 2026 21:31:56 +0900", "1/6 21:31 +0900"},
        CleanUpCase{"LongZoneDropped", "6 Dec 2026 21:31:56 Pacific/Auckland", "12/6 21:31 "},
        CleanUpCase{"SevenByteZoneKept", "6 Dec 2026 21:31:56 ABCDEFG", "12/6 21:31 ABCDEFG"},
        CleanUpCase{"ZoneCommentLeftOut", "6 Dec 2026 21:31:56 +0900 (JST)", "12/6 21:31 +0900"},
        CleanUpCase{"ZoneEndsAtCr", "6 Dec 2026 21:31:56 \r+0900", "12/6 21:31 "},
        CleanUpCase{"Empty", "", "1/0 00:00 "},
        CleanUpCase{"DayOnly", "6", "1/6 00:00 "},
        CleanUpCase{"HighBytesAreNotDigits", "\xB6\xB7 6 Dec 2026 21:31:56 +0900", "12/6 21:31 +0900"},
        CleanUpCase{"HighBytesAreNotBlanks", "6\xA0" "Dec 2026 21:31:56 +0900", "0/6 21:31 +0900"},
        CleanUpCase{"HighByteZone", "6 Dec 2026 21:31:56 \x93\xFA\x96\x7B", "12/6 21:31 \x93\xFA\x96\x7B"}),
    CaseName);

TEST(ConvertDate, HugeNumbersStayInsideTheBuffer) {
    const std::string digits(60, '9');
    const std::string converted = Apply(ConvertDate, digits + " Dec " + digits + " " + digits + ":" + digits);
    EXPECT_LT(converted.size(), kHeaderValueSize);
    EXPECT_NE(converted.find('/'), std::string::npos);
}

}  // namespace
