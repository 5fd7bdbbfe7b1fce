// setup.tsi read on any system gives what the platform's profile functions give the program.
// On Windows every case is also put to GetPrivateProfileStringW itself.
#include "test_support.h"
#include "tools/profile_file.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct ProfileCase {
    const char *label;
    std::string file;
    const wchar_t *section;
    const wchar_t *key;
    std::wstring expected; // what the program reads, the default being "default"
};

class ProfileRead : public ScratchTest, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(ProfileRead, GivesWhatThePlatformGives)
{
    const ProfileCase &sample = GetParam();
    ProfileFile profile(sample.file);
    lumora::String value = profile.Value(sample.section, sample.key, "default");
    EXPECT_EQ(std::wstring(static_cast<const wchar_t *>(value)), sample.expected);
#ifdef _WIN32
    fs::path path = fs::absolute(std::string(sample.label) + ".tsi");
    WriteBytes(path, sample.file);
    wchar_t buffer[256] = {0};
    GetPrivateProfileStringW(sample.section, sample.key, L"default", buffer, 256, path.wstring().c_str());
    EXPECT_EQ(std::wstring(buffer), sample.expected) << "the platform reads it otherwise";
#endif
}

const std::string longValue(300, 'v');

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileRead,
    ::testing::Values(
        ProfileCase{"NamesInAnyCase", "[Dialogs]\r\nLicense=0\r\n", L"dialogs", L"LICENSE", L"0"},
        ProfileCase{"MissingKey", "[Dialogs]\r\nLicense=0\r\n", L"Dialogs", L"Bye", L"default"},
        ProfileCase{"MissingSection", "[Dialogs]\r\nLicense=0\r\n", L"Setup", L"License", L"default"},
        ProfileCase{"EmptyFile", "", L"Setup", L"License", L"default"},
        ProfileCase{"SpacesAroundNameAndValue", "[S]\r\n  Key \t=  two words  \r\n", L"S", L"Key",
                    L"two words"},
        ProfileCase{"EmptyValueIsNoDefault", "[S]\r\nKey=\r\n", L"S", L"Key", L""},
        ProfileCase{"LineWithoutEqualsReadsAsMissing", "[S]\r\nKey\r\n", L"S", L"Key", L"default"},
        ProfileCase{"DoubleQuotesRemoved", "[S]\r\nKey=\" padded \"\r\n", L"S", L"Key", L" padded "},
        ProfileCase{"SingleQuotesRemoved", "[S]\r\nKey='x'\r\n", L"S", L"Key", L"x"},
        ProfileCase{"UnmatchedQuoteKept", "[S]\r\nKey=\"open\r\n", L"S", L"Key", L"\"open"},
        ProfileCase{"FirstKeyCounts", "[S]\r\nKey=1\r\nkey=2\r\n", L"S", L"Key", L"1"},
        ProfileCase{"FirstSectionCounts", "[S]\r\nA=1\r\n[s]\r\nB=2\r\n", L"S", L"B", L"default"},
        ProfileCase{"TextAfterTheBracketIgnored", "[S] note\r\nKey=1\r\n", L"S", L"Key", L"1"},
        ProfileCase{"LastBracketEndsTheName", "[S]x]\r\nKey=1\r\n", L"S]x", L"Key", L"1"},
        ProfileCase{"LineFeedsOnly", "[S]\nKey=1\nOther=2\n", L"S", L"Other", L"2"},
        ProfileCase{"EqualsInTheValue", "[S]\r\nKey=a=b\r\n", L"S", L"Key", L"a=b"},
        ProfileCase{"LongValueCut", "[S]\r\nKey=" + longValue + "\r\n", L"S", L"Key",
                    std::wstring(255, L'v')},
        ProfileCase{"Utf8AfterItsMark", "\xef\xbb\xbf[S]\r\nKey=caf\xc3\xa9\r\n", L"S", L"Key", L"caf\u00e9"},
        ProfileCase{"Utf16AfterItsMark", std::string("\xff\xfe[\0S\0]\0\r\0\n\0K\0=\0\xe9\0", 18), L"S", L"K",
                    L"\u00e9"},
        // A character above U+FFFF is a surrogate pair in Windows' wide text, one character elsewhere.
        ProfileCase{"AstralUtf8AfterItsMark", "\xef\xbb\xbf[S]\r\nKey=\xf0\x9d\x84\x9e!\r\n", L"S", L"Key",
                    L"\U0001D11E!"},
        ProfileCase{"AstralUtf16AfterItsMark",
                    std::string("\xff\xfe[\0S\0]\0\r\0\n\0K\0=\0\x34\xd8\x1e\xdd!\0", 22), L"S", L"K",
                    L"\U0001D11E!"},
        ProfileCase{"SpacesInsideTheBrackets", "[ S ]\r\nKey=1\r\n", L"S", L"Key", L"1"},
        ProfileCase{"CarriageReturnsOnly", "[S]\rKey=1\rOther=2\r", L"S", L"Other", L"2"},
        ProfileCase{"NoBreakSpaceKept", "[S]\r\nKey=\xa0x\xa0\r\n", L"S", L"Key", L"\u00a0x\u00a0"},
        ProfileCase{"EndOfFileMarkSkipped", "[S]\r\nKey=v\x1a", L"S", L"Key", L"v"}),
    [](const ::testing::TestParamInfo<ProfileCase> &info) { return std::string(info.param.label); });

TEST(ProfileFileLayout, KeepsEverySectionAndKeyWithItsLine)
{
    ProfileFile profile("Stray=1\r\n[A]\r\n; note\r\nX=1\r\n\r\n[A]\r\nY=2\r\n");
    const std::vector<ProfileSection> &sections = profile.Sections();
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].keys.size(), 1u); // before any section
    EXPECT_EQ(sections[1].name, L"A");
    ASSERT_EQ(sections[1].keys.size(), 2u);
    EXPECT_EQ(sections[1].keys[1].name, L"X");
    EXPECT_EQ(sections[1].keys[1].line, 4);
    EXPECT_EQ(sections[2].line, 6);
    EXPECT_EQ(profile.FindSection(L"a"), &sections[1]);
}

} // namespace
