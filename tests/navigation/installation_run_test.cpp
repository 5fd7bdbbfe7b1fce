// The installation as a user starts it from the wizard: what lands in the destination, the
// bars while it runs, the shortcuts, the notice when something could not be installed, and
// closing the window while the worker runs.
#include "removal/removal_record.h"
#include "tests/common/wizard_session.h"
#include "tests/navigation/shell_link.h"
#include "tests/navigation/test_package.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <set>

using namespace navtest;
using namespace setuptest;
using namespace uidriver;

namespace {

// Directory, Components, Bye and Reboot only: the shortest walk that installs.
const std::string installingPages = "0011011";

std::vector<ComponentSpec> ThreeComponents()
{
    return {Component("Main program", "required", ".",
                      {{{"readme.txt", "Read me first.\r\n"},
                        {"bin/tool.dat", GeneratedContent(30000, 2)},
                        {"empty.txt", ""}},
                       {{"help/pages/start.html", "<html>start</html>"},
                        {"help\\index.html", "<html>index</html>"}}}),
            Component("Documentation", "default", "docs", {{{"manual.txt", GeneratedContent(250000, 3)}}}),
            Component("Extras", "optional", "extras", {{{"extra.txt", GeneratedContent(1000, 4)}}})};
}

// Components big enough that the bars can be watched and the window closed mid-run.
const std::vector<ComponentSpec> &LargeComponents()
{
    static const std::vector<ComponentSpec> components = {
        Component("Large data", "required", ".",
                  {{{"large/one.dat", GeneratedContent(8000000, 5)},
                    {"large/two.dat", GeneratedContent(8000000, 6)}}}),
        Component("More data", "default", "more",
                  {{{"more/one.dat", GeneratedContent(8000000, 7)},
                    {"more/two.dat", GeneratedContent(8000000, 8)}}})};
    return components;
}

// The pages that install and the given components.
PackagePlan InstallingPlan(std::vector<ComponentSpec> components)
{
    PackagePlan plan;
    plan.pages = installingPages;
    plan.components = std::move(components);
    return plan;
}

// Opens the wizard on the Directory page, types the destination and goes on to the Components
// page.
void WalkToComponents(WizardSession &wizard, const std::wstring &destination)
{
    ASSERT_TRUE(wizard.Open(defaultTitle::directory)) << Narrow(wizard.Process().Error());
    ASSERT_TRUE(wizard.WaitForPage(defaultTitle::directory, {L"Cancel", L"Next ->"})) << wizard.Describe();
    ASSERT_TRUE(wizard.SetDestination(destination));
    ASSERT_TRUE(wizard.Press(L"Next ->"));
    ASSERT_TRUE(wizard.WaitForTitle(defaultTitle::components)) << wizard.Describe();
}

// One installation run: a package of the test's own, a destination folder of its own and the
// wizard started on them. Call its steps inside ASSERT_NO_FATAL_FAILURE.
class InstallationRun {
protected:
    void Write(const PackagePlan &plan)
    {
        ASSERT_TRUE(WritePackage(package, plan)) << Narrow(package.Error());
    }
    void StartWizard()
    {
        ASSERT_TRUE(wizard.Start(package.ProgramOptions())) << Narrow(wizard.Process().Error());
    }
    // Starts the wizard on the written package and walks it from the Directory page through the
    // Components page, ticking or unticking `toggles` there, into the installation into `target`.
    void Install(const std::wstring &target, const std::vector<std::wstring> &toggles = {})
    {
        ASSERT_NO_FATAL_FAILURE(StartWizard());
        ASSERT_NO_FATAL_FAILURE(WalkToComponents(wizard, target));
        for (const std::wstring &toggle : toggles) ASSERT_TRUE(wizard.Click(toggle)) << wizard.Describe();
        ASSERT_TRUE(wizard.Press(L"Next ->"));
    }
    // Writes the plan's package and installs it into the destination folder.
    void Install(const PackagePlan &plan, const std::vector<std::wstring> &toggles = {})
    {
        ASSERT_NO_FATAL_FAILURE(Write(plan));
        ASSERT_NO_FATAL_FAILURE(Install(destination.Dir(), toggles));
    }

    SetupPackage package;
    TempFolder destination{L"setup-dest"};
    WizardSession wizard;
};

class Installation : public ::testing::Test, protected InstallationRun {};

void ExpectTree(const TempFolder &destination,
                const std::vector<std::pair<std::wstring, std::string>> &expected)
{
    std::vector<std::wstring> names;
    for (const auto &entry : expected) names.push_back(entry.first);
    std::vector<std::wstring> actual = destination.Files();
    std::sort(actual.begin(), actual.end());
    ASSERT_EQ(actual, names);
    for (const auto &entry : expected) {
        std::optional<std::string> content = destination.ReadFile(entry.first);
        ASSERT_TRUE(content.has_value()) << Narrow(entry.first);
        EXPECT_TRUE(*content == entry.second) << Narrow(entry.first) << " differs from what was packed";
    }
}

struct SelectionCase {
    const char *name;
    std::vector<std::wstring> toggles;
    std::vector<int> installed;
};

class InstalledTree : public ::testing::TestWithParam<SelectionCase>, protected InstallationRun {};

// The logs a run has left in the temporary folder; a run without switches leaves none.
int TemporaryLogCount()
{
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((std::wstring(folder) + L"Setup Log *").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do count++;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

TEST_P(InstalledTree, HoldsExactlyThePackedFilesOfTheChosenComponents)
{
    const PackagePlan plan = InstallingPlan(ThreeComponents());
    const int logsBefore = TemporaryLogCount();
    ASSERT_NO_FATAL_FAILURE(Install(plan, GetParam().toggles));
    ASSERT_TRUE(wizard.WaitForPage(defaultTitle::bye, {L"Next ->"}, 120000)) << wizard.Describe();
    EXPECT_EQ(FindDialog(wizard.Pid()), nullptr) << "a clean installation reported a fault";

    // Exactly the packed files: a package without [Uninstall] leaves no uninstaller or record,
    // and no entry in the list of installed programs either.
    ExpectTree(destination, ExpectedTree(plan.components, GetParam().installed));
    HKEY entry = nullptr;
    EXPECT_NE(RegOpenKeyExW(
                  HKEY_LOCAL_MACHINE,
                  (L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + UninstallKeyName(L"Setup"))
                      .c_str(),
                  0, KEY_READ, &entry),
              ERROR_SUCCESS);
    EXPECT_FALSE(package.FileExists(L"buffer.temp"));
    EXPECT_FALSE(package.FileExists(L"data.temp"));
    FinishNormally(wizard, package);
    EXPECT_EQ(TemporaryLogCount(), logsBefore) << "a run without switches writes no log";
}

INSTANTIATE_TEST_SUITE_P(
    Installation, InstalledTree,
    ::testing::Values(SelectionCase{"DefaultChoice", {}, {1, 2}},
                      SelectionCase{"ExtrasInsteadOfDocumentation", {L"Documentation", L"Extras"}, {1, 3}}),
    [](const ::testing::TestParamInfo<SelectionCase> &info) { return std::string(info.param.name); });

TEST_F(Installation, BothBarsMoveWhileALargeComponentInstalls)
{
    ASSERT_NO_FATAL_FAILURE(Install(InstallingPlan(LargeComponents())));
    ASSERT_TRUE(wizard.WaitForTitle(defaultTitle::installation)) << wizard.Describe();
    std::vector<HWND> bars;
    ASSERT_TRUE(WaitUntil([&] {
        bars = wizard.ProgressBars();
        return bars.size() == 2 && IsVisible(bars[0]) && IsVisible(bars[1]);
    })) << wizard.Describe();

    std::set<int> fileValues;
    std::vector<int> totalValues;
    // Read the bars as often as possible until the installation page goes.
    ASSERT_TRUE(WaitUntil(
        [&] {
            int file = ProgressPosition(bars[0]);
            int total = ProgressPosition(bars[1]);
            if (file >= 0) fileValues.insert(file);
            if (total >= 0 && (totalValues.empty() || totalValues.back() != total))
                totalValues.push_back(total);
            return WindowText(wizard.Window()) != defaultTitle::installation;
        },
        120000, 1))
        << wizard.Describe();

    EXPECT_TRUE(std::any_of(fileValues.begin(), fileValues.end(), [](int v) { return v > 0 && v < 100; }))
        << "the file bar was never seen between 0 and 100; seen:" << [&] {
               std::string text;
               for (int value : fileValues) text += " " + std::to_string(value);
               return text;
           }();
    ASSERT_FALSE(totalValues.empty());
    EXPECT_TRUE(std::is_sorted(totalValues.begin(), totalValues.end())) << "the total bar went back";
    for (int value : totalValues) EXPECT_TRUE(value == 0 || value == 50 || value == 100) << value;
    std::string seen;
    for (int value : totalValues) seen += " " + std::to_string(value);
    EXPECT_NE(std::find(totalValues.begin(), totalValues.end(), 50), totalValues.end())
        << "the total bar never showed the first of two components done; it showed" << seen
        << " and the file bar " << fileValues.size() << " values";
    FinishNormally(wizard, package);
}

std::wstring ProgramsFolder()
{
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, CSIDL_PROGRAMS, FALSE);
    return path;
}

std::vector<std::wstring> FilesIn(const std::wstring &folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(Installation, ShortcutsAreMadeOnlyForChosenComponentsWithTargetAndWorkingDirectory)
{
    PackagePlan plan =
        InstallingPlan({Component("Main program", "required", ".", {{{"bin/app.exe", "MZ app"}}}),
                        Component("Documentation", "optional", "docs", {{{"manual.txt", "manual"}}}),
                        Component("Extras", "default", "extras", {{{"extra.txt", "extra"}}})});
    std::wstring folderName =
        L"NavLinks" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
    plan.startmenuDirectory = Narrow(folderName);
    plan.links = {{"1", "Application", "bin\\app.exe"}, {"2", "Manual", "docs\\manual.txt"},
                  {"3", "Extras", "extras\\extra.txt"}, {"", "Missing", "bin\\app.exe"},
                  {"0", "Zero", "bin\\app.exe"},        {"9", "Beyond", "bin\\app.exe"}};
    std::wstring linkFolder = ProgramsFolder() + L"\\" + folderName;
    ASSERT_NO_FATAL_FAILURE(Install(plan));
    ASSERT_TRUE(wizard.WaitForPage(defaultTitle::bye, {L"Next ->"}, 120000)) << wizard.Describe();
    EXPECT_EQ(FindDialog(wizard.Pid()), nullptr) << "skipped links are not faults of the installation";

    std::vector<std::wstring> links = FilesIn(linkFolder);
    EXPECT_EQ(links, (std::vector<std::wstring>{L"Application.lnk", L"Extras.lnk"}));
    std::string root = Narrow(destination.Dir());
    struct Expected {
        const wchar_t *link;
        std::string target;
    };
    for (const Expected &expected : {Expected{L"Application.lnk", root + "\\bin\\app.exe"},
                                     Expected{L"Extras.lnk", root + "\\extras\\extra.txt"}}) {
        std::optional<LinkContents> contents = ReadLink(linkFolder + L"\\" + expected.link);
        ASSERT_TRUE(contents.has_value()) << Narrow(expected.link);
        EXPECT_EQ(contents->target, expected.target);
        EXPECT_EQ(contents->workingDirectory, root);
    }
    RemoveTree(linkFolder);
    FinishNormally(wizard, package);
}

TEST_F(Installation, LinkWhosePathDoesNotFitIsSkippedAndNamedInTheNotice)
{
    PackagePlan plan =
        InstallingPlan({Component("Main program", "required", ".", {{{"app.exe", "MZ app"}}})});
    std::wstring folderName =
        L"NavLong" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
    plan.startmenuDirectory = Narrow(folderName);
    std::string longName(250, 'L');
    plan.links = {{"1", longName, "app.exe"}, {"1", "Application", "app.exe"}};
    std::wstring linkFolder = ProgramsFolder() + L"\\" + folderName;
    ASSERT_NO_FATAL_FAILURE(Install(plan));
    std::optional<MessageBoxInfo> box = WaitForMessageBox(wizard.Pid(), 120000);
    ASSERT_TRUE(box.has_value()) << wizard.Describe();
    EXPECT_EQ(box->caption, L"Installation incomplete");
    EXPECT_NE(box->text.find(L"longer than 259 characters"), std::wstring::npos) << Narrow(box->text);
    ASSERT_TRUE(PressButton(*box, L"OK"));
    ASSERT_TRUE(wizard.WaitForPage(defaultTitle::bye, {L"Next ->"})) << wizard.Describe();
    EXPECT_EQ(FilesIn(linkFolder), std::vector<std::wstring>{L"Application.lnk"});
    RemoveTree(linkFolder);
    FinishNormally(wizard, package);
}

TEST_F(Installation, DestinationBelowFoldersThatDoNotExistYetIsMadeLevelByLevel)
{
    ASSERT_NO_FATAL_FAILURE(Write(InstallingPlan(
        {Component("Main program", "required", "sub/deeper", {{{"readme.txt", "Read me.\r\n"}}})})));
    ASSERT_NO_FATAL_FAILURE(Install(destination.PathOf(L"new\\folder")));
    ASSERT_TRUE(wizard.WaitForPage(defaultTitle::bye, {L"Next ->"}, 120000)) << wizard.Describe();
    EXPECT_EQ(FindDialog(wizard.Pid()), nullptr);
    EXPECT_TRUE(destination.FileExists(L"new\\folder\\sub\\deeper\\readme.txt"));
    FinishNormally(wizard, package);
}

struct FaultCase {
    const char *name;
    // Spoils the package or names a destination that cannot be made.
    std::function<void(const SetupPackage &, std::wstring &destination)> spoil;
    std::wstring mentioned; // in the notice
    bool readmeInstalled;   // the sound component still lands
};

class InstallationFault : public ::testing::TestWithParam<FaultCase>, protected InstallationRun {};

TEST_P(InstallationFault, IsToldBeforeTheCompletionPage)
{
    std::wstring target = destination.Dir();
    ASSERT_NO_FATAL_FAILURE(Write(InstallingPlan(
        {Component("Main program", "required", ".", {{{"readme.txt", "Read me.\r\n"}}}),
         Component("Broken part", "default", "broken", {{{"part.dat", GeneratedContent(20000, 8)}}})})));
    GetParam().spoil(package, target);
    ASSERT_NO_FATAL_FAILURE(Install(target));
    std::optional<MessageBoxInfo> box = WaitForMessageBox(wizard.Pid(), 120000);
    ASSERT_TRUE(box.has_value()) << "no notice of the failed installation\n" << wizard.Describe();
    EXPECT_EQ(box->caption, L"Installation incomplete");
    EXPECT_NE(box->text.find(GetParam().mentioned), std::wstring::npos) << Narrow(box->text);
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_EQ(box->icon, MessageIcon::Warning);
    EXPECT_EQ(WindowText(wizard.Window()), defaultTitle::installation)
        << "the completion page came before the notice";
    std::wstring notice = Lines(box->text);
    EXPECT_EQ(notice.rfind(L"Setup could not install everything. These components or files are missing or "
                           L"incomplete:\n\n",
                           0),
              0u)
        << Narrow(notice);
    EXPECT_NE(notice.find(L"\n\nRun Setup again once the problem has been solved."), std::wstring::npos);
    ASSERT_TRUE(PressButton(*box, L"OK"));
    // The completion page does not read as a success of its own.
    ASSERT_TRUE(wizard.WaitForPage(defaultTitle::bye, {L"Next ->"})) << wizard.Describe();
    EXPECT_TRUE(wizard.Shows(L"Some parts could not be installed; see the list shown before.\n\n"
                             L"The setup has been completed!"))
        << wizard.Describe();
    EXPECT_EQ(destination.FileExists(L"readme.txt"), GetParam().readmeInstalled);
    // An empty destination must not turn into the root of the current drive.
    EXPECT_EQ(GetFileAttributesW(L"\\readme.txt"), INVALID_FILE_ATTRIBUTES);
    FinishNormally(wizard, package);
}

INSTANTIATE_TEST_SUITE_P(
    Installation, InstallationFault,
    ::testing::Values(FaultCase{"MissingArchive",
                                [](const SetupPackage &package, std::wstring &) {
                                    package.Remove(L"component2.tsa");
                                },
                                L"Broken part", true},
                      FaultCase{"TruncatedArchive",
                                [](const SetupPackage &package, std::wstring &) {
                                    std::string archive = *package.ReadFile(L"component2.tsa");
                                    package.WriteFile(L"component2.tsa",
                                                      archive.substr(0, archive.size() / 2));
                                },
                                L"Broken part", true},
                      FaultCase{"EmptyDestination",
                                [](const SetupPackage &, std::wstring &destination) { destination = L""; },
                                L"no destination directory", false},
                      FaultCase{"DestinationBelowAFile",
                                [](const SetupPackage &package, std::wstring &destination) {
                                    destination = package.PathOf(L"setup.tsi") + L"\\target";
                                },
                                L"destination", false}),
    [](const ::testing::TestParamInfo<FaultCase> &info) { return std::string(info.param.name); });

class LibraryCopy : public ::testing::TestWithParam<bool>, protected InstallationRun {};

TEST_P(LibraryCopy, PutsTheLibraryBesideTheComponentsOnlyWhenAsked)
{
    PackagePlan plan =
        InstallingPlan({Component("Main program", "required", ".", {{{"readme.txt", "Read me.\r\n"}}})});
    plan.copyLibrary = GetParam();
    ASSERT_NO_FATAL_FAILURE(Install(plan));
    ASSERT_TRUE(wizard.WaitForPage(defaultTitle::bye, {L"Next ->"}, 120000)) << wizard.Describe();
    ASSERT_EQ(destination.FileExists(L"lumora.dll"), GetParam());
    if (GetParam()) {
        EXPECT_TRUE(destination.ReadFile(L"lumora.dll") == package.ReadFile(L"lumora.dll"));
    }
    FinishNormally(wizard, package);
}

INSTANTIATE_TEST_SUITE_P(Installation, LibraryCopy, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "Asked" : "NotAsked");
                         });

bool TreeComplete(const TempFolder &destination,
                  const std::vector<std::pair<std::wstring, std::string>> &expected)
{
    for (const auto &entry : expected) {
        std::optional<uint64_t> size = destination.FileSize(entry.first);
        if (!size || *size != entry.second.size()) return false;
    }
    return true;
}

enum class CloseWay { CloseCommand, Background, SessionEnd };

struct CloseCase {
    const char *name;
    std::string pages;
    CloseWay way;
    std::wstring answer; // in the exit box; empty: no box is expected
    bool programEnds;
};

class CloseWhileInstalling : public ::testing::TestWithParam<CloseCase>, protected InstallationRun {};

TEST_P(CloseWhileInstalling, KeepsTheProgressInViewUntilTheWorkerEnds)
{
    const CloseCase &param = GetParam();
    PackagePlan plan = InstallingPlan(LargeComponents());
    plan.pages = param.pages;
    plan.background = param.way == CloseWay::Background;
    const auto expected = ExpectedTree(plan.components, {1, 2});
    ASSERT_NO_FATAL_FAILURE(Install(plan));
    ASSERT_TRUE(wizard.WaitForTitle(defaultTitle::installation)) << wizard.Describe();
    std::unique_ptr<SessionEndRequest> sessionEnd;
    if (param.way == CloseWay::CloseCommand) {
        ASSERT_TRUE(uidriver::CloseWindow(wizard.Window()));
    } else if (param.way == CloseWay::Background) {
        HWND background = WaitForWindow(wizard.Pid(), L"Torvane Setup v0.1");
        ASSERT_TRUE(uidriver::CloseWindow(background));
    } else {
        sessionEnd = std::make_unique<SessionEndRequest>(wizard.Window());
    }

    if (!param.answer.empty()) {
        std::optional<MessageBoxInfo> box = WaitForMessageBox(wizard.Pid());
        ASSERT_TRUE(box.has_value()) << wizard.Describe();
        EXPECT_EQ(box->caption, L"Exit Setup");
        // The usual question would say that nothing gets installed, which is no longer true.
        EXPECT_NE(box->text.find(L"cannot stop before it is done"), std::wstring::npos) << Narrow(box->text);
        EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
        EXPECT_EQ(WindowText(wizard.Window()), defaultTitle::installation);
        ASSERT_TRUE(PressButton(*box, param.answer));
    }
    // A running installation cannot let the session end.
    if (sessionEnd) {
        EXPECT_EQ(sessionEnd->Agreed(), std::optional<bool>(false));
    }

    if (param.programEnds) {
        // Until the window goes it shows the installation; it goes only with every file in place.
        bool completeWhenGone = false;
        std::wstring titleSeen;
        ASSERT_TRUE(WaitUntil(
            [&] {
                if (IsWindow(wizard.Window()) && IsVisible(wizard.Window())) {
                    std::wstring title = WindowText(wizard.Window());
                    if (!title.empty() && title != defaultTitle::installation) titleSeen = title;
                    return false;
                }
                completeWhenGone = TreeComplete(destination, expected);
                return true;
            },
            120000))
            << "the window did not close after the installation";
        EXPECT_TRUE(completeWhenGone) << "the window went while the worker was still installing";
        EXPECT_EQ(titleSeen, L"") << "the window showed another page before it closed";
        DWORD exitCode = 1;
        ASSERT_TRUE(wizard.Process().WaitForExit(120000, &exitCode)) << "the program did not end";
        EXPECT_EQ(exitCode, 0u);
        EXPECT_TRUE(package.FileExists(L"setup.temp"));
        ExpectTree(destination, expected);
        EXPECT_FALSE(package.FileExists(L"buffer.temp"));
        EXPECT_FALSE(package.FileExists(L"data.temp"));
    } else {
        ASSERT_TRUE(wizard.WaitForPage(defaultTitle::bye, {L"Next ->"}, 120000)) << wizard.Describe();
        ExpectTree(destination, expected);
        FinishNormally(wizard, package);
    }
}

INSTANTIATE_TEST_SUITE_P(Installation, CloseWhileInstalling,
                         ::testing::Values(CloseCase{"YesByCloseCommandEndsAfterTheWorker", installingPages,
                                                     CloseWay::CloseCommand, L"Yes", true},
                                           CloseCase{"YesByClosingTheBackgroundEndsAfterTheWorker",
                                                     installingPages, CloseWay::Background, L"Yes", true},
                                           CloseCase{"YesBySessionEndEndsAfterTheWorker", installingPages,
                                                     CloseWay::SessionEnd, L"Yes", true},
                                           CloseCase{"NoInTheExitBoxGoesOnToTheCompletionPage",
                                                     installingPages, CloseWay::CloseCommand, L"No", false},
                                           CloseCase{"CompletionAsLastPageEndsAfterTheWorkerWithoutAQuestion",
                                                     "0011010", CloseWay::CloseCommand, L"", true}),
                         [](const ::testing::TestParamInfo<CloseCase> &info) {
                             return std::string(info.param.name);
                         });

struct BarEndCase {
    const char *name;
    std::vector<ComponentSpec> components;
    bool copyLibrary;
};

std::vector<PackedFile> SmallFiles(int count)
{
    std::vector<PackedFile> files;
    for (int k = 0; k < count; ++k)
        files.push_back({"small/" + std::to_string(k) + ".txt", "file " + std::to_string(k)});
    return files;
}

class BarsAtTheEnd : public ::testing::TestWithParam<BarEndCase>, protected InstallationRun {};

// The bars are hidden with the installation display; what they hold then is where the run ended.
TEST_P(BarsAtTheEnd, ShowHundredOnceEverythingIsInstalled)
{
    PackagePlan plan = InstallingPlan(GetParam().components);
    plan.copyLibrary = GetParam().copyLibrary;
    ASSERT_NO_FATAL_FAILURE(Install(plan));
    ASSERT_TRUE(wizard.WaitForPage(defaultTitle::bye, {L"Next ->"}, 120000)) << wizard.Describe();
    EXPECT_EQ(FindDialog(wizard.Pid()), nullptr);
    std::vector<HWND> bars = wizard.ProgressBars();
    ASSERT_EQ(bars.size(), 2u) << wizard.Describe();
    EXPECT_EQ(ProgressPosition(bars[0]), 100) << "the file bar";
    EXPECT_EQ(ProgressPosition(bars[1]), 100) << "the total bar";
    FinishNormally(wizard, package);
}

INSTANTIATE_TEST_SUITE_P(
    Installation, BarsAtTheEnd,
    ::testing::Values(
        BarEndCase{
            "AfterManySmallFiles", {Component("Main program", "required", ".", {SmallFiles(400)})}, false},
        BarEndCase{
            "AfterALargeFile",
            {Component("Main program", "required", ".", {{{"large.dat", GeneratedContent(6000000, 9)}}})},
            false},
        BarEndCase{"AfterAnEmptyLastFile",
                   {Component("Main program", "required", ".", {{{"a.txt", "a"}, {"empty.txt", ""}}})},
                   false},
        BarEndCase{
            "AfterTheLibraryCopy", {Component("Main program", "required", ".", {SmallFiles(3)})}, true}),
    [](const ::testing::TestParamInfo<BarEndCase> &info) { return std::string(info.param.name); });

TEST_F(Installation, TwoInstallersStartedAtOnceFromOnePackageFolderBothEndWithExactTrees)
{
    TempFolder second(L"setup-dest");
    // Many groups, so both runs ask for the temp files' names again and again.
    std::vector<std::vector<PackedFile>> groups;
    for (int k = 0; k < 8; ++k)
        groups.push_back({{"g" + std::to_string(k) + "/a.dat", GeneratedContent(400000, 20 + k)},
                          {"g" + std::to_string(k) + "/b.dat", GeneratedContent(300000, 40 + k)}});
    const PackagePlan plan = InstallingPlan({Component("Main program", "required", ".", groups)});
    ASSERT_NO_FATAL_FAILURE(Write(plan));

    WizardSession one(package), two(package);
    ASSERT_NO_FATAL_FAILURE(WalkToComponents(one, destination.Dir()));
    ASSERT_NO_FATAL_FAILURE(WalkToComponents(two, second.Dir()));
    ASSERT_TRUE(one.Press(L"Next ->"));
    ASSERT_TRUE(two.Press(L"Next ->"));
    for (WizardSession *run : {&one, &two}) {
        ASSERT_TRUE(run->WaitForPage(defaultTitle::bye, {L"Next ->"}, 120000)) << run->Describe();
        EXPECT_EQ(FindDialog(run->Pid()), nullptr);
    }
    ExpectTree(destination, ExpectedTree(plan.components, {1}));
    ExpectTree(second, ExpectedTree(plan.components, {1}));
    EXPECT_FALSE(package.FileExists(L"buffer.temp"));
    EXPECT_FALSE(package.FileExists(L"data.temp"));
    FinishNormally(one, package);
    FinishNormally(two, package);
}

struct CountCase {
    int count;
    bool choicePages; // the Components and Summary pages are shown
};

class EveryComponent : public ::testing::TestWithParam<CountCase>, protected InstallationRun {};

// Every component is offered and installed, past the rows the page has room for too; with 36
// the component after the 27th is large, so the total bar is seen resting at 74.
TEST_P(EveryComponent, IsOfferedAndInstalledWithBarsCountingAllOfThem)
{
    const CountCase &param = GetParam();
    PackagePlan plan;
    plan.pages = param.choicePages ? "0011111" : "0010011";
    for (int i = 1; i <= param.count; ++i) {
        std::string number = std::to_string(i);
        std::string content = i == 28 ? GeneratedContent(12000000, 28) : "part " + number;
        plan.components.push_back(Component("Part " + number, i == param.count ? "required" : "default", ".",
                                            {{{"part" + number + ".txt", content}}}));
    }
    ASSERT_NO_FATAL_FAILURE(Write(plan));
    ASSERT_NO_FATAL_FAILURE(StartWizard());
    ASSERT_TRUE(wizard.Open(defaultTitle::directory)) << Narrow(wizard.Process().Error());
    ASSERT_TRUE(wizard.SetDestination(destination.Dir()));
    ASSERT_TRUE(wizard.Press(L"Next ->"));
    if (param.choicePages) {
        ASSERT_TRUE(wizard.WaitForTitle(defaultTitle::components)) << wizard.Describe();
        std::optional<Control> group = FindControl(wizard.Window(), L"Available components");
        ASSERT_TRUE(group.has_value()) << wizard.Describe();
        const int rows = std::min(param.count, 8);
        std::vector<std::wstring> boxes;
        for (const Control &control : Controls(wizard.Window())) {
            if (!control.IsCheckBox()) continue;
            boxes.push_back(control.text);
            EXPECT_TRUE(control.IsChecked()) << Narrow(control.text) << " starts ticked";
            EXPECT_EQ(control.enabled, control.text != L"Part " + std::to_wstring(param.count))
                << Narrow(control.text) << ": only the required one is fixed";
        }
        EXPECT_EQ(boxes.size(), static_cast<size_t>(param.count)) << wizard.Describe();
        // The box grows upwards from its bottom edge, one row per component, up to its largest.
        EXPECT_EQ(group->screenRect.bottom - group->screenRect.top, 25 * rows + 15);
        std::optional<Control> pageText = FindControl(wizard.Window(), L"Select components to install.");
        ASSERT_TRUE(pageText.has_value());
        EXPECT_GE(group->screenRect.top, pageText->screenRect.top + 32) << "the box covers the page icon";
        ASSERT_TRUE(wizard.Press(L"Next ->"));
        ASSERT_TRUE(wizard.WaitForTitle(L"Ready to install")) << wizard.Describe();
        ASSERT_TRUE(wizard.Press(L"Next ->"));
    }
    bool sawSeventyFour = false;
    ASSERT_TRUE(WaitUntil(
        [&] {
            std::vector<HWND> bars = wizard.ProgressBars();
            if (bars.size() == 2 && ProgressPosition(bars[1]) == 74) sawSeventyFour = true;
            return wizard.Shows(L"The setup has been completed!");
        },
        240000, 5))
        << wizard.Describe();
    EXPECT_EQ(sawSeventyFour, param.count == 36) << "component 27 of 36 shows 74";
    EXPECT_EQ(FindDialog(wizard.Pid()), nullptr);
    std::vector<int> installed;
    for (int i = 1; i <= param.count; ++i) installed.push_back(i);
    ExpectTree(destination, ExpectedTree(plan.components, installed));
    std::vector<HWND> bars = wizard.ProgressBars();
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(ProgressPosition(bars[1]), 100);
    FinishNormally(wizard, package);
}

INSTANTIATE_TEST_SUITE_P(Installation, EveryComponent,
                         ::testing::Values(CountCase{9, true}, CountCase{10, true}, CountCase{11, true},
                                           CountCase{12, true}, CountCase{12, false}, CountCase{36, true},
                                           CountCase{36, false}, CountCase{10, false}),
                         [](const ::testing::TestParamInfo<CountCase> &info) {
                             return std::to_string(info.param.count) +
                                    (info.param.choicePages ? "WithChoicePages" : "WithoutChoicePages");
                         });

// Folders that lead out of the destination are refused, whatever form they take, and the
// notice names each component or link left out, with the true reason: a name Windows does not
// allow is not called a way out.
TEST_F(Installation, NothingIsWrittenOutsideTheDestination)
{
    TempFolder outer(L"setup-outer");
    std::wstring inside = outer.Dir() + L"\\dest";
    PackagePlan plan = InstallingPlan(
        {Component("Main program", "required", ".", {{{"app.txt", "app"}}}),
         Component("Climber", "default", "..\\climbed", {{{"c.txt", "c"}}}),
         Component("Deep climber", "default", "sub\\..\\..\\deep", {{{"d.txt", "d"}}}),
         Component("Absolute", "default", Narrow(outer.Dir()) + "\\absolute", {{{"a.txt", "a"}}}),
         Component("Rooted", "default", "\\rooted", {{{"r.txt", "r"}}}),
         Component("Device", "default", "sub\\CON", {{{"n.txt", "n"}}})});
    plan.startmenuDirectory = "..\\..\\..\\escaped-links";
    plan.links = {{"1", "App", "app.txt"}};
    ASSERT_NO_FATAL_FAILURE(Write(plan));
    ASSERT_NO_FATAL_FAILURE(Install(inside));
    std::optional<MessageBoxInfo> box = WaitForMessageBox(wizard.Pid(), 120000);
    ASSERT_TRUE(box.has_value()) << "refused components were left out without a notice";
    EXPECT_EQ(box->caption, L"Installation incomplete");
    for (const wchar_t *name : {L"Climber", L"Deep climber", L"Absolute", L"Rooted"})
        EXPECT_NE(box->text.find(std::wstring(name) + L": "), std::wstring::npos) << Narrow(box->text);
    EXPECT_NE(
        box->text.find(L"Climber: ..\\climbed: the component's folder would lie outside the destination"),
        std::wstring::npos)
        << Narrow(box->text);
    EXPECT_NE(box->text.find(L"Device: sub\\CON: the component's folder is not a name Windows allows"),
              std::wstring::npos)
        << Narrow(box->text);
    EXPECT_NE(box->text.find(L"Main program: App.lnk: "), std::wstring::npos) << Narrow(box->text);
    ASSERT_TRUE(PressButton(*box, L"OK"));
    ASSERT_TRUE(wizard.WaitForPage(defaultTitle::bye, {L"Next ->"}, 120000)) << wizard.Describe();
    std::vector<std::wstring> everything = outer.Files();
    EXPECT_EQ(everything, std::vector<std::wstring>{L"dest\\app.txt"});
    FinishNormally(wizard, package);
}

} // namespace
