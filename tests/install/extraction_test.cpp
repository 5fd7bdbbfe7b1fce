// Extracting sound archives: files, directory levels, temp files, per-file progress.
#include "install/extraction.h"
#include "test_support.h"

namespace {

using Extraction = ScratchTest;

bool Extract(const fs::path &archive, const fs::path &target, RecordingProgress &progress,
             InstallReport &report)
{
    return ExtractArchive(lumora::String(archive.string().c_str()), lumora::String(target.string().c_str()),
                          progress, report, "1");
}

TEST_F(Extraction, WritesEveryFileOfEveryGroupInTableOrder)
{
    WriteBytes("data.tsa",
               ArchiveBytes({GroupBytes({{"a.txt", "abc"}, {"b.bin", std::string(70000, '\xfe')}}),
                             GroupBytes({{"c.txt", "third"}})}));
    RecordingProgress progress;
    InstallReport report;
    EXPECT_TRUE(Extract("data.tsa", target, progress, report));
    EXPECT_TRUE(report.IsEmpty()) << static_cast<const char *>(report.Summary());
    EXPECT_EQ(FilesBelow(target), (std::vector<std::string>{"a.txt", "b.bin", "c.txt"}));
    EXPECT_EQ(ReadBytes(target / "a.txt"), "abc");
    EXPECT_EQ(ReadBytes(target / "b.bin"), std::string(70000, '\xfe'));
    EXPECT_EQ(ReadBytes(target / "c.txt"), "third");
    EXPECT_TRUE(progress.totalValues.empty());
}

TEST_F(Extraction, ZeroSizeFileIsCreatedEmptyWithOnlyAZeroProgress)
{
    WriteBytes("data.tsa", ArchiveBytes({GroupBytes({{"empty", ""}})}));
    RecordingProgress progress;
    InstallReport report;
    EXPECT_TRUE(Extract("data.tsa", target, progress, report));
    ASSERT_TRUE(fs::exists(target / "empty"));
    EXPECT_EQ(fs::file_size(target / "empty"), 0u);
    EXPECT_EQ(progress.fileValues, std::vector<int>{0});
}

TEST_F(Extraction, MakesEveryDirectoryLevelForSlashAndBackslashNames)
{
    WriteBytes("data.tsa",
               ArchiveBytes({GroupBytes({{"help/pages/start.html", "<p>"}, {"bin\\x86\\tool.exe", "MZ"}})}));
    RecordingProgress progress;
    InstallReport report;
    EXPECT_TRUE(Extract("data.tsa", target, progress, report));
    EXPECT_EQ(ReadBytes(target / "help" / "pages" / "start.html"), "<p>");
    EXPECT_EQ(ReadBytes(target / "bin" / "x86" / "tool.exe"), "MZ");
}

TEST_F(Extraction, OverwritesAnExistingFile)
{
    WriteBytes(target / "a.txt", "an older and longer text");
    WriteBytes("data.tsa", ArchiveBytes({GroupBytes({{"a.txt", "new"}})}));
    RecordingProgress progress;
    InstallReport report;
    EXPECT_TRUE(Extract("data.tsa", target, progress, report));
    EXPECT_EQ(ReadBytes(target / "a.txt"), "new");
}

TEST_F(Extraction, TempFilesLieInTheWorkingDirectoryOnlyWhileTheirGroupIsWritten)
{
    WriteBytes("data.tsa", ArchiveBytes({GroupBytes({{"a", "1"}}), GroupBytes({{"b", "2"}})}));
    RecordingProgress progress;
    int filesSeen = 0;
    progress.onFileProgress = [&](int percent) {
        if (percent != 0) return;
        ++filesSeen;
        EXPECT_TRUE(fs::exists(root / "data.temp"));
        EXPECT_FALSE(fs::exists(root / "buffer.temp")); // removed right after decompression
    };
    InstallReport report;
    EXPECT_TRUE(Extract("data.tsa", target, progress, report));
    EXPECT_EQ(filesSeen, 2);
    EXPECT_FALSE(fs::exists(root / "data.temp"));
    EXPECT_FALSE(fs::exists(root / "buffer.temp"));
    EXPECT_TRUE(FilesBelow(temp).empty());
}

TEST_F(Extraction, TempFilesMoveToTheTemporaryFolderWhenTheWorkingDirectoryCannotHoldThem)
{
    // A folder in the way stands in for read-only media: nothing can be created under that name.
    fs::create_directories(root / "buffer.temp");
    WriteBytes("data.tsa", ArchiveBytes({GroupBytes({{"a", "payload"}})}));
    RecordingProgress progress;
    bool dataInTemporaryFolder = false;
    progress.onFileProgress = [&](int) { dataInTemporaryFolder = fs::exists(temp / "data.temp"); };
    InstallReport report;
    EXPECT_TRUE(Extract("data.tsa", target, progress, report));
    EXPECT_TRUE(report.IsEmpty()) << static_cast<const char *>(report.Summary());
    EXPECT_TRUE(dataInTemporaryFolder);
    EXPECT_EQ(ReadBytes(target / "a"), "payload");
    EXPECT_TRUE(fs::is_directory(root / "buffer.temp")); // what was there is left alone
    EXPECT_FALSE(fs::exists(root / "data.temp"));
    EXPECT_TRUE(FilesBelow(temp).empty());
}

struct FileProgressCase {
    const char *label;
    size_t size;
    std::vector<int> expected;
};

std::vector<int> Steps(int from, int step, int to)
{
    std::vector<int> values{0};
    for (int value = from; value <= to; value += step) values.push_back(value);
    return values;
}

class FileProgressSequence : public ScratchTest, public ::testing::WithParamInterface<FileProgressCase> {};

TEST_P(FileProgressSequence, ShowsZeroThenEachNewPercentage)
{
    std::string data(GetParam().size, 'q');
    WriteBytes("data.tsa", ArchiveBytes({GroupBytes({{"f", data}})}));
    RecordingProgress progress;
    InstallReport report;
    EXPECT_TRUE(Extract("data.tsa", target, progress, report));
    EXPECT_EQ(progress.fileValues, GetParam().expected);
    EXPECT_EQ(fs::file_size(target / "f"), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, FileProgressSequence,
    ::testing::Values(FileProgressCase{"TwentyFiveChunksOfTenThousand", 25 * 10000, Steps(4, 4, 100)},
                      FileProgressCase{"HundredChunksOfOneHundredth", 500 * 10000, Steps(1, 1, 100)},
                      FileProgressCase{"SmallFileInOneChunk", 9999, {0, 100}},
                      FileProgressCase{"ThreeChunksRoundDown", 25000, {0, 40, 80, 100}}),
    [](const ::testing::TestParamInfo<FileProgressCase> &info) { return std::string(info.param.label); });

} // namespace
