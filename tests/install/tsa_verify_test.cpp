// `tsa verify` and `tsa list`: sound archives pass, each kind of damage is named.
#include "test_support.h"
#include "tools/archive_check.h"
#include "tools/archive_writer.h"

namespace {

using TsaVerify = ScratchTest;

std::string Joined(const std::vector<std::string> &faults)
{
    std::string text;
    for (const std::string &fault : faults) text += fault + "\n";
    return text;
}

TEST_F(TsaVerify, SoundArchivePassesWithItsCounts)
{
    WriteBytes("ok.tsa", ArchiveBytes({GroupBytes({{"a", "abc"}, {"d/e", ""}}), GroupBytes({{"b", "xy"}})}));
    VerifyResult result = VerifyArchive("ok.tsa");
    EXPECT_TRUE(result.faults.empty()) << Joined(result.faults);
    EXPECT_EQ(result.groups, 2);
    EXPECT_EQ(result.files, 3);
    EXPECT_EQ(result.unpackedBytes, 5);
}

struct VerifyCase {
    const char *label;
    std::string bytes;
    const char *fault;
};

class TsaVerifyFault : public ScratchTest, public ::testing::WithParamInterface<VerifyCase> {};

TEST_P(TsaVerifyFault, IsNamed)
{
    WriteBytes("bad.tsa", GetParam().bytes);
    VerifyResult result = VerifyArchive("bad.tsa");
    EXPECT_NE(Joined(result.faults).find(GetParam().fault), std::string::npos) << Joined(result.faults);
}

std::string CorruptCrc()
{
    std::string stream = Bzip2("some text to protect");
    // The stream's combined CRC sits in the last bytes before the padding.
    stream[stream.size() - 2] = static_cast<char>(stream[stream.size() - 2] ^ 0x10);
    return ArchiveBytes({GroupBytes({{"a", "some text to protect"}}, stream, 20)});
}

INSTANTIATE_TEST_SUITE_P(
    Damage, TsaVerifyFault,
    ::testing::Values(
        VerifyCase{"UnpackedLengthWrong", ArchiveBytes({GroupBytes({{"a", "abc"}}, Bzip2("abc"), 4)}),
                   "unpacked length 4 differs from the sum of its sizes 3"},
        VerifyCase{"DataShorterThanSizes", ArchiveBytes({GroupBytes({{"a", "abcd"}}, Bzip2("abc"), 4)}),
                   "decompresses to 3 bytes, its files need 4"},
        VerifyCase{"BytesAfterTheStream", ArchiveBytes({GroupBytes({{"a", "abc"}}, Bzip2("abc") + "zz", 3)}),
                   "bytes follow its bzip2 stream"},
        VerifyCase{"StreamCutShort",
                   ArchiveBytes({GroupBytes({{"a", "abc"}}, Bzip2("abc").substr(0, 20), 3)}), "ends early"},
        VerifyCase{"NotBzip2", ArchiveBytes({GroupBytes({{"a", "abc"}}, "plain", 3)}), "not a bzip2 stream"},
        VerifyCase{"CrcMismatch", CorruptCrc(), "damaged"},
        VerifyCase{"StrayByte", ArchiveBytes({GroupBytes({{"a", "abc"}})}) + "x", "one stray byte"},
        VerifyCase{"UnsafeName", ArchiveBytes({GroupBytes({{"../a", "abc"}})}), "leave the target directory"},
        VerifyCase{"NotAnArchive", "hello world", "not a component archive"}),
    [](const ::testing::TestParamInfo<VerifyCase> &info) { return std::string(info.param.label); });

TEST_F(TsaVerify, ListGivesEveryEntryWithItsGroup)
{
    WriteBytes("ok.tsa", ArchiveBytes({GroupBytes({{"a", "abc"}}), GroupBytes({{"b/c", "xy"}})}));
    std::vector<ListedEntry> entries;
    std::string error;
    ASSERT_TRUE(ListArchive("ok.tsa", entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].name, "b/c");
    EXPECT_EQ(entries[1].size, 2);
    EXPECT_EQ(entries[1].group, 2);
    EXPECT_FALSE(ListArchive("missing.tsa", entries, error));
    EXPECT_EQ(error, "cannot open missing.tsa");
}

} // namespace

// Names through the tool's code page: what pack stores, and what list and verify read back.
class TsaCodePage : public ScratchTest {
protected:
    void MakeFile(const std::string &utf8Name)
    {
        fs::create_directories(root / "src");
        WriteBytes(root / "src" / fs::u8path(utf8Name), "x");
    }
};

TEST_F(TsaCodePage, PackRefusesANameBeyondAsciiWithOneLineNamingTheFile)
{
    MakeFile("Übersicht.txt");
    std::vector<PackEntry> entries;
    std::string error;
    EXPECT_FALSE(CollectEntries({"src"}, entries, error));
    EXPECT_NE(error.find("bersicht.txt: "), std::string::npos) << error;
    EXPECT_NE(error.find("--code-page"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

struct PackCase {
    const char *label;
    const char *utf8Name;
    int codePage;
    std::string stored; // empty: refused
};

class TsaPackCodePage : public TsaCodePage, public ::testing::WithParamInterface<PackCase> {};

TEST_P(TsaPackCodePage, StoresTheNameExactlyOrRefusesIt)
{
    MakeFile(GetParam().utf8Name);
    std::vector<PackEntry> entries;
    std::string error;
    bool packed = CollectEntries({"src"}, entries, error, GetParam().codePage);
    if (GetParam().stored.empty()) {
        EXPECT_FALSE(packed);
        EXPECT_NE(error.find("code page " + std::to_string(GetParam().codePage)), std::string::npos) << error;
    } else {
        ASSERT_TRUE(packed) << error;
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].name, GetParam().stored);
    }
}

INSTANTIATE_TEST_SUITE_P(Names, TsaPackCodePage,
                         ::testing::Values(PackCase{"WesternUnder1252", "Übersicht.txt", 1252,
                                                    "\xDC"
                                                    "bersicht.txt"},
                                           PackCase{"WesternUnder1251", "Übersicht.txt", 1251, ""},
                                           PackCase{"JapaneseUnder932", "表.txt", 932, "\x95\x5C.txt"},
                                           PackCase{"YenUnder1252", "¥..¥x", 1252, "\xA5..\xA5x"},
                                           PackCase{"YenUnder932", "¥..¥x", 932, ""}),
                         [](const ::testing::TestParamInfo<PackCase> &info) {
                             return std::string(info.param.label);
                         });

TEST_F(TsaCodePage, VerifyReadsNamesAsTheInstallerOnThatCodePageDoes)
{
    WriteBytes("yen.tsa", ArchiveBytes({GroupBytes({{"\xA5..\xA5..\xA5x/f", "a"}})}));
    WriteBytes("climb.tsa", ArchiveBytes({GroupBytes({{"\x81\x5C..\x5C..\x5Cx", "a"}})}));
    // Without a code page no byte beyond ASCII means anything.
    EXPECT_NE(Joined(VerifyArchive("yen.tsa").faults).find("no code page"), std::string::npos);
    // Under 932 the yen byte is a katakana dot: the name stays inside, as installed there.
    EXPECT_TRUE(VerifyArchive("yen.tsa", 932).faults.empty()) << Joined(VerifyArchive("yen.tsa", 932).faults);
    for (int codePage : {932, 1251})
        EXPECT_NE(Joined(VerifyArchive("climb.tsa", codePage).faults).find("leave the target"),
                  std::string::npos)
            << codePage;

    std::vector<ListedEntry> entries;
    std::string error;
    ASSERT_TRUE(ListArchive("yen.tsa", entries, error, 1251)) << error;
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, static_cast<const char *>(lumora::String(L"\u0490..\u0490..\u0490x/f")));
    entries.clear();
    ASSERT_TRUE(ListArchive("yen.tsa", entries, error)) << error;
    EXPECT_EQ(entries[0].name, "\\xA5..\\xA5..\\xA5x/f");
}
