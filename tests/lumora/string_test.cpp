#include "lumora/string.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

using lumora::String;

namespace {

std::wstring Wide(const String &s)
{
    return std::wstring(static_cast<const wchar_t *>(s), static_cast<size_t>(s.Length()));
}

std::string Narrow(const String &s)
{
    return static_cast<const char *>(s);
}

} // namespace

TEST(StringConversion, NullAndEmptyGiveTheEmptyString)
{
    EXPECT_EQ(String(static_cast<const char *>(nullptr)).Length(), 0);
    EXPECT_EQ(String(static_cast<const wchar_t *>(nullptr)).Length(), 0);
    EXPECT_EQ(String("").Length(), 0);
    EXPECT_STREQ(static_cast<const char *>(String()), "");
    EXPECT_STREQ(static_cast<const wchar_t *>(String()), L"");
}

TEST(StringConversion, AsciiTravelsUnchangedBothWays)
{
    String s("setup.tsi \\ [Component Setup] ~");
    EXPECT_EQ(Wide(s), L"setup.tsi \\ [Component Setup] ~");
    EXPECT_EQ(Narrow(String(L"Program Files\\Demo")), "Program Files\\Demo");
}

#ifdef _WIN32
TEST(StringConversion, NonAsciiUsesTheSystemCodePage)
{
    if (GetACP() != 1252) GTEST_SKIP() << "the expected bytes are those of code page 1252";
    EXPECT_EQ(Wide(String("Gr\xFC\xDF"
                          "e \x80")),
              L"Gr\u00FC\u00DFe \u20AC");
    EXPECT_EQ(Narrow(String(L"Gr\u00FC\u00DFe \u20AC")), "Gr\xFC\xDF"
                                                         "e \x80");
}
#else
TEST(StringConversion, NonAsciiIsUtf8BothWays)
{
    const char *utf8 = "Gr\xC3\xBC\xC3\x9F"
                       "e \xE2\x82\xAC \xF0\x9F\x98\x80";
    const wchar_t *wide = L"Gr\u00FC\u00DFe \u20AC \U0001F600";
    EXPECT_EQ(Wide(String(utf8)), wide);
    EXPECT_EQ(Narrow(String(wide)), utf8);
}

TEST(StringConversion, MalformedUtf8BecomesReplacementCharacters)
{
    struct Case {
        const char *bytes;
        std::wstring expected;
    } cases[] = {
        {"a\xFF"
         "b",
         L"a\uFFFD"
         "b"},
        {"\xC0\xAF", L"\uFFFD\uFFFD"},                    // overlong "/"
        {"\xE2\x82", L"\uFFFD\uFFFD"},                    // cut short at the end
        {"\xE2\x82z", L"\uFFFD\uFFFDz"},                  // cut short before another character
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},          // an encoded surrogate
        {"\xF4\x90\x80\x80", std::wstring(4, L'\uFFFD')}, // beyond U+10FFFF
        {"\x80", L"\uFFFD"},                              // a lone continuation byte
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(Wide(String(c.bytes)), c.expected);
    }
}

TEST(StringConversion, WideValuesThatAreNoCharactersBecomeReplacementCharacters)
{
    const wchar_t text[] = {L'a', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000), L'b', 0};
    EXPECT_EQ(Narrow(String(text)), "a\xEF\xBF\xBD\xEF\xBF\xBD"
                                    "b");
}
#endif

TEST(StringConversion, PointersStayValidUntilTheStringChanges)
{
    String s("abc");
    const char *first = static_cast<const char *>(s);
    EXPECT_EQ(first, static_cast<const char *>(s));
    s[0] = L'x';
    EXPECT_STREQ(static_cast<const char *>(s), "xbc");
    s.Append("d");
    EXPECT_STREQ(static_cast<const char *>(s), "xbcd");
    s = "new";
    EXPECT_STREQ(static_cast<const char *>(s), "new");
}

TEST(StringConversion, AssigningTheStringsOwnTextKeepsIt)
{
    String s("same text");
    s = static_cast<const char *>(s);
    EXPECT_EQ(Wide(s), L"same text");
    s = static_cast<const wchar_t *>(s);
    EXPECT_EQ(Wide(s), L"same text");
}

TEST(StringConversion, ExplicitLengthKeepsEmbeddedZeros)
{
    String s(L"a\0b", 3);
    EXPECT_EQ(s.Length(), 3);
    EXPECT_EQ(s[1], L'\0');
    EXPECT_EQ(s[2], L'b');
}

TEST(StringCopy, CopiesAreIndependentAndMovesEmptyTheSource)
{
    String original("abc");
    String copy(original);
    copy[0] = L'z';
    EXPECT_EQ(Wide(original), L"abc");
    String moved(std::move(copy));
    EXPECT_EQ(Wide(moved), L"zbc");
    EXPECT_EQ(copy.Length(), 0);
    String assigned;
    assigned = std::move(moved);
    EXPECT_EQ(Wide(assigned), L"zbc");
    EXPECT_EQ(moved.Length(), 0);
}

TEST(StringIndexing, WritingZeroPastTheEndSizesTheString)
{
    // The licence text is built this way: size first, then fill each position.
    String s;
    s[5] = 0;
    ASSERT_EQ(s.Length(), 5);
    for (int i = 0; i < 5; i++) EXPECT_EQ(s[i], L'\0');
    const char *letters = "hello";
    for (int i = 0; i < 5; i++) s[i] = static_cast<unsigned char>(letters[i]);
    EXPECT_EQ(s.Length(), 5);
    EXPECT_EQ(Wide(s), L"hello");
}

TEST(StringIndexing, WritingACharacterPastTheEndPadsWithZeros)
{
    String s("ab");
    s[4] = L'x';
    ASSERT_EQ(s.Length(), 5);
    EXPECT_EQ(s[2], L'\0');
    EXPECT_EQ(s[3], L'\0');
    EXPECT_EQ(s[4], L'x');
}

TEST(StringIndexing, WritingZeroAtTheEndOrInsideKeepsTheLength)
{
    String s("abc");
    s[3] = 0;
    EXPECT_EQ(s.Length(), 3);
    s[1] = 0;
    EXPECT_EQ(s.Length(), 3);
    EXPECT_EQ(s[2], L'c');
}

TEST(StringIndexing, ReadingOutsideGivesZeroAndChangesNothing)
{
    const String s("abc");
    EXPECT_EQ(s[-1], L'\0');
    EXPECT_EQ(s[3], L'\0');
    EXPECT_EQ(s[1000], L'\0');
    EXPECT_EQ(s.Length(), 3);

    String writable("abc");
    writable[-1] = L'x';
    EXPECT_EQ(Wide(writable), L"abc");
}

TEST(StringAppend, AppendsAndConcatenates)
{
    String s("Program Files");
    s.Append("\\").Append(L"Demo");
    EXPECT_EQ(Wide(s), L"Program Files\\Demo");
    EXPECT_EQ(Wide(String("a") + String("b") + String("")), L"ab");
}

TEST(StringAppend, AppendingItselfDoublesTheText)
{
    String s("ab");
    s.Append(s);
    EXPECT_EQ(Wide(s), L"abab");
}

TEST(StringNumbers, ToIntReadsTheLeadingDecimalNumber)
{
    struct Case {
        const char *text;
        int expected;
    } cases[] = {
        {"", 0},
        {"-", 0},
        {"+", 0},
        {"+5", 5},
        {"-42", -42},
        {" 12", 12},
        {"\t\r\n 7", 7},
        {"007", 7},
        {"12abc", 12},
        {"1 2", 1},
        {"abc", 0},
        {"- 5", 0},
        {"--5", 0},
        {"0x10", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"-99999999999999999999999999", INT_MIN},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        EXPECT_EQ(String(c.text).ToInt(), c.expected);
    }
}

TEST(StringNumbers, ToIntTakesOnlyAsciiDigits)
{
    EXPECT_EQ(String(L"\u0663").ToInt(), 0);  // ARABIC-INDIC DIGIT THREE
    EXPECT_EQ(String(L"4\uFF15").ToInt(), 4); // FULLWIDTH DIGIT FIVE ends the number
}

TEST(StringNumbers, FromIntWritesDecimal)
{
    struct Case {
        long long value;
        const wchar_t *expected;
    } cases[] = {
        {0, L"0"},
        {7, L"7"},
        {-1, L"-1"},
        {1234567890, L"1234567890"},
        {INT_MIN, L"-2147483648"},
        {LLONG_MAX, L"9223372036854775807"},
        {LLONG_MIN, L"-9223372036854775808"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Wide(String::FromInt(c.value)), c.expected);
    }
}

TEST(StringNumbers, FromIntAndToIntRoundTripOverTheIntRange)
{
    for (int value : {INT_MIN, INT_MIN + 1, -100, -1, 0, 1, 99, 100, INT_MAX - 1, INT_MAX})
        EXPECT_EQ(String::FromInt(value).ToInt(), value);
}

TEST(StringCompare, OrdersByCharacterCode)
{
    struct Case {
        const wchar_t *left;
        const wchar_t *right;
        int sign;
    } cases[] = {
        {L"nolicense", L"nolicense", 0},
        {L"", L"", 0},
        {L"abc", L"abd", -1},
        {L"abd", L"abc", 1},
        {L"ab", L"abc", -1},
        {L"abc", L"ab", 1},
        {L"", L"a", -1},
        {L"B", L"a", -1}, // case-sensitive: upper case sorts first
        {L"z", L"\u00E9", -1},
        {L"\u20AC", L"\u00FF", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.left << "\" vs \"" << c.right << "\"");
        int result = String(c.left).Compare(String(c.right));
        EXPECT_EQ((result > 0) - (result < 0), c.sign);
        EXPECT_EQ(String(c.left) == String(c.right), c.sign == 0);
        EXPECT_EQ(String(c.left) != String(c.right), c.sign != 0);
    }
}

TEST(StringCompare, CompareNLooksAtTheFirstCharactersOnly)
{
    struct Case {
        const char *left;
        const char *right;
        int count;
        int sign;
    } cases[] = {
        {"required", "required", 8, 0}, {"required, extra", "required", 8, 0},
        {"default", "default", 7, 0},   {"requir", "required", 8, -1},
        {"", "default", 7, -1},         {"abc", "abd", 2, 0},
        {"abc", "abd", 3, -1},          {"abc", "abd", 100, -1},
        {"abc", "xyz", 0, 0},           {"abc", "xyz", -5, 0},
        {"Default", "default", 7, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << " vs " << c.right << " over " << c.count);
        int result = String(c.left).CompareN(String(c.right), c.count);
        EXPECT_EQ((result > 0) - (result < 0), c.sign);
    }
}
