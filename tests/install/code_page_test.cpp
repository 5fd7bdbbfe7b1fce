// Entry names under Windows code pages: stored bytes decode once, exactly, and the decoded name
// alone decides where a file lands; names are stored only in a form that reads back the same;
// nothing a name can hold makes a folder or file outside the target.
#include "install/entry_name.h"
#include "install/extraction.h"
#include "test_support.h"

#include <algorithm>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

const int codePagesUnderTest[] = {1252, 932, 1251};

// Where the systems' tables differ, a name may be refused for either of two reasons.
bool IsExpected(ArchiveFaultKind fault, ArchiveFaultKind expected, ArchiveFaultKind orExpected)
{
    return fault == expected || (orExpected != ArchiveFaultKind::none && fault == orExpected);
}

struct DecodeCase {
    const char *label;
    int codePage;
    std::string stored;
    const wchar_t *name; // null: refused
    ArchiveFaultKind fault = ArchiveFaultKind::none;
    ArchiveFaultKind orFault = ArchiveFaultKind::none; // where systems' tables differ, the other one
};

class DecodedName : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodedName, IsTheCodePagesTextAndOnlyThatIsChecked)
{
    lumora::String name;
    ArchiveFaultKind fault = DecodeEntryName(GetParam().stored, GetParam().codePage, name);
    EXPECT_TRUE(IsExpected(fault, GetParam().fault, GetParam().orFault))
        << ::testing::PrintToString(fault) << " for " << static_cast<const char *>(name);
    if (GetParam().name != nullptr) {
        EXPECT_TRUE(name == lumora::String(GetParam().name)) << static_cast<const char *>(name);
    }
}

INSTANTIATE_TEST_SUITE_P(
    CodePageNames, DecodedName,
    ::testing::Values(
        DecodeCase{"AsciiIsUnchangedEverywhere", 932, "docs/read me.txt", L"docs/read me.txt"},
        DecodeCase{"AsciiNeedsNoCodePage", asciiOnly, "a/b.txt", L"a/b.txt"},
        DecodeCase{"BeyondAsciiWithoutCodePage", asciiOnly, "caf\xE9", nullptr,
                   ArchiveFaultKind::nameBytesWithoutCodePage},
        DecodeCase{"WesternLetters", 1252,
                   "Dokumente/\xDC"
                   "bersicht.txt",
                   L"Dokumente/\u00dcbersicht.txt"},
        DecodeCase{"WesternPunctuation", 1252,
                   "\x93"
                   "a\x94 \x96 \x80",
                   L"\u201ca\u201d \u2013 \u20ac"},
        // Undefined in 1252: refused either as an undecodable byte or as the C1 control it maps to.
        DecodeCase{"WesternUndefinedByte", 1252,
                   "a\x81"
                   "b",
                   nullptr, ArchiveFaultKind::nameInvalidInCodePage, ArchiveFaultKind::controlCharacter},
        DecodeCase{"CyrillicLetters", 1251, "\xC4\xEE\xEA/\xCE\xE1\xE7\xEE\xF0.txt",
                   L"\u0414\u043e\u043a/\u041e\u0431\u0437\u043e\u0440.txt"},
        // A trail byte 0x5C is part of the character, no backslash.
        DecodeCase{"JapaneseTrailByteIsNoSeparator", 932, "\x95\x5C/\x94\x5C.txt", L"\u8868/\u80fd.txt"},
        DecodeCase{"JapaneseLoneLeadByte", 932, "a\x82", nullptr, ArchiveFaultKind::nameInvalidInCodePage},
        DecodeCase{"JapaneseLeadByteBeforeSeparator", 932, "\x82/../x", nullptr,
                   ArchiveFaultKind::nameInvalidInCodePage},
        // The byte that is the yen sign in 1252 is a katakana dot in 932: no separator either way.
        DecodeCase{"YenByteUnder932", 932, "\xA5..\xA5..\xA5x/f", L"\uff65..\uff65..\uff65x/f"},
        DecodeCase{"YenByteUnder1252", 1252, "\xA5..\xA5..\xA5x/f", L"\u00a5..\u00a5..\u00a5x/f"},
        DecodeCase{"YenByteUnder1251", 1251, "\xA5..\xA5..\xA5x/f", L"\u0490..\u0490..\u0490x/f"},
        // Decoded first, then judged: the backslashes after a two-byte character still count.
        DecodeCase{"ParentLevelAfterADoubleByteCharacter", 932,
                   "\x81\x5C..\x5C..\x5C"
                   "evil",
                   nullptr, ArchiveFaultKind::parentLevel},
        DecodeCase{"ParentLevelAfterACyrillicLetter", 1251,
                   "\x81\x5C..\x5C..\x5C"
                   "evil",
                   nullptr, ArchiveFaultKind::parentLevel},
        DecodeCase{"CyrillicUndefinedByte", 1251,
                   "a\x98"
                   "b",
                   nullptr, ArchiveFaultKind::nameInvalidInCodePage, ArchiveFaultKind::controlCharacter},
        DecodeCase{"WindowsForbiddenCharacter", 1252, "what?.txt", nullptr,
                   ArchiveFaultKind::forbiddenCharacter}),
    [](const ::testing::TestParamInfo<DecodeCase> &info) { return std::string(info.param.label); });

struct EncodeCase {
    const char *label;
    int codePage;
    const wchar_t *name;
    std::string stored; // empty: refused
    ArchiveFaultKind fault = ArchiveFaultKind::none;
    ArchiveFaultKind orFault = ArchiveFaultKind::none; // where systems' tables differ, the other one
};

class StoredName : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(StoredName, IsExactOrRefused)
{
    std::string stored;
    ArchiveFaultKind fault = EncodeEntryName(lumora::String(GetParam().name), GetParam().codePage, stored);
    EXPECT_TRUE(IsExpected(fault, GetParam().fault, GetParam().orFault))
        << ::testing::PrintToString(fault) << ", stored as " << stored;
    if (!GetParam().stored.empty()) {
        EXPECT_EQ(stored, GetParam().stored);
    }
}

INSTANTIATE_TEST_SUITE_P(
    CodePageNames, StoredName,
    ::testing::Values(
        EncodeCase{"Ascii", asciiOnly, L"bin/tool.exe", "bin/tool.exe"},
        EncodeCase{"AccentWithoutCodePage", asciiOnly, L"caf\u00e9", "",
                   ArchiveFaultKind::nameCharactersWithoutCodePage},
        EncodeCase{"Western", 1252, L"Donn\u00e9es/\u00c9t\u00e9",
                   "Donn\xE9"
                   "es/\xC9t\xE9"},
        EncodeCase{"Japanese", 932, L"\u8868/\u80fd.txt", "\x95\x5C/\x94\x5C.txt"},
        EncodeCase{"Cyrillic", 1251, L"\u0414\u0430", "\xC4\xE0"},
        // Best fit would store these as a backslash, an O and a question mark.
        EncodeCase{"YenUnder932", 932, L"\u00a5..\u00a5x/f", "", ArchiveFaultKind::nameNotStorableInCodePage,
                   ArchiveFaultKind::nameNotReadBack},
        EncodeCase{"OmegaUnder1252", 1252, L"\u03a9", "", ArchiveFaultKind::nameNotStorableInCodePage},
        EncodeCase{"ChineseUnder1251", 1251, L"\u8f6f\u4ef6", "",
                   ArchiveFaultKind::nameNotStorableInCodePage},
        EncodeCase{"RefusedByTheRules", 1252, L"a/../../b", "", ArchiveFaultKind::parentLevel}),
    [](const ::testing::TestParamInfo<EncodeCase> &info) { return std::string(info.param.label); });

TEST(CodePageNames, EveryStoredNameReadsBackTheSame)
{
    const wchar_t *names[] = {L"plain.txt", L"\u00e9t\u00e9", L"\u8868\u793a", L"\u0416\u0443\u043a",
                              L"\u00fc/\u00df"};
    for (int codePage : codePagesUnderTest) {
        for (const wchar_t *text : names) {
            std::string stored;
            if (EncodeEntryName(lumora::String(text), codePage, stored) != ArchiveFaultKind::none) continue;
            lumora::String back;
            EXPECT_EQ(DecodeEntryName(stored, codePage, back), ArchiveFaultKind::none);
            EXPECT_TRUE(back == lumora::String(text)) << codePage;
        }
    }
}

struct LandedFile {
    std::string stored;
    std::string landed; // UTF-8, "/" between levels
    std::string data;
};

// Extraction under each code page: the same engine the installer runs.
class CodePageExtraction : public ScratchTest {
protected:
    bool Extract(const std::vector<RawFile> &files, int codePage)
    {
        WriteBytes("data.tsa", ArchiveBytes({GroupBytes(files)}));
        return ExtractArchive("data.tsa", PathText(target), progress, report, "1", codePage);
    }

    // Everything in the scratch folder besides the archive, the target and the temporary
    // folder, and every file of the target: nothing may lie anywhere else.
    std::vector<std::string> Strays() const
    {
        std::vector<std::string> strays;
        for (const auto &item : fs::directory_iterator(root)) {
            std::string name = item.path().filename().generic_u8string();
            if (name != "data.tsa" && name != "target" && name != "tmp") strays.push_back(name);
        }
        return strays;
    }

    void ExpectLanded(const std::vector<LandedFile> &files)
    {
        std::vector<std::string> expected;
        for (const LandedFile &file : files) {
            expected.push_back(file.landed);
            EXPECT_EQ(ReadBytes(target / fs::u8path(file.landed)), file.data) << file.landed;
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(FilesBelow(target), expected);
        EXPECT_TRUE(Strays().empty());
    }

    static std::vector<RawFile> Stored(const std::vector<LandedFile> &files)
    {
        std::vector<RawFile> raw;
        for (const LandedFile &file : files) raw.push_back({file.stored, file.data});
        return raw;
    }

    RecordingProgress progress;
    InstallReport report;
};

struct LandingCase {
    int codePage;
    std::vector<LandedFile> files;
};

class NamesLand : public CodePageExtraction, public ::testing::WithParamInterface<LandingCase> {};

TEST_P(NamesLand, WhereTheirDecodedNamesSay)
{
    EXPECT_TRUE(Extract(Stored(GetParam().files), GetParam().codePage))
        << static_cast<const char *>(report.Summary());
    ExpectLanded(GetParam().files);
}

const LandingCase landingCases[] = {
    {1252,
     {{"Dokumente/\xDC"
       "bersicht.txt",
       "Dokumente/Übersicht.txt", "1"},
      {"Donn\xE9"
       "es/\xE9t\xE9",
       "Données/été", "2"}}},
    {932,
     {{"\x95\xB6\x8F\x91/\x90\xE0\x96\xBE.txt", "文書/説明.txt", "1"},
      {"\x95\x5C/\x94\x5C.txt", "表/能.txt", "2"}}},
    {1251,
     {{"\xC4\xEE\xEA/\xCE\xE1\xE7\xEE\xF0.txt", "Док/Обзор.txt", "1"},
      {"\xC4\xE0\xED\xED\xFB\xE5/a", "Данные/a", "2"}}},
};

INSTANTIATE_TEST_SUITE_P(CodePageExtraction, NamesLand, ::testing::ValuesIn(landingCases),
                         [](const ::testing::TestParamInfo<LandingCase> &info) {
                             return "CodePage" + std::to_string(info.param.codePage);
                         });

// Entries forged to climb out: through the yen byte, through its UTF-8 form, through
// backslashes behind a character that swallows no byte of them, and through a lone lead byte.
std::vector<RawFile> ForgedEntries()
{
    return {{"\xA5..\xA5..\xA5tsa-escape/f", "yen"},
            {"\xC2\xA5..\xC2\xA5..\xC2\xA5tsa-escape/g", "utf-8 yen"},
            {"\x81\x5C..\x5C..\x5Ctsa-escape", "behind a double-byte character"},
            {"\x82/../../tsa-escape", "lone lead byte"},
            {"..\\..\\tsa-escape", "plain"},
            {"good.txt", "fine"}};
}

struct ForgedCase {
    int codePage;
    std::vector<std::string> landed; // UTF-8, "/" between levels
};

class ForgedNames : public CodePageExtraction, public ::testing::WithParamInterface<ForgedCase> {};

TEST_P(ForgedNames, MakeNothingOutsideTheTarget)
{
    EXPECT_FALSE(Extract(ForgedEntries(), GetParam().codePage));
    EXPECT_EQ(report.FaultCount(), 3) << static_cast<const char *>(report.Summary());
    std::vector<std::string> landed = GetParam().landed;
    std::sort(landed.begin(), landed.end());
    EXPECT_EQ(FilesBelow(target), landed);
    EXPECT_TRUE(Strays().empty());
    EXPECT_FALSE(fs::exists(root.parent_path() / "tsa-escape"));
    EXPECT_FALSE(fs::exists(root / "tsa-escape"));
}

INSTANTIATE_TEST_SUITE_P(
    CodePageExtraction, ForgedNames,
    ::testing::Values(ForgedCase{1252, {"good.txt", "Â¥..Â¥..Â¥tsa-escape/g", "¥..¥..¥tsa-escape/f"}},
                      ForgedCase{932, {"good.txt", "ﾂ･..ﾂ･..ﾂ･tsa-escape/g", "･..･..･tsa-escape/f"}},
                      ForgedCase{1251, {"good.txt", "ВҐ..ВҐ..ВҐtsa-escape/g", "Ґ..Ґ..Ґtsa-escape/f"}}),
    [](const ::testing::TestParamInfo<ForgedCase> &info) {
        return "CodePage" + std::to_string(info.param.codePage);
    });

TEST_F(CodePageExtraction, RefusedNameIsReportedAsItsBytes)
{
    EXPECT_FALSE(Extract({{"caf\xE9", "x"}}, asciiOnly));
    ASSERT_EQ(report.FaultCount(), 1);
    EXPECT_EQ(std::string(static_cast<const char *>(report.Fault(0).file)), "caf\\xe9");
}

TEST_F(CodePageExtraction, PathOfThreeHundredCharactersIsWritten)
{
    const std::string file =
        std::string(120, 'a') + "/" + std::string(110, 'b') + "/\xE9t\xE9-" + std::string(60, 'c') + ".txt";
    ASSERT_GT(target.u8string().size() + 1 + file.size(), 300u);
    EXPECT_TRUE(Extract({{file, "long"}}, 1252)) << static_cast<const char *>(report.Summary());
    EXPECT_EQ(ReadBytes(target / std::string(120, 'a') / std::string(110, 'b') /
                        fs::u8path("été-" + std::string(60, 'c') + ".txt")),
              "long");
}

#ifdef _WIN32

// The installer reads names in the system's own code page. Under Wine that follows the locale
// a test runs in; SETUP_EXPECT_CODE_PAGE says which one was meant.
int ExpectedSystemCodePage()
{
    const char *expected = std::getenv("SETUP_EXPECT_CODE_PAGE");
    return expected != nullptr ? std::atoi(expected) : 0;
}

TEST(SystemCodePage, IsTheOneTheTestWasStartedFor)
{
    if (ExpectedSystemCodePage() == 0) GTEST_SKIP() << "no code page asked for";
    EXPECT_EQ(static_cast<int>(GetACP()), ExpectedSystemCodePage());
}

using SystemCodePageExtraction = CodePageExtraction;

const LandingCase systemCases[] = {
    {1252, {{"\xC9t\xE9", "Été", "1"}}},
    {932, {{"\x95\x5C\x8E\xA6", "表示", "1"}}},
    {1251, {{"\xC6\xF3\xEA", "Жук", "1"}}},
};

using SystemCodePageExtraction = CodePageExtraction;

TEST_F(SystemCodePageExtraction, ReadsNamesInTheSystemCodePage)
{
    const LandingCase *matching = nullptr;
    for (const LandingCase &candidate : systemCases)
        if (candidate.codePage == static_cast<int>(GetACP())) matching = &candidate;
    if (matching == nullptr) GTEST_SKIP() << "no case for code page " << GetACP();
    WriteBytes("data.tsa", ArchiveBytes({GroupBytes(Stored(matching->files))}));
    EXPECT_TRUE(ExtractArchive("data.tsa", PathText(target), progress, report, "1"))
        << static_cast<const char *>(report.Summary());
    ExpectLanded(matching->files);
}

#else

TEST_F(CodePageExtraction, WithoutSystemCodePageOnlyAsciiNamesAreRead)
{
    WriteBytes("data.tsa", ArchiveBytes({GroupBytes({{"caf\xE9", "x"}, {"plain", "y"}})}));
    EXPECT_FALSE(ExtractArchive("data.tsa", PathText(target), progress, report, "1"));
    EXPECT_EQ(FilesBelow(target), std::vector<std::string>{"plain"});
}

#endif

} // namespace
