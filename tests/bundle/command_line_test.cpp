// The launcher's reading of its command line: arguments split as setup.exe splits them, since
// setup.exe reads the same line, and the switches that decide how it reports.
#include "launcher/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Split(const wchar_t *line)
{
    std::vector<std::wstring> texts;
    ArgumentSpan argument;
    for (const wchar_t *cursor = line; NextArgument(cursor, argument);) {
        wchar_t text[256];
        ArgumentText(argument, text, 256);
        texts.push_back(text);
    }
    return texts;
}

TEST(LauncherCommandLine, ArgumentsFollowTheProgramNameQuotedOrNot)
{
    EXPECT_STREQ(AfterProgramName(L"\"C:\\My Files\\app.exe\" /LOG"), L" /LOG");
    EXPECT_STREQ(AfterProgramName(L"app.exe\t/LOG"), L"\t/LOG");
    EXPECT_STREQ(AfterProgramName(L"app.exe"), L"");
    EXPECT_STREQ(AfterProgramName(L"\"C:\\never closed /LOG"), L"");
    EXPECT_STREQ(AfterProgramName(L"\"C:\\a b\\app.exe\"x /LOG"), L" /LOG");
}

TEST(LauncherCommandLine, SplitsAsSetupSplits)
{
    struct Case {
        const wchar_t *line;
        std::vector<std::wstring> arguments;
    };
    const Case cases[] = {
        {L"", {}},
        {L"  \t ", {}},
        {L"a b\tc", {L"a", L"b", L"c"}},
        {L"/DIR=\"C:\\Program Files\\Caf\u00e9 App\" /SILENT",
         {L"/DIR=C:\\Program Files\\Caf\u00e9 App", L"/SILENT"}},
        {L"\"/LOG=my log.txt\"", {L"/LOG=my log.txt"}},
        {L"/LOG=\"C:\\logs\\\" next", {L"/LOG=C:\\logs\\", L"next"}},
        {L"a\\\\b \"\"", {L"a\\\\b", L""}},
        {L"tail\\", {L"tail\\"}},
        {L"\"open ended", {L"open ended"}},
    };
    for (const Case &sample : cases) EXPECT_EQ(Split(sample.line), sample.arguments) << sample.line;
}

TEST(LauncherCommandLine, ALongArgumentIsCutButMeasuredWhole)
{
    const wchar_t *line = L"abcdefgh";
    ArgumentSpan argument;
    ASSERT_TRUE(NextArgument(line, argument));
    wchar_t text[4];
    EXPECT_EQ(ArgumentText(argument, text, 4), 8u);
    EXPECT_STREQ(text, L"abc");
}

TEST(LauncherCommandLine, KnowsItsThreeSwitchesInAnyLetterCase)
{
    struct Case {
        const wchar_t *text;
        LauncherSwitch kind;
        const wchar_t *value;
    };
    const Case cases[] = {
        {L"/VERYSILENT", LauncherSwitch::verySilent, nullptr},
        {L"-verysilent", LauncherSwitch::verySilent, nullptr},
        {L"/SuppressMsgBoxes", LauncherSwitch::suppressMessageBoxes, nullptr},
        {L"/LOG", LauncherSwitch::log, nullptr},
        {L"-log=C:\\logs\\a b.txt", LauncherSwitch::logFile, L"C:\\logs\\a b.txt"},
        {L"/LOG=", LauncherSwitch::logFile, L""},
        {L"/VERYSILENTLY", LauncherSwitch::other, nullptr},
        {L"/SILENT", LauncherSwitch::other, nullptr},
        {L"/LOGS", LauncherSwitch::other, nullptr},
        {L"LOG", LauncherSwitch::other, nullptr},
        {L"//LOG", LauncherSwitch::other, nullptr},
    };
    for (const Case &sample : cases) {
        const wchar_t *value = L"unset";
        EXPECT_EQ(ReadSwitch(sample.text, value), sample.kind) << sample.text;
        if (sample.value == nullptr)
            EXPECT_EQ(value, nullptr) << sample.text;
        else
            EXPECT_STREQ(value, sample.value) << sample.text;
    }
}

TEST(LauncherCommandLine, AFullPathNamesItsDriveOrServerAndRoot)
{
    for (const wchar_t *full : {L"C:\\x.txt", L"z:/x", L"\\\\server\\share\\x", L"//server/share"})
        EXPECT_TRUE(IsFullPath(full)) << full;
    for (const wchar_t *relative : {L"x.txt", L"C:x.txt", L"\\x.txt", L"..\\x", L"", L"1:\\x"})
        EXPECT_FALSE(IsFullPath(relative)) << relative;
}

} // namespace
