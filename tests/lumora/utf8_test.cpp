// The one UTF-8 codec and the ASCII letter case: every program reads and writes names through
// these, so a character above U+FFFF must survive both ways on Windows' UTF-16 too.
#include "lumora/utf8.h"

#include <gtest/gtest.h>

namespace {

const std::wstring clef = L"\U0001D11E"; // a surrogate pair where wide text is UTF-16

struct SequenceCase {
    const char *label;
    std::string bytes;
    size_t length; // of the sequence at the start; 0 when it is none
    char32_t code;
};

class Utf8Sequence : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(Utf8Sequence, IsTakenOnlyWhenWellFormed)
{
    char32_t code = 0;
    EXPECT_EQ(lumora::Utf8SequenceAt(GetParam().bytes, 0, code), GetParam().length);
    if (GetParam().length > 0) {
        EXPECT_EQ(code, GetParam().code);
    }
    EXPECT_EQ(lumora::IsUtf8(GetParam().bytes), GetParam().length == GetParam().bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Bytes, Utf8Sequence,
                         ::testing::Values(SequenceCase{"Ascii", "A", 1, 0x41},
                                           SequenceCase{"TwoBytes", "\xc3\xa9", 2, 0xe9},
                                           SequenceCase{"ThreeBytes", "\xe2\x82\xac", 3, 0x20ac},
                                           SequenceCase{"FourBytes", "\xf0\x9d\x84\x9e", 4, 0x1d11e},
                                           SequenceCase{"StrayContinuation", "\x80", 0, 0},
                                           SequenceCase{"Overlong", "\xc0\xaf", 0, 0},
                                           SequenceCase{"Surrogate", "\xed\xa0\xb4", 0, 0},
                                           SequenceCase{"BeyondUnicode", "\xf4\x90\x80\x80", 0, 0},
                                           SequenceCase{"CutShort", "\xf0\x9d\x84", 0, 0},
                                           SequenceCase{"ContinuationMissing", "\xc3(", 0, 0}),
                         [](const ::testing::TestParamInfo<SequenceCase> &info) {
                             return std::string(info.param.label);
                         });

TEST(Utf8, AstralCharacterRoundTripsThroughWideText)
{
    std::string bytes = "a\xf0\x9d\x84\x9e"
                        "b";
    std::wstring wide = lumora::WideFromUtf8(bytes);
    EXPECT_EQ(wide, L"a" + clef + L"b");
    EXPECT_EQ(lumora::Utf8FromWide(wide), bytes);
    size_t used = 0;
    EXPECT_EQ(lumora::CharacterAt(wide, 1, used), 0x1D11Eu);
    EXPECT_EQ(used, clef.size());
    std::u16string units = u"a\U0001D11Eb";
    EXPECT_EQ(lumora::WideFromUtf16(units), wide);
}

TEST(Utf8, WhatIsNoCharacterBecomesTheReplacementCharacter)
{
    EXPECT_EQ(lumora::WideFromUtf8("a\xff\xc3"), L"a\uFFFD\uFFFD");
    EXPECT_EQ(lumora::WideFromUtf16(std::u16string(1, char16_t(0xD834)) + u"x"), L"\uFFFDx");
    EXPECT_EQ(lumora::Utf8FromCharacter(0x110000), "\xef\xbf\xbd");
    EXPECT_EQ(lumora::Utf8FromCharacter(0xDC00), "\xef\xbf\xbd");
}

TEST(AsciiCase, FoldsOnlyTheLettersAToZ)
{
    EXPECT_EQ(lumora::AsciiUppercase(std::wstring(L"abz\u00e9{")), L"ABZ\u00e9{");
    EXPECT_EQ(lumora::AsciiUppercase(std::string("con.txt")), "CON.TXT");
    EXPECT_TRUE(lumora::SameIgnoringAsciiCase(L"Startmenu Links", L"STARTMENU links"));
    EXPECT_FALSE(lumora::SameIgnoringAsciiCase(L"\u00e9", L"\u00c9"));
    EXPECT_FALSE(lumora::SameIgnoringAsciiCase(L"File1", L"File12"));
}

} // namespace
