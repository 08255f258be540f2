// Searches and cuts that step over the double-byte characters of code page
// 932, with the characters whose second byte is "\", "]" or "[".
#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace cp932 = platform::cp932;

namespace {

// The sources are UTF-8; the compiler must emit these as code page 932 for
// every other test here to mean anything.
TEST(Cp932, LiteralsAreShiftJis) {
    EXPECT_EQ(std::string("表"), "\x95\x5C");
    EXPECT_EQ(std::string("評"), "\x95\x5D");
    EXPECT_EQ(std::string("ー"), "\x81\x5B");
}

struct SearchCase {
    const char* name;
    std::string text;
    const char* set;
    int first;  // offset of the first match, -1 for none
    int last;
};

class Searches : public ::testing::TestWithParam<SearchCase> {};

int Offset(const char* found, const std::string& text) {
    return found == nullptr ? -1 : static_cast<int>(found - text.c_str());
}

TEST_P(Searches, FindOnlyWholeCharacters) {
    const SearchCase& test = GetParam();
    EXPECT_EQ(Offset(cp932::FindFirstOf(test.text.c_str(), test.set), test.text), test.first);
    EXPECT_EQ(Offset(cp932::FindLastOf(test.text.c_str(), test.set), test.text), test.last);
}

INSTANTIATE_TEST_SUITE_P(
    Cp932, Searches,
    ::testing::Values(
        SearchCase{"AsciiPath", "C:\\Mail\\inbox.ctx", "\\", 2, 7},
        SearchCase{"NoMatch", "inbox.ctx", "\\", -1, -1},
        SearchCase{"Empty", "", "\\", -1, -1},
        SearchCase{"SecondByteOfHyoIsNoSeparator", "C:\\予定表.ctx", "\\", 2, 2},
        SearchCase{"EveryBackslashCharacter", "ソ表予十申能構貼暴", "\\", -1, -1},
        SearchCase{"EveryCloseBracketCharacter", "ゾ江転評望余従脳", "]", -1, -1},
        SearchCase{"EveryOpenBracketCharacter", "ーゼ充深端票夕", "[", -1, -1},
        SearchCase{"BracketAfterDoubleBytes", "[評価] 結果", "]", 5, 5},
        SearchCase{"HalfWidthKatakanaIsSingleByte", "\xB1\x5C", "\\", 1, 1},
        SearchCase{"LeadByteAtTheEndStandsAlone", "a\x95", "\\", -1, -1},
        SearchCase{"SetOfTwo", "a/b\\表c", "/\\", 1, 3}),
    [](const ::testing::TestParamInfo<SearchCase>& info) { return info.param.name; });

struct FitCase {
    const char* name;
    std::string text;
    std::size_t limit;
    std::size_t length;
};

class Fitting : public ::testing::TestWithParam<FitCase> {};

TEST_P(Fitting, EndsOnACharacterBoundary) {
    EXPECT_EQ(cp932::FittingLength(GetParam().text.c_str(), GetParam().limit), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Cp932, Fitting,
    ::testing::Values(FitCase{"AsciiCutAtLimit", std::string(40, 'a'), 31, 31},
                      FitCase{"ShortTextWhole", "abc", 31, 3},
                      FitCase{"LeadByteAtTheLimitLeftOut", std::string(30, 'a') + "表", 31, 30},
                      FitCase{"CharacterEndingAtTheLimitKept", std::string(29, 'a') + "表", 31, 31},
                      FitCase{"AllDoubleByteOddLimit", "予定表予定表", 5, 4},
                      FitCase{"ZeroLimit", "表", 0, 0},
                      FitCase{"LoneLeadByteAtTheEnd", "ab\x95", 3, 3}),
    [](const ::testing::TestParamInfo<FitCase>& info) { return info.param.name; });

}  // namespace
