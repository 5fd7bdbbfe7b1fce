// Setup's switches read from a command line: what each accepted line sets, why each refused one
// is refused, hostile lines, the components a list names, and the exit code of each outcome.
#include "app/command_line.h"
#include "app/exit_codes.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring &text)
{
    std::string out;
    for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

struct AcceptedCase {
    const char *name;
    const wchar_t *line;
    SetupSwitches expected;
};

SetupSwitches Given(std::function<void(SetupSwitches &)> set)
{
    SetupSwitches switches;
    switches.given = true;
    set(switches);
    return switches;
}

class AcceptedLine : public testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedLine, SetsExactlyWhatItNames)
{
    const SetupSwitches &expected = GetParam().expected;
    const SetupSwitches read = ReadSetupSwitches(GetParam().line);
    EXPECT_EQ(read.error, L"") << Narrow(read.error);
    EXPECT_EQ(read.given, expected.given);
    EXPECT_EQ(read.silent, expected.silent);
    EXPECT_EQ(read.verySilent, expected.verySilent);
    EXPECT_EQ(read.suppressMessageBoxes, expected.suppressMessageBoxes);
    EXPECT_EQ(read.noIcons, expected.noIcons);
    EXPECT_EQ(read.noRestart, expected.noRestart);
    EXPECT_EQ(read.help, expected.help);
    EXPECT_EQ(read.log, expected.log);
    EXPECT_EQ(read.logFile, expected.logFile);
    EXPECT_EQ(read.hasDestination, expected.hasDestination);
    EXPECT_EQ(read.destination, expected.destination) << Narrow(read.destination);
    EXPECT_EQ(read.hasComponents, expected.hasComponents);
    EXPECT_EQ(read.components, expected.components);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, AcceptedLine,
    testing::Values(
        AcceptedCase{"Nothing", L"  \t ", SetupSwitches()},
        AcceptedCase{"EverySwitchInAnyCaseWithEitherMark",
                     L"/VERYSILENT -silent /dir=\"C:\\Program Files\\Caf\u00e9 App\" -Log=C:\\l.txt "
                     L"/components=\"Main program, 2\" /NoIcons -NORESTART /SuppressMsgBoxes",
                     Given([](SetupSwitches &s) {
                         s.verySilent = s.silent = s.noIcons = s.noRestart = s.suppressMessageBoxes = true;
                         s.log = true;
                         s.logFile = L"C:\\l.txt";
                         s.hasDestination = true;
                         s.destination = L"C:\\Program Files\\Caf\u00e9 App";
                         s.hasComponents = true;
                         s.components = {L"Main program", L"2"};
                     })},
        AcceptedCase{"QuotesAroundTheWholeSwitch", L"\"/DIR=d:/Apps//Tool\\\\\"", Given([](SetupSwitches &s) {
                         s.hasDestination = true;
                         s.destination = L"D:\\Apps\\Tool";
                     })},
        AcceptedCase{"DriveRootAndLaterRepeatWins", L"/DIR=C:\\old /DIR=c:\\", Given([](SetupSwitches &s) {
                         s.hasDestination = true;
                         s.destination = L"C:\\";
                     })},
        AcceptedCase{"NetworkShare", L"/DIR=\\\\server\\share\\\u0410\u043f\u043f",
                     Given([](SetupSwitches &s) {
                         s.hasDestination = true;
                         s.destination = L"\\\\server\\share\\\u0410\u043f\u043f";
                     })},
        AcceptedCase{"LogAloneAndHelp", L"/LOG /?", Given([](SetupSwitches &s) { s.log = s.help = true; })},
        AcceptedCase{"EmptyComponentListAndEmptyItems", L"-HELP /COMPONENTS= \"/COMPONENTS=,,\t,a b,\"",
                     Given([](SetupSwitches &s) {
                         s.help = true;
                         s.hasComponents = true;
                         s.components = {L"a b"};
                     })}),
    [](const testing::TestParamInfo<AcceptedCase> &info) { return std::string(info.param.name); });

struct RefusedCase {
    const char *name;
    const wchar_t *line;
    const wchar_t *because; // found in the error
};

class RefusedLine : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedLine, SaysWhichArgumentAndWhy)
{
    SetupSwitches read = ReadSetupSwitches(GetParam().line);
    EXPECT_TRUE(read.given);
    EXPECT_NE(read.error.find(GetParam().because), std::wstring::npos) << Narrow(read.error);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, RefusedLine,
    testing::Values(RefusedCase{"UnknownSwitch", L"/SILENT /FOO=1", L"Unknown switch \"/FOO=1\""},
                    RefusedCase{"NoMark", L"SILENT", L"\"SILENT\" is not a switch"},
                    RefusedCase{"EmptyQuotes", L"/SILENT \"\"", L"\"\" is not a switch"},
                    RefusedCase{"LoneMark", L"/", L"Unknown switch \"/\""},
                    RefusedCase{"ValueForAPlainSwitch", L"/SILENT=yes", L"/SILENT takes no value"},
                    RefusedCase{"DirWithoutValue", L"/DIR C:\\x", L"/DIR needs a value"},
                    RefusedCase{"DirEmpty", L"/DIR=", L"/DIR= names no folder"},
                    RefusedCase{"DirQuotedEmpty", L"/DIR=\"\"", L"/DIR= names no folder"},
                    RefusedCase{"DirClimbing", L"/DIR=..\\..\\x", L"\"..\\..\\x\" is not an absolute path"},
                    RefusedCase{"DirBare", L"/DIR=x", L"is not an absolute path"},
                    RefusedCase{"DirRootedWithoutDrive", L"/DIR=\\x", L"is not an absolute path"},
                    RefusedCase{"DirDriveRelative", L"/DIR=C:x", L"is not an absolute path"},
                    RefusedCase{"DirParentLevel", L"/DIR=C:\\a\\..\\..\\b", L"holds a \".\" or \"..\" level"},
                    RefusedCase{"DirForbiddenCharacter", L"/DIR=C:\\a|b",
                                L"a character no file name may hold"},
                    RefusedCase{"DirSecondColon", L"/DIR=C:\\a:b", L"a character no file name may hold"},
                    RefusedCase{"DirDevice", L"/DIR=C:\\Apps\\com1.txt", L"a device name"},
                    RefusedCase{"DirTrailingDot", L"/DIR=\"C:\\a. \\b\"", L"ends in a dot or a space"},
                    RefusedCase{"DirShareMissing", L"/DIR=\\\\server", L"names no share"},
                    RefusedCase{"DirDevicePath", L"/DIR=\\\\?\\C:\\x", L"uses a device path"},
                    RefusedCase{"LogEmpty", L"/LOG=", L"/LOG= names no file"},
                    RefusedCase{"FirstFaultIsTheOneReported", L"/DIR=x /BAD", L"is not an absolute path"}),
    [](const testing::TestParamInfo<RefusedCase> &info) { return std::string(info.param.name); });

TEST(CommandLine, ALevelLongerThanWindowsAllowsIsRefusedAndQuotedShort)
{
    SetupSwitches read = ReadSetupSwitches(L"/DIR=C:\\" + std::wstring(30000, L'a'));
    EXPECT_NE(read.error.find(L"longer than 255 characters"), std::wstring::npos);
    EXPECT_NE(read.error.find(L"(30003 characters)"), std::wstring::npos) << Narrow(read.error);
    EXPECT_LT(read.error.size(), 300u);
}

TEST(CommandLine, ThirtyThousandCharacterDestinationOfAllowedLevelsIsKeptWhole)
{
    std::wstring path = L"C:";
    while (path.size() < 30000) path += L"\\" + std::wstring(200, L'\u00e9');
    SetupSwitches read = ReadSetupSwitches(L"\"/DIR=" + path + L"\"");
    EXPECT_EQ(read.error, L"");
    EXPECT_EQ(read.destination, path);
}

TEST(CommandLine, TenThousandSwitchesAreReadAtOnce)
{
    std::wstring line;
    for (int k = 0; k < 10000; ++k) line += k % 2 ? L" -silent" : L" /COMPONENTS=1,Main,\"x y\"";
    SetupSwitches read = ReadSetupSwitches(line + L" /NOICONS");
    EXPECT_EQ(read.error, L"");
    EXPECT_TRUE(read.silent && read.noIcons);
    EXPECT_EQ(read.components, (std::vector<std::wstring>{L"1", L"Main", L"x y"}));
}

TEST(CommandLine, ProgramNameIsSkippedQuotedOrNot)
{
    EXPECT_EQ(ArgumentsAfterProgramName(L"\"C:\\Setup Files\\setup.exe\"  /SILENT /DIR=C:\\x"),
              L"/SILENT /DIR=C:\\x");
    EXPECT_EQ(ArgumentsAfterProgramName(L"setup.exe\t-silent"), L"-silent");
    EXPECT_EQ(ArgumentsAfterProgramName(L"setup.exe"), L"");
    EXPECT_EQ(ArgumentsAfterProgramName(L"\"unclosed /SILENT"), L"");
    EXPECT_EQ(SplitArguments(L"a\"b c\"d \"\" e"), (std::vector<std::wstring>{L"ab cd", L"", L"e"}));
}

TEST(CommandLine, ComponentsByNumberOrNameInAnyCase)
{
    const std::vector<std::wstring> names = {L"Main program", L" Documentation ",
                                             L"\u0141\u00f3d\u017a \u0178",
                                             L"\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u0430"};
    ComponentList list = ResolveComponents({L"MAIN PROGRAM", L"\u0142\u00d3D\u0179 \u00ff",
                                            L"\u043f\u0420\u041e\u0433\u0440\u0430\u043c\u043c\u0430"},
                                           names);
    EXPECT_EQ(list.error, L"") << Narrow(list.error);
    EXPECT_EQ(list.chosen, (std::vector<bool>{false, true, false, true, true}));
    list = ResolveComponents({L"0002", L"documentation"}, names);
    EXPECT_EQ(list.chosen, (std::vector<bool>{false, false, true, false, false}));
    EXPECT_EQ(ResolveComponents({}, names).chosen, std::vector<bool>(5, false));
}

TEST(CommandLine, ComponentThatIsNotThereIsNamedInTheError)
{
    const std::vector<std::wstring> names = {L"Main", L"Docs"};
    struct Case {
        const wchar_t *item;
        const wchar_t *because;
    };
    for (const Case &c : {Case{L"3", L"there is no component \"3\"; the package has 2 components."},
                          Case{L"0", L"there is no component \"0\""},
                          Case{L"99999999999999999999999", L"there is no component"},
                          Case{L"Mai", L"no component of this package is named \"Mai\""}}) {
        ComponentList list = ResolveComponents({L"Main", c.item}, names);
        EXPECT_NE(list.error.find(c.because), std::wstring::npos) << Narrow(list.error);
    }
}

TEST(ExitCode, FollowsTheOutcome)
{
    struct Case {
        RunOutcome outcome;
        int code;
    };
    auto outcome = [](bool installed, bool faults, bool finished, bool restartWanted, bool restartStarted) {
        RunOutcome o;
        o.installed = installed;
        o.faults = faults;
        o.finished = finished;
        o.restartWanted = restartWanted;
        o.restartStarted = restartStarted;
        return o;
    };
    for (const Case &c : {Case{outcome(false, false, false, false, false), exitCode::cancelled},
                          Case{outcome(false, false, true, true, false), exitCode::complete},
                          Case{outcome(true, false, true, false, false), exitCode::complete},
                          Case{outcome(true, true, true, true, false), exitCode::incomplete},
                          Case{outcome(true, false, false, true, false), exitCode::restartNeeded},
                          Case{outcome(true, false, true, true, true), exitCode::complete}})
        EXPECT_EQ(ExitCodeOf(c.outcome), c.code);
}

} // namespace
