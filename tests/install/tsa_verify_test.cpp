// `tsa verify` and `tsa list`: sound archives pass, each kind of damage is named.
#include "test_support.h"
#include "tools/archive_check.h"
#include "tools/archive_writer.h"

namespace {

using TsaVerify = ScratchTest;

std::string Joined(const std::vector<ArchiveFault> &faults)
{
    std::string text;
    for (const ArchiveFault &fault : faults) text += FaultText(fault) + "\n";
    return text;
}

TEST_F(TsaVerify, SoundArchivePassesWithItsCounts)
{
    WriteBytes("ok.tsa", ArchiveBytes({GroupBytes({{"a", "abc"}, {"d/e", ""}}), GroupBytes({{"b", "xy"}})}));
    VerifyResult result = VerifyArchive("ok.tsa");
    EXPECT_TRUE(result.faults.empty()) << Joined(result.faults);
    EXPECT_EQ(result.listing.groups, 2);
    EXPECT_EQ(result.listing.entries.size(), 3u);
    EXPECT_EQ(result.listing.storedBytes, 5);
    EXPECT_FALSE(result.trailingByte);
}

TEST_F(TsaVerify, OneByteAfterTheLastGroupIsNotedNotFaulted)
{
    WriteBytes("ok.tsa", ArchiveBytes({GroupBytes({{"a", "abc"}})}) + "x");
    VerifyResult result = VerifyArchive("ok.tsa");
    EXPECT_TRUE(result.faults.empty()) << Joined(result.faults);
    EXPECT_TRUE(result.trailingByte);
    std::vector<ArchiveFault> faults = VerifyArchive("missing.tsa").faults;
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].kind, ArchiveFaultKind::cannotOpen);
}

// The one and only fault of an archive, as kind, group, entry and the lengths it names.
struct VerifyCase {
    const char *label;
    std::string bytes;
    ArchiveFaultKind kind;
    int group;
    std::string entry = "";
    int64_t found = 0;
    int64_t expected = 0;
};

class TsaVerifyFault : public ScratchTest, public ::testing::WithParamInterface<VerifyCase> {};

TEST_P(TsaVerifyFault, IsTheOneFinding)
{
    WriteBytes("bad.tsa", GetParam().bytes);
    VerifyResult result = VerifyArchive("bad.tsa");
    ASSERT_EQ(result.faults.size(), 1u) << Joined(result.faults);
    const ArchiveFault &fault = result.faults[0];
    EXPECT_EQ(fault.kind, GetParam().kind) << FaultText(fault);
    EXPECT_EQ(fault.group, GetParam().group);
    EXPECT_EQ(static_cast<const char *>(fault.entry), GetParam().entry);
    EXPECT_EQ(fault.found, GetParam().found);
    EXPECT_EQ(fault.expected, GetParam().expected);
}

std::string CorruptCrc()
{
    std::string stream = Bzip2("some text to protect");
    // The stream's combined CRC sits in the last bytes before the padding.
    stream[stream.size() - 2] = static_cast<char>(stream[stream.size() - 2] ^ 0x10);
    return ArchiveBytes({GroupBytes({{"a", "some text to protect"}}, stream, 20)});
}

std::string WithoutFilesTag()
{
    std::string group = GroupBytes({{"b", "xy"}});
    group[4] = 'f';
    return ArchiveBytes({GroupBytes({{"a", "abc"}}), group});
}

INSTANTIATE_TEST_SUITE_P(
    Damage, TsaVerifyFault,
    ::testing::Values(
        VerifyCase{"UnpackedLengthWrong", ArchiveBytes({GroupBytes({{"a", "abc"}}, Bzip2("abc"), 4)}),
                   ArchiveFaultKind::unpackedLengthDiffers, 1, "", 4, 3},
        VerifyCase{"DataShorterThanSizes", ArchiveBytes({GroupBytes({{"a", "abcd"}}, Bzip2("abc"), 4)}),
                   ArchiveFaultKind::decompressedLengthDiffers, 1, "", 3, 4},
        VerifyCase{"BytesAfterTheStream", ArchiveBytes({GroupBytes({{"a", "abc"}}, Bzip2("abc") + "zz", 3)}),
                   ArchiveFaultKind::bytesAfterStream, 1},
        VerifyCase{"StreamCutShort",
                   ArchiveBytes({GroupBytes({{"a", "abc"}}, Bzip2("abc").substr(0, 20), 3)}),
                   ArchiveFaultKind::streamEndsEarly, 1},
        VerifyCase{"NotBzip2", ArchiveBytes({GroupBytes({{"a", "abc"}}, "plain", 3)}),
                   ArchiveFaultKind::notBzip2, 1},
        VerifyCase{"CrcMismatch", CorruptCrc(), ArchiveFaultKind::streamDamaged, 1},
        VerifyCase{"DamagedTable", WithoutFilesTag(), ArchiveFaultKind::noFilesTag, 2},
        VerifyCase{"BytesAfterTheLastGroup", ArchiveBytes({GroupBytes({{"a", "abc"}})}) + "junk",
                   ArchiveFaultKind::tableCut, 2},
        VerifyCase{"UnsafeName", ArchiveBytes({GroupBytes({{"../a", "abc"}})}), ArchiveFaultKind::parentLevel,
                   1, "../a"},
        VerifyCase{"NotAnArchive", "hello world", ArchiveFaultKind::notAnArchive, 0},
        VerifyCase{"Empty", "", ArchiveFaultKind::notAnArchive, 0},
        VerifyCase{"MagicOnly", "TSA", ArchiveFaultKind::holdsNoGroup, 0}),
    [](const ::testing::TestParamInfo<VerifyCase> &info) { return std::string(info.param.label); });

TEST_F(TsaVerify, ListGivesTheGoodGroupsBeforeADamagedTableAndTheirTotals)
{
    WriteBytes("ok.tsa", ArchiveBytes({GroupBytes({{"a", "abc"}}), GroupBytes({{"b/c", "xy"}})}));
    ArchiveListing listing = ListArchive("ok.tsa");
    EXPECT_EQ(listing.fault.kind, ArchiveFaultKind::none);
    ASSERT_EQ(listing.entries.size(), 2u);
    EXPECT_EQ(listing.entries[1].name, "b/c");
    EXPECT_EQ(listing.entries[1].size, 2);
    EXPECT_EQ(listing.entries[1].group, 2);
    EXPECT_EQ(listing.storedBytes, 5);
    EXPECT_EQ(listing.packedBytes, static_cast<int64_t>(ReadBytes("ok.tsa").size()) - 3 -
                                       2 * (4 + 5 + 5 + 4 + 4) - (2 + 1 + 4) - (2 + 3 + 4));

    WriteBytes("bad.tsa", WithoutFilesTag());
    listing = ListArchive("bad.tsa");
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].name, "a");
    EXPECT_EQ(listing.groups, 1);
    EXPECT_EQ(listing.fault.kind, ArchiveFaultKind::noFilesTag);
    EXPECT_EQ(listing.fault.group, 2);
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
    Collection collection = CollectEntries({"src"}, PackOptions());
    ASSERT_EQ(collection.faults.size(), 1u);
    const std::string &error = collection.faults[0];
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
    PackOptions options;
    options.codePage = GetParam().codePage;
    Collection collection = CollectEntries({"src"}, options);
    if (GetParam().stored.empty()) {
        ASSERT_EQ(collection.faults.size(), 1u);
        EXPECT_NE(collection.faults[0].find("code page " + std::to_string(GetParam().codePage)),
                  std::string::npos)
            << collection.faults[0];
    } else {
        ASSERT_TRUE(collection.faults.empty()) << collection.faults[0];
        ASSERT_EQ(collection.entries.size(), 1u);
        EXPECT_EQ(collection.entries[0].name, GetParam().stored);
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
    std::vector<ArchiveFault> faults = VerifyArchive("yen.tsa").faults;
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].kind, ArchiveFaultKind::nameBytesWithoutCodePage);
    // Under 932 the yen byte is a katakana dot: the name stays inside, as installed there.
    EXPECT_TRUE(VerifyArchive("yen.tsa", 932).faults.empty()) << Joined(VerifyArchive("yen.tsa", 932).faults);
    for (int codePage : {932, 1251}) {
        faults = VerifyArchive("climb.tsa", codePage).faults;
        ASSERT_EQ(faults.size(), 1u) << codePage;
        EXPECT_EQ(faults[0].kind, ArchiveFaultKind::parentLevel) << codePage;
    }

    ArchiveListing listing = ListArchive("yen.tsa", 1251);
    ASSERT_EQ(listing.fault.kind, ArchiveFaultKind::none) << FaultText(listing.fault);
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].name,
              static_cast<const char *>(lumora::String(L"\u0490..\u0490..\u0490x/f")));
    EXPECT_FALSE(listing.entries[0].refused);
    listing = ListArchive("yen.tsa");
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].name, "\\xa5..\\xa5..\\xa5x/f");
    EXPECT_TRUE(listing.entries[0].refused);
}
