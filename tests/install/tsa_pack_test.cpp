// `tsa pack`: names the installer would refuse or merge are refused one line per file, the
// prefix and exclude options shape what is stored, dropped folders are named, and a failed
// run leaves the archive that was there before.
#include "test_support.h"
#include "tools/archive_check.h"
#include "tools/archive_writer.h"

namespace {

using TsaPack = ScratchTest;

std::vector<std::string> StoredNames(const Collection &collection)
{
    std::vector<std::string> names;
    for (const PackEntry &entry : collection.entries) names.push_back(entry.name);
    return names;
}

#ifndef _WIN32
// Windows itself cannot hold most of these names, so they are made where Linux can.
TEST_F(TsaPack, RefusesEveryNameTheInstallerWouldRefuseOrNotKeepOneLinePerFile)
{
    fs::create_directories("in/LPT1");
    const std::vector<std::string> names = {"CON.txt", "LPT1/readme", "name.",       "name ",
                                            "drive:c", "tab\tname",   "back\\slash", "good.txt"};
    for (const std::string &name : names) WriteBytes("in/" + name, "x");
    Collection collection = CollectEntries({"in"}, PackOptions());
    std::sort(collection.faults.begin(), collection.faults.end());
    EXPECT_EQ(collection.faults,
              (std::vector<std::string>{
                  "in/CON.txt: the name is a device name",
                  "in/LPT1/readme: the name is a device name",
                  "in/back\\slash: the name holds a \"\\\", which the installer takes for a folder separator",
                  "in/drive:c: the name holds a colon",
                  "in/name : a level of the name ends with a dot or a space, which Windows drops",
                  "in/name.: a level of the name ends with a dot or a space, which Windows drops",
                  "in/tab\tname: the name holds a control character",
              }));
}

TEST_F(TsaPack, RefusesNamesThatWindowsTakesForOne)
{
    fs::create_directories("in/Docs");
    WriteBytes("in/README", "1");
    WriteBytes("in/readme", "2");
    WriteBytes("in/docs", "3");
    WriteBytes("in/Docs/a", "4");
    std::vector<std::string> faults = CollectEntries({"in"}, PackOptions()).faults;
    EXPECT_EQ(faults,
              (std::vector<std::string>{
                  "in/docs: the name docs is also a folder of other names; Windows cannot hold both",
                  "in/readme: the name readme differs only in letter case from README (from in/README); "
                  "Windows would write both to one file"}));
}
#endif

TEST_F(TsaPack, StoresBelowThePrefixAndLeavesOutWhatIsExcluded)
{
    fs::create_directories("in/cache/deep");
    fs::create_directories("in/src");
    for (const char *name :
         {"in/a.txt", "in/a.tmp", "in/cache/x", "in/cache/deep/y", "in/src/b.tmp", "in/src/c.c"})
        WriteBytes(name, "x");
    PackOptions options;
    options.prefix = "app/";
    options.excludes = {"*.tmp", "cache"};
    Collection collection = CollectEntries({"in"}, options);
    EXPECT_TRUE(collection.faults.empty());
    EXPECT_EQ(StoredNames(collection), (std::vector<std::string>{"app/a.txt", "app/src/c.c"}));
    EXPECT_TRUE(collection.notes.empty()); // excluded folders are not reported as empty

    options.excludes = {"src/*.c"};
    EXPECT_EQ(StoredNames(CollectEntries({"in"}, options)),
              (std::vector<std::string>{"app/a.tmp", "app/a.txt", "app/cache/deep/y", "app/cache/x",
                                        "app/src/b.tmp"}));
}

TEST_F(TsaPack, NamesTheTopmostFolderLeftWithoutFiles)
{
    fs::create_directories("in/empty/inner");
    fs::create_directories("in/kept/hollow");
    fs::create_directories("nothing");
    WriteBytes("in/kept/file", "x");
    WriteBytes("in/kept/hollow/skip.tmp", "x");
    PackOptions options;
    options.excludes = {"*.tmp"};
    Collection collection = CollectEntries({"in", "nothing"}, options);
    std::sort(collection.notes.begin(), collection.notes.end());
    EXPECT_EQ(collection.notes,
              (std::vector<std::string>{
                  "in/empty: is an empty folder, which an archive cannot hold; left out",
                  "in/kept/hollow: is an empty folder, which an archive cannot hold; left out",
                  "nothing: holds no file, so nothing of it is stored"}));
    EXPECT_EQ(StoredNames(collection), (std::vector<std::string>{"kept/file"}));
}

struct PatternCase {
    const char *pattern;
    const char *text;
    bool matches;
};

TEST(ExcludePattern, MatchesLikeAShellWithinOneLevel)
{
    const PatternCase cases[] = {
        {"*.tmp", "a.tmp", true}, {"*.tmp", "a.tmp.txt", false}, {"*", "", true},
        {"a?c", "abc", true},     {"a?c", "a/c", false},         {"*/x", "a/x", true},
        {"*/x", "a/b/x", false},  {"src/*", "src/a", true},      {"[abc]1", "b1", true},
        {"[!abc]1", "b1", false}, {"[a-f]z", "dz", true},        {"[]]", "]", true},
        {"[", "[", true},         {"*a*b", "xaxxb", true},       {"*a*b", "xaxxc", false},
        {"file", "File", true},   {"[A-C]x", "bx", true},        {"**", "deep/name", false},
        {"a*", "a", true},
    };
    for (const PatternCase &sample : cases)
        EXPECT_EQ(MatchesPattern(sample.pattern, sample.text), sample.matches)
            << sample.pattern << " " << sample.text;
}

TEST_F(TsaPack, AFailedRunLeavesTheOldArchiveAndNoPartialFile)
{
    WriteBytes("old.tsa", "the archive from before");
    WriteBytes("first", std::string(5000, 'a'));
    // The second group's file is gone by the time it is read, after the first group is written.
    std::vector<std::vector<PackEntry>> groups = {{PackEntry{"first", "first", 5000, "first"}},
                                                  {PackEntry{"vanished", "vanished", 10, "vanished"}}};
    std::string error;
    EXPECT_FALSE(WriteArchive(
        "old.tsa", groups, 1, [](int64_t, int64_t) {}, error));
    EXPECT_EQ(error, "vanished: cannot be read (changed while packing?)");
    EXPECT_EQ(ReadBytes("old.tsa"), "the archive from before");
    EXPECT_EQ(FilesBelow("."), (std::vector<std::string>{"first", "old.tsa"}));

    // A complete run takes the old archive's place.
    ASSERT_TRUE(WriteArchive(
        "old.tsa", {groups[0]}, 1, [](int64_t, int64_t) {}, error))
        << error;
    EXPECT_TRUE(VerifyArchive("old.tsa").faults.empty());
    EXPECT_EQ(FilesBelow("."), (std::vector<std::string>{"first", "old.tsa"}));
}

} // namespace
