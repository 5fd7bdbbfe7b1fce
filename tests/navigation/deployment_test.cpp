// setup.exe started by a deployment tool: each mode installs the package exactly, every exit code
// from a real run, components by number and by name, no shortcuts when asked, the log, two
// runs at once, and command lines meant to break it.
#include "tests/common/wizard_session.h"
#include "tests/navigation/shell_link.h"
#include "tests/navigation/test_package.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <functional>

using namespace navtest;
using namespace setuptest;
using namespace uidriver;

namespace {

const DWORD runTimeoutMs = 120000;

ComponentSpec Component(const std::string &name, const std::string &config, const std::string &subdirectory,
                        std::vector<std::vector<PackedFile>> groups, bool writeArchive = true)
{
    ComponentSpec component;
    component.name = name;
    component.config = config;
    component.subdirectory = subdirectory;
    component.groups = std::move(groups);
    component.writeArchive = writeArchive;
    return component;
}

std::vector<ComponentSpec> ThreeComponents()
{
    return {Component("Main program", "required", ".",
                      {{{"readme.txt", "Read me first.\r\n"},
                        {"bin/tool.dat", GeneratedContent(30000, 2)},
                        {"empty.txt", ""}},
                       {{"help/pages/start.html", "<html>start</html>"}}}),
            Component("Documentation", "default", "docs", {{{"manual.txt", GeneratedContent(250000, 3)}}}),
            Component("Extras", "optional", "extras", {{{"extra.txt", GeneratedContent(1000, 4)}}})};
}

// Every page but Reboot, a licence and a link of the first component in a Start menu folder of the
// test's own.
PackagePlan DeploymentPlan(std::vector<ComponentSpec> components = ThreeComponents())
{
    PackagePlan plan;
    plan.pages = "1111110";
    plan.components = std::move(components);
    plan.licenseText = "Terms of use.\r\n";
    plan.startmenuDirectory =
        "Deploy" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    plan.links = {{"1", "Read me", "readme.txt"}};
    return plan;
}

std::wstring ProgramsFolder()
{
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, CSIDL_PROGRAMS, FALSE);
    return path;
}

std::wstring Quote(const std::wstring &text)
{
    return L"\"" + text + L"\"";
}

std::wstring TemporaryFolder()
{
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    return folder;
}

// The names of the logs /LOG alone has left in the temporary folder.
std::vector<std::wstring> TemporaryLogs()
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((TemporaryFolder() + L"Setup Log *.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Utf8(const std::wstring &text)
{
    return Narrow(text);
}

// A whole file, also one below a path longer than 260 characters.
std::string ReadWhole(const std::wstring &path)
{
    HANDLE file = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char block[65536];
    DWORD read = 0;
    while (ReadFile(file, block, sizeof block, &read, nullptr) && read > 0) bytes.append(block, read);
    CloseHandle(file);
    return bytes;
}

bool PathExists(const std::wstring &path)
{
    return GetFileAttributesW((L"\\\\?\\" + path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ExpectTree(const TempFolder &root, const std::wstring &below,
                const std::vector<std::pair<std::wstring, std::string>> &expected)
{
    std::vector<std::wstring> names;
    for (const auto &entry : expected) names.push_back(below + entry.first);
    std::vector<std::wstring> actual = root.Files();
    std::sort(actual.begin(), actual.end());
    ASSERT_EQ(actual, names);
    for (const auto &entry : expected)
        EXPECT_TRUE(root.ReadFile(below + entry.first) == entry.second) << Narrow(entry.first) << " differs";
}

// One setup.exe run with arguments from a package of the test's own into a folder of its own.
class DeploymentRun {
protected:
    void Write(const PackagePlan &plan)
    {
        ASSERT_TRUE(WritePackage(package, plan)) << Narrow(package.Error());
    }
    void Start(const std::wstring &arguments)
    {
        StartOptions options = package.ProgramOptions();
        options.arguments = arguments;
        ASSERT_TRUE(setup.Start(options)) << Narrow(setup.Error());
    }
    // Waits for the end, watching that no window shows meanwhile when asked; the whole exit code.
    DWORD WaitForEnd(bool noWindow = false)
    {
        DWORD code = 0xDEADBEEF;
        bool ended = WaitUntil(
            [&] {
                if (noWindow && !TopLevelWindows(setup.Pid()).empty()) windowSeen = true;
                return !setup.IsRunning();
            },
            runTimeoutMs, 5);
        EXPECT_TRUE(ended) << "setup.exe did not end";
        setup.WaitForExit(kDefaultTimeoutMs, &code);
        return code;
    }
    DWORD RunSetup(const std::wstring &arguments, bool noWindow = true)
    {
        Start(arguments);
        return WaitForEnd(noWindow);
    }
    std::string Log() const { return logs.ReadFile(L"setup.log").value_or(""); }
    std::wstring LogPath() const { return logs.PathOf(L"setup.log"); }
    std::wstring Target() const { return destination.PathOf(L"Caf\u00e9 App"); }

    SetupPackage package;
    TempFolder destination{L"setup-dest"};
    TempFolder logs{L"setup-logs"};
    Process setup;
    bool windowSeen = false;
};

class Deployment : public ::testing::Test, protected DeploymentRun {};

TEST_F(Deployment, VerySilentInstallsTheListedComponentsWithoutAWindowAndLogsEveryStep)
{
    const PackagePlan plan = DeploymentPlan();
    ASSERT_NO_FATAL_FAILURE(Write(plan));
    const std::wstring linkFolder = ProgramsFolder() + L"\\" + Widen(plan.startmenuDirectory);
    const std::wstring arguments = L"/VERYSILENT /SUPPRESSMSGBOXES " + Quote(L"/DIR=" + Target()) +
                                   L" /COMPONENTS=3 /LOG=" + Quote(LogPath());
    EXPECT_EQ(RunSetup(arguments), 0u);
    EXPECT_FALSE(windowSeen) << "a window showed";

    ExpectTree(destination, L"Caf\u00e9 App\\", ExpectedTree(plan.components, {1, 3}));
    std::optional<LinkContents> link = ReadLink(linkFolder + L"\\Read me.lnk");
    ASSERT_TRUE(link.has_value());
    // The link object speaks the system code page.
    std::string target(MAX_PATH * 2, '\0');
    target.resize(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, (Target() + L"\\readme.txt").c_str(), -1,
                                                          &target[0], static_cast<int>(target.size()),
                                                          nullptr, nullptr)) -
                  1);
    EXPECT_EQ(link->target, target);
    RemoveTree(linkFolder);
    EXPECT_TRUE(package.FileExists(L"setup.temp"));

    const std::string log = Log();
    const std::string root = Utf8(Target());
    EXPECT_EQ(log.find('\n'), log.find("\r\n") + 1) << "lines end with CR LF";
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), std::count(log.begin(), log.end(), '\r'));
    for (const std::string &line : std::vector<std::string>{
             std::string(" Setup 1.0.0 (") + (sizeof(void *) == 8 ? "win64" : "win32") + "), log ",
             "Command line: \"" + Utf8(package.ProgramPath()) + "\" " + Utf8(arguments) + "\r\n",
             " Package folder: " + Utf8(package.Dir()) + "\\\r\n", " Mode: very silent, no window\r\n",
             " Licence: licence.txt accepted by the silent installation\r\n",
             " Destination: " + root + "\r\n", " Components chosen: 1 (Main program), 3 (Extras)\r\n",
             " Folder made: " + root + "\r\n", " Folder made: " + root + "\\help\\pages\r\n",
             " File written: " + root + "\\bin\\tool.dat (30000 bytes)\r\n",
             " File written: " + root + "\\empty.txt (0 bytes)\r\n",
             " File written: " + root + "\\extras\\extra.txt (1000 bytes)\r\n",
             " Shortcut made: " + Utf8(linkFolder) + "\\Read me.lnk\r\n",
             " Result: installed completely\r\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\nis missing from\n" << log;
    EXPECT_EQ(log.find("Documentation"), std::string::npos) << log;
    ASSERT_GE(log.size(), 40u);
    EXPECT_EQ(log.substr(log.size() - 15), " Exit code: 0\r\n") << log;
    EXPECT_EQ(log[4], '-') << "each line starts with its date";
}

TEST_F(Deployment, SilentShowsOnlyTheProgressAndEndsByItselfAskingForARestart)
{
    PackagePlan plan = DeploymentPlan(
        {Component("Large data", "default", ".",
                   {{{"one.dat", GeneratedContent(8000000, 5)}, {"two.dat", GeneratedContent(8000000, 6)}}}),
         Component("More data", "default", "more", {{{"more.dat", GeneratedContent(1000, 7)}}})});
    plan.pages = "1111111";
    plan.background = true;
    ASSERT_NO_FATAL_FAILURE(Write(plan));
    ASSERT_NO_FATAL_FAILURE(
        Start(L"-silent /NoIcons " + Quote(L"/DIR=" + Target()) + L" \"/COMPONENTS=large DATA\""));

    HWND window = WaitForWindow(setup.Pid(), setuptest::defaultTitle::installation, runTimeoutMs);
    ASSERT_NE(window, nullptr) << "no installation display";
    std::vector<Control> bars;
    bool displayed = WaitUntil([&] {
        bars = FindControls(window, L"", L"msctls_progress32", true);
        return bars.size() == 2 || !setup.IsRunning();
    });
    EXPECT_TRUE(displayed && bars.size() == 2u) << DumpControls(window);
    for (const std::wstring &button : VisibleTexts(window, L"Button"))
        EXPECT_EQ(button, L"Close") << "only the title bar's button shows\n" << DumpControls(window);
    EXPECT_NE(FindWindowOf(setup.Pid(), L"Torvane Setup v0.1"), nullptr) << "the package's background";

    EXPECT_EQ(WaitForEnd(), 3010u) << "the package asks for a restart, which a silent run never makes";
    EXPECT_EQ(FindDialog(setup.Pid()), nullptr);
    ExpectTree(destination, L"Caf\u00e9 App\\", ExpectedTree(plan.components, {1}));
    EXPECT_FALSE(PathExists(ProgramsFolder() + L"\\" + Widen(plan.startmenuDirectory))) << "/NOICONS";
}

TEST_F(Deployment, IncompleteInstallationEndsWithFourAndItsNoticeInTheLog)
{
    std::vector<ComponentSpec> components = ThreeComponents();
    components[1].writeArchive = false;
    PackagePlan plan = DeploymentPlan(components);
    plan.pages = "1111111"; // a restart is asked for too, but cannot mend what is missing
    ASSERT_NO_FATAL_FAILURE(Write(plan));
    EXPECT_EQ(RunSetup(L"/LOG=" + Quote(LogPath()) + L" /VERYSILENT /NOICONS /DIR=" + Quote(Target())), 4u);
    ExpectTree(destination, L"Caf\u00e9 App\\", ExpectedTree(plan.components, {1}));
    const std::string log = Log();
    for (const std::string &line :
         {std::string(" Problem: Documentation: component2.tsa: "),
          std::string(" The notice \"Installation incomplete\", not shown:\r\n"),
          std::string("     Documentation: component2.tsa: "),
          std::string(" Result: installed incompletely\r\n"), std::string(" Exit code: 4\r\n")})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\nis missing from\n" << log;
}

TEST_F(Deployment, WizardWithSwitchesProposesTheirChoiceAndCancelEndsWithTwo)
{
    PackagePlan plan = DeploymentPlan();
    plan.pages = "0011011";
    ASSERT_NO_FATAL_FAILURE(Write(plan));
    ASSERT_NO_FATAL_FAILURE(
        Start(L"/DIR=" + Quote(Target()) + L" /COMPONENTS=Extras /LOG=" + Quote(LogPath())));
    HWND window = WaitForWindow(setup.Pid(), defaultTitle::directory, runTimeoutMs);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(FindControls(window, Target(), L"Edit", true).empty()) << DumpControls(window);
    ASSERT_TRUE(ClickButton(window, L"Next ->"));
    ASSERT_TRUE(WaitForWindowText(window, defaultTitle::components));
    for (const auto &[name, ticked] : {std::pair<std::wstring, bool>{L"Main program", true},
                                       {L"Documentation", false},
                                       {L"Extras", true}}) {
        std::optional<Control> box = FindControl(window, name, L"Button");
        ASSERT_TRUE(box.has_value()) << DumpControls(window);
        EXPECT_EQ(box->IsChecked(), ticked) << Narrow(name);
    }
    ASSERT_TRUE(ClickButton(window, L"Cancel"));
    std::optional<MessageBoxInfo> box = WaitForMessageBox(setup.Pid());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Exit Setup");
    ASSERT_TRUE(PressButton(*box, L"Yes"));
    EXPECT_EQ(WaitForEnd(), 2u);
    EXPECT_FALSE(destination.DirExists(L"Caf\u00e9 App"));
    EXPECT_NE(Log().find(" Result: cancelled before anything was installed\r\n"), std::string::npos) << Log();
}

TEST_F(Deployment, TwoSilentRunsAtOnceBothInstallExactlyEachWithALogOfItsOwn)
{
    const PackagePlan plan = DeploymentPlan();
    ASSERT_NO_FATAL_FAILURE(Write(plan));
    const std::vector<std::wstring> logsBefore = TemporaryLogs();
    Process second;
    StartOptions options = package.ProgramOptions();
    options.arguments = L"/VERYSILENT /NOICONS /LOG /DIR=" + Quote(destination.PathOf(L"second"));
    ASSERT_TRUE(second.Start(options));
    EXPECT_EQ(RunSetup(L"/VERYSILENT /NOICONS /LOG /DIR=" + Quote(destination.PathOf(L"first"))), 0u);
    DWORD secondCode = 1234;
    ASSERT_TRUE(second.WaitForExit(runTimeoutMs, &secondCode));
    EXPECT_EQ(secondCode, 0u);

    std::vector<std::pair<std::wstring, std::string>> both;
    for (const wchar_t *folder : {L"first\\", L"second\\"})
        for (const auto &file : ExpectedTree(plan.components, {1, 2}))
            both.emplace_back(folder + file.first, file.second);
    std::sort(both.begin(), both.end());
    ExpectTree(destination, L"", both);

    std::vector<std::wstring> added;
    for (const std::wstring &name : TemporaryLogs())
        if (std::find(logsBefore.begin(), logsBefore.end(), name) == logsBefore.end()) added.push_back(name);
    ASSERT_EQ(added.size(), 2u) << "each run makes a log of its own and overwrites none";
    for (const std::wstring &name : added) {
        const std::string text = ReadWhole(TemporaryFolder() + name);
        EXPECT_NE(text.find(", log " + Utf8(TemporaryFolder() + name) + "\r\n"), std::string::npos) << text;
        DeleteFileW((TemporaryFolder() + name).c_str());
    }
}

struct RefusedCase {
    const char *name;
    std::wstring arguments; // "<dest>" stands for the destination, "<log>" for the log's path
    std::function<void(const SetupPackage &)> spoil;
    std::string logged; // in the log, when "<log>" is given
};

class RefusedStart : public ::testing::TestWithParam<RefusedCase>, protected DeploymentRun {};

std::wstring Substituted(std::wstring text, const std::wstring &marker, const std::wstring &value)
{
    for (size_t at; (at = text.find(marker)) != std::wstring::npos;) text.replace(at, marker.size(), value);
    return text;
}

TEST_P(RefusedStart, EndsWithOneAndWritesNothing)
{
    ASSERT_NO_FATAL_FAILURE(Write(DeploymentPlan()));
    if (GetParam().spoil) GetParam().spoil(package);
    const std::vector<std::wstring> packageFiles = package.Files();
    std::wstring arguments = Substituted(Substituted(GetParam().arguments, L"<dest>", Quote(Target())),
                                         L"<log>", Quote(LogPath()));
    EXPECT_EQ(RunSetup(arguments), 1u);
    EXPECT_FALSE(windowSeen);
    EXPECT_TRUE(destination.Files().empty());
    EXPECT_EQ(package.Files(), packageFiles) << "not even the marker file";
    if (!GetParam().logged.empty()) {
        EXPECT_NE(Log().find(" Setup cannot start: " + GetParam().logged), std::string::npos) << Log();
        EXPECT_NE(Log().find(" Exit code: 1\r\n"), std::string::npos) << Log();
    }
}

std::wstring OtherVersionLibrary()
{
    return ProgramFolder() + L"..\\other-version\\lumora.dll";
}

INSTANTIATE_TEST_SUITE_P(
    Deployment, RefusedStart,
    ::testing::Values(
        RefusedCase{"UnknownSwitch", L"/LOG=<log> /VERYSILENT /DIR=<dest> /FROB", nullptr,
                    "Unknown switch \"/FROB\"."},
        RefusedCase{"RelativeDestination", L"/VERYSILENT /LOG=<log> /DIR=..\\..\\x", nullptr,
                    "/DIR=\"..\\..\\x\" is not an absolute path"},
        RefusedCase{"EmptyDestination", L"/VERYSILENT /LOG=<log> /DIR=", nullptr,
                    "The switch /DIR= names no folder."},
        RefusedCase{"UnknownComponent",
                    L"/VERYSILENT /LOG=<log> /DIR=<dest> \"/COMPONENTS=main program,Nothing\"", nullptr,
                    "/COMPONENTS: no component of this package is named \"Nothing\"."},
        RefusedCase{"EverySeparatorInTheComponentList",
                    L"/VERYSILENT /LOG=<log> /DIR=<dest> \"/COMPONENTS= ,\t;:|/\\=-,\"\"\"", nullptr,
                    "/COMPONENTS: no component of this package is named \";:|/\\=-\"."},
        RefusedCase{"MissingConfiguration", L"/VERYSILENT /LOG=<log> /DIR=<dest>",
                    [](const SetupPackage &package) { package.Remove(L"setup.tsi"); },
                    "The package has no setup.tsi"},
        RefusedCase{"PackageWithoutPages", L"/VERYSILENT /LOG=<log> /DIR=<dest>",
                    [](const SetupPackage &package) {
                        package.WriteConfig(
                            "[Dialogs]\nIntroduction=0\nLicense=0\nDirectory=0\nComponents=0\n"
                            "Summary=0\nBye=0\nReboot=0\n");
                    },
                    "This setup package shows no page"},
        RefusedCase{"LibraryOfAnotherVersion", L"/SUPPRESSMSGBOXES /LOG=<log> /DIR=<dest>",
                    [](const SetupPackage &package) { package.CopyIn(OtherVersionLibrary(), L"lumora.dll"); },
                    "The library lumora.dll is of another version"},
        RefusedCase{"LogThatCannotBeMade",
                    L"/VERYSILENT /DIR=<dest> /LOG=<dest>\\no\\such\\folder\\setup.log", nullptr, ""}),
    [](const ::testing::TestParamInfo<RefusedCase> &info) { return std::string(info.param.name); });

TEST_F(Deployment, BadSwitchWithoutSilenceIsToldInABox)
{
    ASSERT_NO_FATAL_FAILURE(Write(DeploymentPlan()));
    ASSERT_NO_FATAL_FAILURE(Start(L"/SILENT /DIR=Program"));
    std::optional<MessageBoxInfo> box = WaitForMessageBox(setup.Pid(), runTimeoutMs);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Setup");
    EXPECT_NE(box->text.find(L"/DIR=\"Program\" is not an absolute path"), std::wstring::npos)
        << Narrow(box->text);
    EXPECT_NE(box->text.find(L"Setup /? lists the switches."), std::wstring::npos);
    ASSERT_TRUE(PressButton(*box, L"OK"));
    EXPECT_EQ(WaitForEnd(), 1u);
}

TEST_F(Deployment, TenThousandSwitchesShowTheListOfSwitchesOnce)
{
    ASSERT_NO_FATAL_FAILURE(Write(DeploymentPlan()));
    std::wstring arguments = L"/VERYSILENT";
    for (int k = 0; k < 10000; ++k) arguments += k % 2 ? L" /?" : L" -?";
    ASSERT_NO_FATAL_FAILURE(Start(arguments));
    std::optional<MessageBoxInfo> box = WaitForMessageBox(setup.Pid(), runTimeoutMs);
    ASSERT_TRUE(box.has_value());
    for (const wchar_t *shown :
         {L"/VERYSILENT", L"/COMPONENTS=LIST", L"/LOG=FILE", L"3010", L"accepts the licence"})
        EXPECT_NE(box->text.find(shown), std::wstring::npos) << Narrow(shown);
    ASSERT_TRUE(PressButton(*box, L"OK"));
    EXPECT_EQ(WaitForEnd(), 0u);
    EXPECT_TRUE(destination.Files().empty());
}

TEST_F(Deployment, QuotesInsideTheDestinationAreDroppedAndALongDestinationIsKeptWhole)
{
    const PackagePlan plan = DeploymentPlan({ThreeComponents()[0]});
    ASSERT_NO_FATAL_FAILURE(Write(plan));
    EXPECT_EQ(RunSetup(L"/VERYSILENT /NOICONS \"/DIR=" + Target() + L"\\in\"ner"), 0u);
    ExpectTree(destination, L"Caf\u00e9 App\\inner\\", ExpectedTree(plan.components, {1}));

    // Near the longest command line Windows takes, in levels as long as a name may be.
    std::wstring deep = destination.PathOf(L"deep");
    while (deep.size() < 30000) deep += L"\\" + std::wstring(200, L'd');
    DWORD code = RunSetup(L"/VERYSILENT /NOICONS /LOG=" + Quote(LogPath()) + L" \"/DIR=" + deep + L"\"");
    EXPECT_FALSE(windowSeen);
    EXPECT_NE(Log().find(" Destination: " + Utf8(deep) + "\r\n"), std::string::npos);
    if (code == 0u) {
        for (const auto &file : ExpectedTree(plan.components, {1}))
            EXPECT_TRUE(ReadWhole(deep + L"\\" + file.first) == file.second) << Narrow(file.first);
    } else {
        EXPECT_EQ(code, 4u) << "a path the system cannot take is an incomplete installation";
    }
    // Nothing beside the two destinations, nor in the package but the marker.
    std::vector<std::wstring> top;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((destination.Dir() + L"\\*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do
        if (found.cFileName[0] != L'.') top.push_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::wstring>{L"Caf\u00e9 App", L"deep"}));
}

} // namespace
