// The total bar's two formulas and the library copy that uses the second.
#include "install/library_copy.h"
#include "install/total_progress.h"
#include "test_support.h"

namespace {

struct AfterComponentCase {
    int component, componentCount, copyLibrary, expected;
};

class TotalAfterComponent : public ::testing::TestWithParam<AfterComponentCase> {};

TEST_P(TotalAfterComponent, MatchesTheDoublePrecisionFormula)
{
    const AfterComponentCase &c = GetParam();
    EXPECT_EQ(TotalProgressAfterComponent(c.component, c.componentCount, c.copyLibrary), c.expected);
}

INSTANTIATE_TEST_SUITE_P(ThreeWithoutCopy, TotalAfterComponent,
                         ::testing::Values(AfterComponentCase{1, 3, 0, 33}, AfterComponentCase{2, 3, 0, 66},
                                           AfterComponentCase{3, 3, 0, 100}));
INSTANTIATE_TEST_SUITE_P(ThreeWithCopy, TotalAfterComponent,
                         ::testing::Values(AfterComponentCase{1, 3, 1, 25}, AfterComponentCase{2, 3, 1, 50},
                                           AfterComponentCase{3, 3, 1, 75}));
// Only component 2 of 3 selected: the bar shows its number's share, 66.
INSTANTIATE_TEST_SUITE_P(OnlySecondSelected, TotalAfterComponent,
                         ::testing::Values(AfterComponentCase{2, 3, 0, 66}));
// The double-precision sums lie just below the whole numbers.
INSTANTIATE_TEST_SUITE_P(LastOfTwentyThreeShowsNinetyNine, TotalAfterComponent,
                         ::testing::Values(AfterComponentCase{23, 23, 0, 99}));
INSTANTIATE_TEST_SUITE_P(TwentySeventhOfThirtySixShowsSeventyFour, TotalAfterComponent,
                         ::testing::Values(AfterComponentCase{27, 36, 0, 74}));
INSTANTIATE_TEST_SUITE_P(NoComponentsAtAll, TotalAfterComponent,
                         ::testing::Values(AfterComponentCase{1, 0, 0, 0}));

TEST(TotalDuringCopy, CarriesThreeComponentsFromSeventyFiveToOneHundred)
{
    EXPECT_EQ(TotalProgressDuringCopy(0, 3), 75);
    EXPECT_EQ(TotalProgressDuringCopy(1, 3), 75);
    EXPECT_EQ(TotalProgressDuringCopy(50, 3), 87);
    EXPECT_EQ(TotalProgressDuringCopy(100, 3), 100);
    EXPECT_EQ(TotalProgressDuringCopy(100, 0), 100);
}

using LibraryCopy = ScratchTest;

TEST_F(LibraryCopy, CopiesWithBothBarsFromSeventyFiveToOneHundred)
{
    std::string library(500 * 10000, 'L');
    WriteBytes("lumora.dll", library);
    RecordingProgress progress;
    InstallReport report;
    EXPECT_TRUE(CopyLibrary("lumora.dll", lumora::String(target.string().c_str()), 3, progress, report));
    EXPECT_EQ(ReadBytes(target / "lumora.dll"), library);
    ASSERT_EQ(progress.fileValues.size(), 101u);
    EXPECT_EQ(progress.fileValues.front(), 0);
    EXPECT_EQ(progress.fileValues.back(), 100);
    ASSERT_EQ(progress.totalValues.size(), 100u); // none for the initial 0
    EXPECT_EQ(progress.totalValues.front(), 75);
    EXPECT_EQ(progress.totalValues.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.totalValues.begin(), progress.totalValues.end()));
}

TEST_F(LibraryCopy, MissingLibraryIsReportedAndNothingIsCreated)
{
    RecordingProgress progress;
    InstallReport report;
    EXPECT_FALSE(CopyLibrary("lumora.dll", lumora::String(target.string().c_str()), 3, progress, report));
    EXPECT_EQ(report.FaultCount(), 1);
    EXPECT_FALSE(fs::exists(target / "lumora.dll"));
    EXPECT_TRUE(progress.totalValues.empty());
}

TEST_F(LibraryCopy, UncreatableDestinationIsReported)
{
    WriteBytes("lumora.dll", "MZ");
    RecordingProgress progress;
    InstallReport report;
    EXPECT_FALSE(CopyLibrary("lumora.dll", lumora::String((root / "no-such-folder").string().c_str()), 3,
                             progress, report));
    ASSERT_EQ(report.FaultCount(), 1);
    EXPECT_STREQ(static_cast<const char *>(report.Fault(0).what), "the file cannot be created");
}

} // namespace
