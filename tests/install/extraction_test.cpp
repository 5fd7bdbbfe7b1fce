// Extracting sound archives: files, directory levels, temp files, per-file progress.
#include "install/extraction.h"
#include "test_support.h"

#include <algorithm>
#include <thread>

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
    EXPECT_EQ(progress.filesDone, 1);
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

TEST_F(Extraction, ATempFileMovesToTheTemporaryFolderWhenItsNameCannotBeMadeHere)
{
    // A folder in the way stands in for read-only media: nothing can be created under that name.
    fs::create_directories(root / "data.temp");
    WriteBytes("data.tsa", ArchiveBytes({GroupBytes({{"a", "payload"}})}));
    RecordingProgress progress;
    std::vector<std::string> temporaryFilesWhileWriting;
    progress.onFileProgress = [&](int) { temporaryFilesWhileWriting = FilesBelow(temp); };
    InstallReport report;
    EXPECT_TRUE(Extract("data.tsa", target, progress, report));
    EXPECT_TRUE(report.IsEmpty()) << static_cast<const char *>(report.Summary());
    ASSERT_EQ(temporaryFilesWhileWriting.size(), 1u);
    const std::string &name = temporaryFilesWhileWriting[0];
    EXPECT_EQ(name.rfind("setup-", 0), 0u) << name;
    EXPECT_EQ(name.substr(name.size() - 10), "-data.temp") << name;
    EXPECT_EQ(ReadBytes(target / "a"), "payload");
    EXPECT_TRUE(fs::is_directory(root / "data.temp")); // what was there is left alone
    EXPECT_FALSE(fs::exists(root / "buffer.temp"));
    EXPECT_TRUE(FilesBelow(temp).empty());
}

// Another run's temp files, or ones a crashed run left, look the same from here.
TEST_F(Extraction, TempFilesOfAnotherRunAreNeitherReadNorEmptiedNorRemoved)
{
    WriteBytes(root / "buffer.temp", "another run's compressed bytes");
    WriteBytes(root / "data.temp", "another run's data");
    WriteBytes("data.tsa", ArchiveBytes({GroupBytes({{"a", "mine"}, {"b", std::string(30000, 'b')}})}));
    RecordingProgress progress;
    InstallReport report;
    EXPECT_TRUE(Extract("data.tsa", target, progress, report));
    EXPECT_TRUE(report.IsEmpty()) << static_cast<const char *>(report.Summary());
    EXPECT_EQ(ReadBytes(target / "a"), "mine");
    EXPECT_EQ(ReadBytes(target / "b"), std::string(30000, 'b'));
    EXPECT_EQ(ReadBytes(root / "buffer.temp"), "another run's compressed bytes");
    EXPECT_EQ(ReadBytes(root / "data.temp"), "another run's data");
    EXPECT_TRUE(FilesBelow(temp).empty());
    fs::remove(root / "buffer.temp");
    fs::remove(root / "data.temp");
}

TEST_F(Extraction, TwoRunsInOneWorkingFolderAtOnceBothWriteExactTrees)
{
    // Many groups each, so the two runs keep asking for the same names while the other holds them.
    std::vector<std::string> first, second;
    for (int k = 0; k < 12; ++k) {
        std::string name = "f" + std::to_string(k);
        first.push_back(GroupBytes({{name, std::string(40000 + k, static_cast<char>('a' + k))}}));
        second.push_back(GroupBytes({{name, std::string(50000 + k, static_cast<char>('A' + k))}}));
    }
    WriteBytes("first.tsa", ArchiveBytes(first));
    WriteBytes("second.tsa", ArchiveBytes(second));
    fs::create_directories(root / "one");
    fs::create_directories(root / "two");
    RecordingProgress progressOne, progressTwo;
    InstallReport reportOne, reportTwo;
    bool completeOne = false, completeTwo = false;
    std::thread other([&] { completeTwo = Extract("second.tsa", root / "two", progressTwo, reportTwo); });
    completeOne = Extract("first.tsa", root / "one", progressOne, reportOne);
    other.join();
    EXPECT_TRUE(completeOne) << static_cast<const char *>(reportOne.Summary());
    EXPECT_TRUE(completeTwo) << static_cast<const char *>(reportTwo.Summary());
    for (int k = 0; k < 12; ++k) {
        std::string name = "f" + std::to_string(k);
        EXPECT_EQ(ReadBytes(root / "one" / name), std::string(40000 + k, static_cast<char>('a' + k))) << name;
        EXPECT_EQ(ReadBytes(root / "two" / name), std::string(50000 + k, static_cast<char>('A' + k))) << name;
    }
    EXPECT_FALSE(fs::exists(root / "buffer.temp"));
    EXPECT_FALSE(fs::exists(root / "data.temp"));
    EXPECT_TRUE(FilesBelow(temp).empty());
}

std::vector<int> Steps(int from, int step, int to);

TEST_F(Extraction, UnpackingALargeGroupIsReportedRisingToHundredBeforeItsFiles)
{
    // Incompressible bytes, so the packed stream spans many reads.
    std::string data(3000000, '\0');
    uint32_t state = 7;
    for (char &c : data) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    WriteBytes("data.tsa", ArchiveBytes({GroupBytes({{"big", data}})}));
    RecordingProgress progress;
    size_t unpackedBeforeFile = 0;
    progress.onFileProgress = [&](int percent) {
        if (percent == 0) unpackedBeforeFile = progress.unpackValues.size();
    };
    InstallReport report;
    EXPECT_TRUE(Extract("data.tsa", target, progress, report));
    ASSERT_GT(progress.unpackValues.size(), 10u);
    EXPECT_TRUE(std::is_sorted(progress.unpackValues.begin(), progress.unpackValues.end()));
    EXPECT_EQ(progress.unpackValues.back(), 100);
    EXPECT_EQ(unpackedBeforeFile, progress.unpackValues.size())
        << "the file was written before unpacking ended";
    EXPECT_EQ(progress.fileValues, Steps(1, 1, 100)) << "the file's own sequence changed";
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
    EXPECT_EQ(progress.filesDone, 1);
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
