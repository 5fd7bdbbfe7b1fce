// Groups inflated side by side on threads of their own must give what one thread gives: the
// same files with the same bytes, a later group's file over an earlier one's, the same faults
// in the same order, the same file bar, and no temporary file left behind.
#include "install/extraction.h"
#include "test_support.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace {

struct Outcome {
    bool complete = false;
    std::map<std::string, std::string> files;
    std::vector<std::tuple<std::string, std::string, ArchiveFaultKind>> faults;
    std::vector<int> fileValues;
    int filesDone = 0;
    std::vector<int> unpackValues;
};

class SideBySide : public ScratchTest, public ::testing::WithParamInterface<int> {
protected:
    Outcome Extract(int jobs, const fs::path &into)
    {
        fs::create_directories(into);
        RecordingProgress progress;
        InstallReport report;
        Outcome outcome;
        outcome.complete = ExtractArchive("data.tsa", lumora::String(into.string().c_str()), progress, report,
                                          "Component 1", systemCodePage, jobs);
        for (const std::string &name : FilesBelow(into)) outcome.files[name] = ReadBytes(into / name);
        for (int k = 0; k < report.FaultCount(); ++k) {
            const InstallFault &fault = report.Fault(k);
            outcome.faults.emplace_back(static_cast<const char *>(fault.component),
                                        static_cast<const char *>(fault.file), fault.kind);
        }
        outcome.fileValues = progress.fileValues;
        outcome.filesDone = progress.filesDone;
        outcome.unpackValues = progress.unpackValues;
        EXPECT_FALSE(fs::exists(root / "buffer.temp"));
        EXPECT_FALSE(fs::exists(root / "data.temp"));
        EXPECT_TRUE(FilesBelow(temp).empty());
        return outcome;
    }
};

std::string Incompressible(size_t size)
{
    std::string data(size, '\0');
    uint32_t state = 11;
    for (char &c : data) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return data;
}

TEST_P(SideBySide, GivesWhatOneThreadGives)
{
    const std::string big = Incompressible(400000);
    WriteBytes("data.tsa",
               ArchiveBytes({GroupBytes({{"a.txt", "first"}, {"dir/b.bin", std::string(70000, '\xfe')}}),
                             GroupBytes({{"c.txt", "ccc"}}, "BZh9garbage", 3),
                             GroupBytes({{"big", big}, {"A.TXT", "later"}}), GroupBytes({{"empty", ""}}),
                             GroupBytes({{"dir/d.txt", "last"}})}) +
                   "not a table");
    Outcome alone = Extract(1, root / "alone");
    Outcome sideBySide = Extract(GetParam(), target);

    EXPECT_FALSE(sideBySide.complete);
    EXPECT_EQ(sideBySide.files, alone.files);
    EXPECT_EQ(sideBySide.files["big"], big);
    EXPECT_EQ(sideBySide.faults, alone.faults);
    // Two faults: the damaged group, then the table after the last group, in that order.
    ASSERT_EQ(sideBySide.faults.size(), 2u);
    EXPECT_EQ(std::get<2>(sideBySide.faults[0]), ArchiveFaultKind::groupDataDamaged);
    EXPECT_EQ(sideBySide.fileValues, alone.fileValues);
    EXPECT_EQ(sideBySide.filesDone, alone.filesDone);
    // The unpacking bar may skip values while it waits, but each group ends where one thread
    // ends it.
    EXPECT_EQ(std::count(sideBySide.unpackValues.begin(), sideBySide.unpackValues.end(), 100),
              std::count(alone.unpackValues.begin(), alone.unpackValues.end(), 100));
}

TEST_P(SideBySide, AnArchiveOfOneGroupIsWrittenWhole)
{
    WriteBytes("data.tsa", ArchiveBytes({GroupBytes({{"only.txt", "one"}})}));
    Outcome outcome = Extract(GetParam(), target);
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.files, (std::map<std::string, std::string>{{"only.txt", "one"}}));
    EXPECT_EQ(outcome.unpackValues.back(), 100);
}

INSTANTIATE_TEST_SUITE_P(Jobs, SideBySide, ::testing::Values(2, 3, 8));

} // namespace
