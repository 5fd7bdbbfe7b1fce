// `tsa verify` and `tsa list`: sound archives pass, each kind of damage is named.
#include "test_support.h"
#include "tools/archive_check.h"

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
