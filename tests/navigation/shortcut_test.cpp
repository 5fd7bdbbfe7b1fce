// CreateShortcut writes a shell link that the shell reads back as written, and refuses the
// links it cannot write whole.
#include "tests/driver/ui_driver.h"
#include "tests/navigation/shell_link.h"
#include "windows/shortcuts.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using navtest::LinkContents;
using navtest::ReadLink;

namespace {

class CreateShortcutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.Ready());
        ASSERT_TRUE(folder.WriteFile(L"app\\program.exe", "MZ"));
        root = uidriver::Narrow(folder.Dir());
    }

    uidriver::TempFolder folder{L"setup-links"};
    std::string root;
};

TEST_F(CreateShortcutTest, WritesTargetAndWorkingDirectoryWithoutDescription)
{
    std::string link = root + "\\Program.lnk";
    std::string target = root + "\\app\\program.exe";
    EXPECT_EQ(CreateShortcut(target.c_str(), link.c_str(), root.c_str(), nullptr), 1);
    std::optional<LinkContents> contents = ReadLink(uidriver::Widen(link));
    ASSERT_TRUE(contents.has_value());
    EXPECT_EQ(contents->target, target);
    EXPECT_EQ(contents->workingDirectory, root);
    EXPECT_EQ(contents->description, "");
}

TEST_F(CreateShortcutTest, KeepsAGivenDescription)
{
    std::string link = root + "\\Described.lnk";
    std::string target = root + "\\app\\program.exe";
    EXPECT_EQ(CreateShortcut(target.c_str(), link.c_str(), root.c_str(), "Starts the program"), 1);
    std::optional<LinkContents> contents = ReadLink(uidriver::Widen(link));
    ASSERT_TRUE(contents.has_value());
    EXPECT_EQ(contents->description, "Starts the program");
}

TEST_F(CreateShortcutTest, WritesSeveralLinksOnOneThread)
{
    std::string target = root + "\\app\\program.exe";
    for (int i = 0; i < 3; i++) {
        std::string link = root + "\\Link" + std::to_string(i) + ".lnk";
        EXPECT_EQ(CreateShortcut(target.c_str(), link.c_str(), root.c_str(), nullptr), 1) << i;
        EXPECT_TRUE(ReadLink(uidriver::Widen(link)).has_value()) << i;
    }
}

TEST_F(CreateShortcutTest, RefusesLinksItCannotWriteWhole)
{
    std::string target = root + "\\app\\program.exe";
    struct Case {
        const char *what;
        std::string link;
    };
    std::string longName = root + "\\" + std::string(260 - root.size(), 'n') + ".lnk";
    for (const Case &bad : {Case{"a path of more than 259 characters", longName},
                            Case{"a folder that does not exist", root + "\\missing\\Program.lnk"}}) {
        EXPECT_EQ(CreateShortcut(target.c_str(), bad.link.c_str(), root.c_str(), nullptr), 0) << bad.what;
        EXPECT_EQ(GetFileAttributesA(bad.link.c_str()), INVALID_FILE_ATTRIBUTES) << bad.what;
    }
}

} // namespace
