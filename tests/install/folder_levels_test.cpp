// Making the folders that lead to the files of one extraction: each level once while the files
// of a folder follow one another, and every level again once the last folder is in doubt.
#include "install/platform_fs.h"
#include "test_support.h"

namespace {

struct FolderCase {
    const char *name;
    std::vector<std::string> paths;             // handed over in this order, the first 2 characters known
    std::vector<std::vector<std::string>> made; // the levels each path had made
};

std::ostream &operator<<(std::ostream &out, const FolderCase &c)
{
    return out << c.name;
}

class FolderLevelsCase : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FolderLevelsCase, MakesOnlyTheLevelsThePreviousFileDidNotHave)
{
    std::vector<std::string> calls;
    FolderLevels folders([&calls](const lumora::String &level) {
        calls.push_back(static_cast<const char *>(level));
        return true;
    });
    for (size_t k = 0; k < GetParam().paths.size(); ++k) {
        calls.clear();
        folders.MakeFor(lumora::String(GetParam().paths[k].c_str()), 2);
        EXPECT_EQ(calls, GetParam().made[k]) << "path " << GetParam().paths[k];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Extraction, FolderLevelsCase,
    ::testing::Values(FolderCase{"FilesOfOneFolderMakeItOnce",
                                 {"T\\a\\b\\one", "T\\a\\b\\two", "T\\a\\b\\three"},
                                 {{"T\\a", "T\\a\\b"}, {}, {}}},
                      FolderCase{"SiblingFolderMakesItsOwnLevelOnly",
                                 {"T\\a\\b\\one", "T\\a\\c\\two", "T\\a\\three", "T\\d\\four"},
                                 {{"T\\a", "T\\a\\b"}, {"T\\a\\c"}, {}, {"T\\d"}}},
                      FolderCase{"ANameThatOnlyBeginsLikeTheLastFolderIsAnotherFolder",
                                 {"T\\ab\\one", "T\\a\\two", "T\\abc\\three"},
                                 {{"T\\ab"}, {"T\\a"}, {"T\\abc"}}},
                      FolderCase{"SlashAndBackslashNameTheSameFolder",
                                 {"T\\x/y\\one", "T\\x\\y/two", "T\\x/z/three"},
                                 {{"T\\x", "T\\x\\y"}, {}, {"T\\x\\z"}}},
                      FolderCase{"FilesInTheKnownFolderMakeNothing", {"T\\one", "T\\two"}, {{}, {}}}),
    [](const ::testing::TestParamInfo<FolderCase> &info) { return std::string(info.param.name); });

TEST(FolderLevels, AfterForgetEveryLevelIsMadeAgain)
{
    int calls = 0;
    FolderLevels folders([&calls](const lumora::String &) { return ++calls, true; });
    folders.MakeFor("T\\a\\b\\one", 2);
    folders.Forget();
    folders.MakeFor("T\\a\\b\\two", 2);
    EXPECT_EQ(calls, 4);
}

} // namespace
