// The archive layout as the tool writes it and as the reader walks it.
#include "install/archive_format.h"
#include "lumora/stream.h"
#include "test_support.h"
#include "tools/archive_writer.h"

namespace {

using ArchiveFormat = ScratchTest;

// The names and sizes of every group read, up to the first fault, which `fault` receives.
std::vector<std::string> ReadNames(const fs::path &archivePath, ArchiveFaultKind &fault)
{
    InStream archive(lumora::STREAM_FILE, lumora::String(archivePath.string().c_str()), lumora::STREAM_READ);
    ArchiveReader reader(archive);
    std::vector<std::string> names;
    fault = reader.Start();
    while (fault == ArchiveFaultKind::none && reader.HasAnotherGroup()) {
        ArchiveGroup group;
        fault = reader.ReadGroupTable(group);
        if (fault == ArchiveFaultKind::none) {
            EXPECT_TRUE(reader.SkipPackedData(group));
        }
        for (const ArchiveEntry &entry : group.entries) {
            names.push_back(static_cast<const char *>(entry.name) + std::string(":") +
                            std::to_string(entry.size));
        }
    }
    return names;
}

TEST_F(ArchiveFormat, OneThreeByteFileIsLaidOutByteForByte)
{
    WriteBytes("a.txt", "abc");
    Collection collection = CollectEntries({"a.txt"}, PackOptions());
    ASSERT_TRUE(collection.faults.empty()) << collection.faults.front();
    std::string error;
    ASSERT_TRUE(WriteArchive(
        "one.tsa", SplitIntoGroups(collection.entries, 8 << 20), 1, [](int64_t, int64_t) {}, error));

    std::string stream = Bzip2("abc");
    std::string expected = std::string("TSA") + LittleEndian(1, 4) + "FILES" + LittleEndian(5, 2) + "a.txt" +
                           LittleEndian(3, 4) + "CDATA" + LittleEndian(stream.size(), 4) +
                           LittleEndian(3, 4) + stream;
    std::string archive = ReadBytes("one.tsa");
    EXPECT_EQ(archive, expected);
    EXPECT_EQ(archive.size(), 36 + stream.size());
    EXPECT_EQ(archive.substr(36, 4), "BZh9");
    EXPECT_EQ(archive, ArchiveBytes({GroupBytes({{"a.txt", "abc"}})}))
        << "the writer and the tests' encoder differ";
}

TEST_F(ArchiveFormat, SecondGroupFollowsTheFirstStreamDirectly)
{
    WriteBytes("two.tsa", ArchiveBytes({GroupBytes({{"a", "1"}, {"b", "22"}}), GroupBytes({{"c", "333"}})}));
    ArchiveFaultKind fault;
    EXPECT_EQ(ReadNames("two.tsa", fault), (std::vector<std::string>{"a:1", "b:2", "c:3"}));
    EXPECT_EQ(fault, ArchiveFaultKind::none);
}

TEST_F(ArchiveFormat, OneTrailingByteIsIgnoredButTwoStartAnotherGroup)
{
    std::string archive = ArchiveBytes({GroupBytes({{"a", "1"}})});
    ArchiveFaultKind fault;

    WriteBytes("one-extra.tsa", archive + "x");
    EXPECT_EQ(ReadNames("one-extra.tsa", fault), std::vector<std::string>{"a:1"});
    EXPECT_EQ(fault, ArchiveFaultKind::none);

    WriteBytes("two-extra.tsa", archive + "xy");
    EXPECT_EQ(ReadNames("two-extra.tsa", fault), std::vector<std::string>{"a:1"});
    EXPECT_EQ(fault, ArchiveFaultKind::tableCut);
}

TEST_F(ArchiveFormat, PackerStoresFolderContentsRelativelyWithSlashes)
{
    fs::create_directories("app/help/pages");
    WriteBytes("app/help/pages/start.html", "<p>");
    WriteBytes("app/readme.txt", "hello");
    WriteBytes("app/zero", "");
    Collection collection = CollectEntries({"app"}, PackOptions());
    ASSERT_TRUE(collection.faults.empty()) << collection.faults.front();
    std::vector<std::string> names;
    for (const PackEntry &entry : collection.entries)
        names.push_back(entry.name + ":" + std::to_string(entry.size));
    EXPECT_EQ(names, (std::vector<std::string>{"help/pages/start.html:3", "readme.txt:5", "zero:0"}));
}

TEST_F(ArchiveFormat, PackerRefusesMissingPathsAndNamesGivenTwice)
{
    fs::create_directories("one");
    fs::create_directories("two");
    WriteBytes("one/x", "1");
    WriteBytes("two/x", "2");
    EXPECT_EQ(CollectEntries({"missing"}, PackOptions()).faults,
              (std::vector<std::string>{"missing: no such file or folder"}));
    std::vector<std::string> faults = CollectEntries({"one", "two"}, PackOptions()).faults;
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0], "two/x: the name x would be stored twice (also from one/x)");
}

TEST_F(ArchiveFormat, GroupsSplitBySizeAndTheArchiveIsTheSameForAnyThreadCount)
{
    fs::create_directories("data");
    for (int k = 0; k < 12; ++k)
        WriteBytes("data/f" + std::to_string(10 + k), std::string(3000 + k, char('a' + k)));
    Collection collection = CollectEntries({"data"}, PackOptions());
    ASSERT_TRUE(collection.faults.empty()) << collection.faults.front();
    auto groups = SplitIntoGroups(collection.entries, 10000);
    std::string error;
    EXPECT_EQ(groups.size(), 4u); // three files of about 3000 bytes per group
    ASSERT_TRUE(WriteArchive(
        "serial.tsa", groups, 1, [](int64_t, int64_t) {}, error));
    ASSERT_TRUE(WriteArchive(
        "parallel.tsa", groups, 3, [](int64_t, int64_t) {}, error));
    EXPECT_EQ(ReadBytes("serial.tsa"), ReadBytes("parallel.tsa"));

    ArchiveFaultKind fault;
    EXPECT_EQ(ReadNames("parallel.tsa", fault).size(), 12u);
    EXPECT_EQ(fault, ArchiveFaultKind::none);
}

TEST_F(ArchiveFormat, AFileLargerThanTheGroupSizeHasAGroupToItself)
{
    std::vector<PackEntry> entries = {
        {"", "a", 10, "a"}, {"", "big", 500, "big"}, {"", "c", 10, "c"}, {"", "d", 10, "d"}};
    auto groups = SplitIntoGroups(entries, 100);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].size(), 1u);
    EXPECT_EQ(groups[1][0].name, "big");
    EXPECT_EQ(groups[2].size(), 2u);
}

TEST_F(ArchiveFormat, ManyTinyFilesAreSplitIntoGroupsOfAtMost4096)
{
    std::vector<PackEntry> entries(5000, PackEntry{"", "f", 1, "f"});
    auto groups = SplitIntoGroups(entries, 8 << 20);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].size(), 4096u);
    EXPECT_EQ(groups[1].size(), 904u);
}

} // namespace
