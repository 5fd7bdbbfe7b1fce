// Damaged and forged archives: each fault is reported, nothing lands outside the target,
// what can still be written is written, and no temp file is left behind.
#include "install/extraction.h"
#include "test_support.h"

namespace {

class HostileInput : public ScratchTest {
protected:
    bool Extract(const std::string &archiveBytes)
    {
        WriteBytes("data.tsa", archiveBytes);
        return ExtractArchive("data.tsa", lumora::String(target.string().c_str()), progress, report,
                              "Component 1");
    }

    void TearDown() override
    {
        EXPECT_FALSE(fs::exists(root / "buffer.temp"));
        EXPECT_FALSE(fs::exists(root / "data.temp"));
        EXPECT_TRUE(FilesBelow(temp).empty());
        ScratchTest::TearDown();
    }

    // The one fault reported, as the file it concerns and its kind.
    std::pair<std::string, ArchiveFaultKind> OnlyFault() const
    {
        EXPECT_EQ(report.FaultCount(), 1) << static_cast<const char *>(report.Summary());
        if (report.FaultCount() == 0) return {"", ArchiveFaultKind::none};
        const InstallFault &fault = report.Fault(0);
        return {static_cast<const char *>(fault.file), fault.kind};
    }

    RecordingProgress progress;
    InstallReport report;
};

struct NameCase {
    const char *label;
    std::string name;
    ArchiveFaultKind kind;
};

class RefusedName : public HostileInput, public ::testing::WithParamInterface<NameCase> {};

TEST_P(RefusedName, IsSkippedAndTheNextFileIsStillWritten)
{
    EXPECT_FALSE(Extract(ArchiveBytes({GroupBytes({{GetParam().name, "evil"}, {"good.txt", "fine"}})})));
    ASSERT_EQ(report.FaultCount(), 1);
    EXPECT_EQ(std::string(static_cast<const char *>(report.Fault(0).component)), "Component 1");
    EXPECT_EQ(report.Fault(0).kind, GetParam().kind);
    EXPECT_EQ(FilesBelow(target), std::vector<std::string>{"good.txt"});
    EXPECT_EQ(ReadBytes(target / "good.txt"), "fine");
    // Only the archive, the target and the temporary folder are in the scratch folder.
    for (const auto &item : fs::directory_iterator(root)) {
        std::string name = item.path().filename().string();
        EXPECT_TRUE(name == "data.tsa" || name == "target" || name == "tmp") << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, RefusedName,
    ::testing::Values(
        NameCase{"ParentLevel", "../evil", ArchiveFaultKind::parentLevel},
        NameCase{"ParentLevelInside", "a/../../evil", ArchiveFaultKind::parentLevel},
        NameCase{"ParentLevelBackslash", "a\\..\\..\\evil", ArchiveFaultKind::parentLevel},
        NameCase{"LeadingSlash", "/evil", ArchiveFaultKind::leadingSeparator},
        NameCase{"LeadingBackslash", "\\evil", ArchiveFaultKind::leadingSeparator},
        NameCase{"DriveLetter", "C:evil", ArchiveFaultKind::driveLetter},
        NameCase{"DriveLetterRoot", "C:\\evil", ArchiveFaultKind::driveLetter},
        NameCase{"UncPrefix", "\\\\server\\share\\evil", ArchiveFaultKind::leadingSeparator},
        NameCase{"ColonInside", "ab:c", ArchiveFaultKind::colonInName},
        NameCase{"DriveOfOneLetter", "a:b", ArchiveFaultKind::driveLetter},
        NameCase{"EndsWithSeparator", "dir/", ArchiveFaultKind::trailingSeparator},
        NameCase{"DotsAndSpaces", "x/.. /evil", ArchiveFaultKind::parentLevel},
        NameCase{"ThreeDots", ".../evil", ArchiveFaultKind::dotsOnlyLevel},
        NameCase{"DeviceName", "CON", ArchiveFaultKind::deviceName},
        NameCase{"DeviceWithExtension", "sub/aux.txt", ArchiveFaultKind::deviceName},
        NameCase{"NumberedDevice", "lpt1.log", ArchiveFaultKind::deviceName},
        NameCase{"ControlCharacter", std::string("a\x01", 2), ArchiveFaultKind::controlCharacter},
        // The zero cuts nothing short: the way out behind it is still found.
        NameCase{"EmbeddedZero", std::string("a\0/../../evil", 13), ArchiveFaultKind::parentLevel},
        NameCase{"ControlCharacterOnly", std::string("a\0/evil", 7), ArchiveFaultKind::controlCharacter},
        NameCase{"Empty", "", ArchiveFaultKind::emptyName}),
    [](const ::testing::TestParamInfo<NameCase> &info) { return std::string(info.param.label); });

TEST_F(HostileInput, HarmlessDotLevelsAreAccepted)
{
    EXPECT_TRUE(Extract(
        ArchiveBytes({GroupBytes({{"./a/./b.txt", "1"}, {"a/..x", "2"}, {"console/icon.txt", "3"}})})));
    EXPECT_EQ(FilesBelow(target), (std::vector<std::string>{"a/..x", "a/b.txt", "console/icon.txt"}));
}

TEST_F(HostileInput, MissingArchiveIsReported)
{
    EXPECT_FALSE(
        ExtractArchive("absent.tsa", lumora::String(target.string().c_str()), progress, report, "2"));
    EXPECT_EQ(OnlyFault(), std::make_pair(std::string("absent.tsa"), ArchiveFaultKind::cannotOpen));
}

struct DamageCase {
    const char *label;
    std::string bytes;
    ArchiveFaultKind fault;
};

class DamagedArchive : public HostileInput, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedArchive, IsReportedWithoutWritingAnything)
{
    EXPECT_FALSE(Extract(GetParam().bytes));
    EXPECT_EQ(OnlyFault(), std::make_pair(std::string("data.tsa"), GetParam().fault));
    EXPECT_TRUE(FilesBelow(target).empty());
}

std::string Table(uint64_t fileCount, const std::string &entries, uint64_t packedSize)
{
    return ArchiveBytes({TableBytes(fileCount, entries) + StreamHeadBytes(packedSize, 0)});
}

INSTANTIATE_TEST_SUITE_P(
    Tables, DamagedArchive,
    ::testing::Values(
        DamageCase{"NotAnArchive", "PK\x03\x04 something else entirely", ArchiveFaultKind::notAnArchive},
        DamageCase{"ShorterThanTheMagic", "TS", ArchiveFaultKind::notAnArchive},
        DamageCase{"MagicOnly", "TSA", ArchiveFaultKind::holdsNoFiles},
        DamageCase{"ForgedHugeCount", Table(0x7fffffff, "", 0), ArchiveFaultKind::countBeyondArchive},
        DamageCase{"CountBeyondSignedRange", Table(0xffffffff, "", 0), ArchiveFaultKind::countBeyondArchive},
        DamageCase{"NameLongerThanTheFile", Table(1, LittleEndian(65535, 2) + std::string(40, 'n'), 0),
                   ArchiveFaultKind::tableCut},
        DamageCase{"SizeBeyondSignedRange", Table(1, EntryBytes("a", 0x80000000u), 0),
                   ArchiveFaultKind::sizeBeyondLimit},
        DamageCase{"PackedLengthBeyondTheFile", Table(1, EntryBytes("a", 1), 1000),
                   ArchiveFaultKind::packedDataCut},
        DamageCase{"PackedLengthBeyondSignedRange", Table(1, EntryBytes("a", 1), 0xfffffff0u),
                   ArchiveFaultKind::lengthBeyondLimit},
        DamageCase{"MissingFilesTag",
                   std::string("TSA") + LittleEndian(0, 4) + "FILEZCDATA" + std::string(8, '\0'),
                   ArchiveFaultKind::noFilesTag},
        DamageCase{"MissingCdataTag",
                   std::string("TSA") + LittleEndian(0, 4) + "FILESCDATX" + std::string(8, '\0'),
                   ArchiveFaultKind::noCdataTag},
        DamageCase{"TruncatedInsideTable", Table(2, EntryBytes("a", 1), 0).substr(0, 21),
                   ArchiveFaultKind::tableCut}),
    [](const ::testing::TestParamInfo<DamageCase> &info) { return std::string(info.param.label); });

std::string Patterned(size_t size)
{
    std::string data;
    for (size_t k = 0; k < size; ++k) data += static_cast<char>((k * 7919) % 251);
    return data;
}

TEST_F(HostileInput, FailingCrcCheckSkipsTheGroup)
{
    std::string data = Patterned(200000);
    std::string stream = Bzip2(data);
    // The stream's combined CRC lies in its last bytes: the data decompresses in full first.
    stream[stream.size() - 2] = static_cast<char>(stream[stream.size() - 2] ^ 0x10);
    EXPECT_FALSE(
        Extract(ArchiveBytes({GroupBytes({{"big", data}}, stream, data.size()), GroupBytes({{"b", "b"}})})));
    EXPECT_EQ(OnlyFault(), std::make_pair(std::string("data.tsa"), ArchiveFaultKind::groupDataDamaged));
    EXPECT_EQ(FilesBelow(target), std::vector<std::string>{"b"});
}

TEST_F(HostileInput, DamageInsideABlockSkipsTheGroup)
{
    std::string data = Patterned(200000);
    std::string stream = Bzip2(data);
    for (size_t at : {stream.size() / 3, stream.size() / 2})
        stream[at] = static_cast<char>(stream[at] ^ 0x55);
    EXPECT_FALSE(Extract(ArchiveBytes({GroupBytes({{"big", data}}, stream, data.size())})));
    EXPECT_EQ(OnlyFault(), std::make_pair(std::string("data.tsa"), ArchiveFaultKind::groupDataDamaged));
    EXPECT_TRUE(FilesBelow(target).empty());
}

TEST_F(HostileInput, StreamThatIsNotBzip2IsReported)
{
    EXPECT_FALSE(Extract(ArchiveBytes({GroupBytes({{"a", "xyz"}}, "not bzip2 at all", 3)})));
    EXPECT_EQ(OnlyFault(), std::make_pair(std::string("data.tsa"), ArchiveFaultKind::groupDataDamaged));
    EXPECT_TRUE(FilesBelow(target).empty());
}

TEST_F(HostileInput, ShortGroupDataStopsAtTheFirstShortFile)
{
    std::vector<RawFile> files = {{"a", "abc"}, {"b", std::string(10, 'b')}, {"c", "c"}};
    EXPECT_FALSE(
        Extract(ArchiveBytes({GroupBytes(files, Bzip2("abcbbbbb"), 14), GroupBytes({{"d", "next group"}})})));
    EXPECT_EQ(OnlyFault(), std::make_pair(std::string("b"), ArchiveFaultKind::dataEndsBeforeFile));
    EXPECT_EQ(static_cast<const char *>(report.Fault(0).what),
              std::string("the group's data ends before this file; 2 files are not written"));
    EXPECT_EQ(FilesBelow(target), (std::vector<std::string>{"a", "d"}));
}

TEST_F(HostileInput, DataBeyondTheFilesSkipsTheGroup)
{
    // A stream far longer than its table: decompression stops soon after the sizes are met,
    // and data that does not match its table is not trusted.
    std::string flood(5000000, 'z');
    EXPECT_FALSE(
        Extract(ArchiveBytes({GroupBytes({{"a", "zz"}}, Bzip2(flood), 2), GroupBytes({{"b", "b"}})})));
    EXPECT_EQ(OnlyFault(), std::make_pair(std::string("data.tsa"), ArchiveFaultKind::dataBeyondTable));
    EXPECT_EQ(FilesBelow(target), std::vector<std::string>{"b"});
}

TEST_F(HostileInput, UncreatableOutputFileIsReportedAndTheRestGoesOn)
{
    fs::create_directories(target / "taken");
    EXPECT_FALSE(Extract(ArchiveBytes({GroupBytes({{"taken", "x"}, {"after", "y"}})})));
    EXPECT_EQ(OnlyFault(), std::make_pair(std::string("taken"), ArchiveFaultKind::fileNotCreated));
    EXPECT_EQ(ReadBytes(target / "after"), "y");
    EXPECT_EQ(progress.filesDone, 1) << "only the file written in full is done";
}

TEST_F(HostileInput, NoPlaceForTempFilesSkipsTheGroupAndIsReported)
{
    // A folder in the way of the working folder's name, and no temporary folder at all.
    fs::create_directories(root / "buffer.temp");
    fs::remove_all(temp);
    EXPECT_FALSE(Extract(ArchiveBytes({GroupBytes({{"a", "1"}, {"b", "2"}})})));
    EXPECT_EQ(OnlyFault(),
              std::make_pair(std::string("data.tsa"), ArchiveFaultKind::noRoomForTemporaryFiles));
    EXPECT_NE(std::string(static_cast<const char *>(report.Fault(0).what)).find("2 files are not written"),
              std::string::npos);
    EXPECT_TRUE(FilesBelow(target).empty());
    EXPECT_TRUE(fs::is_directory(root / "buffer.temp"));
    fs::remove(root / "buffer.temp");
    fs::create_directories(temp);
}

TEST_F(HostileInput, DamageInOneGroupLeavesTheNextGroupIntact)
{
    std::string bad = GroupBytes({{"a", "aaa"}}, "BZh9garbage", 3);
    EXPECT_FALSE(Extract(ArchiveBytes({bad, GroupBytes({{"b", "bbb"}})})));
    EXPECT_EQ(FilesBelow(target), std::vector<std::string>{"b"});
}

} // namespace
