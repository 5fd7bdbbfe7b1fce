// Every way the wizard ends: Cancel and the close command with the exit box, "No" on the
// License page with the cancel notice, and Finish with a restart later or now.
#include "tests/common/wizard_session.h"
#include "tests/navigation/test_package.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace navtest;
using namespace setuptest;
using namespace uidriver;

namespace {

const std::wstring exitText = L"Do you really want to exit Setup now?\n\n"
                              L"If you quit now, the program will not be installed on your computer.\n"
                              L"You may run Setup again later to complete the installation.";
const std::wstring backgroundTitle = L"Torvane Setup v0.1";

PackagePlan SmallPackage(const std::string &pages)
{
    PackagePlan plan;
    plan.pages = pages;
    ComponentSpec component;
    component.name = "Main program";
    component.groups = {{{"readme.txt", "Read me.\r\n"}}};
    plan.components = {component};
    return plan;
}

void ExpectNormalEnd(WizardSession &wizard, const SetupPackage &package)
{
    DWORD exitCode = 1;
    ASSERT_TRUE(wizard.Process().WaitForExit(kDefaultTimeoutMs, &exitCode)) << "the program did not end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(package.FileExists(L"setup.temp"));
}

// One way a user or the system asks the program to end. A session end also gives an answer:
// whether the program lets the session end.
struct WayOut {
    const char *name;
    std::function<std::unique_ptr<SessionEndRequest>(WizardSession &wizard, HWND background)> ask;
};

const WayOut waysOut[] = {
    {"ByCancel",
     [](WizardSession &wizard, HWND) {
         EXPECT_TRUE(wizard.Press(L"Cancel"));
         return std::unique_ptr<SessionEndRequest>();
     }},
    {"ByCloseCommand",
     [](WizardSession &wizard, HWND) {
         EXPECT_TRUE(uidriver::CloseWindow(wizard.Window()));
         return std::unique_ptr<SessionEndRequest>();
     }},
    {"ByEndTask",
     [](WizardSession &wizard, HWND) {
         EXPECT_TRUE(EndTask(wizard.Window()));
         return std::unique_ptr<SessionEndRequest>();
     }},
    {"ByClosingTheBackground",
     [](WizardSession &, HWND background) {
         EXPECT_TRUE(uidriver::CloseWindow(background));
         return std::unique_ptr<SessionEndRequest>();
     }},
    {"ByEndTaskOnTheBackground",
     [](WizardSession &, HWND background) {
         EXPECT_TRUE(EndTask(background));
         return std::unique_ptr<SessionEndRequest>();
     }},
    {"BySessionEnd",
     [](WizardSession &wizard, HWND) { return std::make_unique<SessionEndRequest>(wizard.Window()); }},
};

class ExitQuestion : public ::testing::TestWithParam<WayOut> {};

TEST_P(ExitQuestion, NoKeepsThePageAndYesClosesBothWindows)
{
    SetupPackage package;
    PackagePlan plan = SmallPackage("1111111");
    plan.background = true;
    ASSERT_TRUE(WritePackage(package, plan)) << Narrow(package.Error());

    WizardSession wizard(package);
    ASSERT_TRUE(wizard.Open(L"Setup"));
    HWND background = WaitForWindow(wizard.Pid(), backgroundTitle);
    ASSERT_NE(background, nullptr);
    ASSERT_TRUE(wizard.WaitForPage(L"Setup", {L"Cancel", L"Next ->"})) << wizard.Describe();

    std::unique_ptr<SessionEndRequest> sessionEnd = GetParam().ask(wizard, background);
    std::optional<MessageBoxInfo> box = WaitForMessageBox(wizard.Pid());
    ASSERT_TRUE(box.has_value()) << "the program was let go without a question";
    EXPECT_EQ(box->caption, L"Exit Setup");
    EXPECT_EQ(box->text, exitText);
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    EXPECT_EQ(box->icon, MessageIcon::Question);
    ASSERT_TRUE(PressButton(*box, L"No"));
    ASSERT_TRUE(WaitForWindowGone(box->hwnd));
    if (sessionEnd) {
        EXPECT_EQ(sessionEnd->Agreed(), std::optional<bool>(false));
    }
    ASSERT_TRUE(wizard.WaitForPage(L"Setup", {L"Cancel", L"Next ->"})) << wizard.Describe();
    EXPECT_TRUE(IsVisible(wizard.Window()));
    EXPECT_TRUE(IsVisible(background));

    sessionEnd = GetParam().ask(wizard, background);
    box = WaitForMessageBox(wizard.Pid());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Exit Setup");
    ASSERT_TRUE(PressButton(*box, L"Yes"));
    if (sessionEnd) {
        EXPECT_EQ(sessionEnd->Agreed(), std::optional<bool>(true));
    }
    EXPECT_TRUE(WaitForWindowGone(wizard.Window()));
    EXPECT_TRUE(WaitForWindowGone(background));
    ExpectNormalEnd(wizard, package);
}

INSTANTIATE_TEST_SUITE_P(Ending, ExitQuestion, ::testing::ValuesIn(waysOut),
                         [](const ::testing::TestParamInfo<WayOut> &info) {
                             return std::string(info.param.name);
                         });

TEST(Ending, NoOnTheLicensePageShowsTheCancelNoticeAndOkEndsWithoutTheExitBox)
{
    SetupPackage package;
    ASSERT_TRUE(WritePackage(package, SmallPackage("1111111"))) << Narrow(package.Error());
    WizardSession wizard(package);
    ASSERT_TRUE(wizard.Open(L"Setup"));
    ASSERT_TRUE(wizard.WaitForPage(L"Setup", {L"Cancel", L"Next ->"})) << wizard.Describe();
    ASSERT_TRUE(wizard.Press(L"Next ->"));
    ASSERT_TRUE(wizard.WaitForPage(L"License", {L"<- Back", L"No", L"Yes"})) << wizard.Describe();

    ASSERT_TRUE(wizard.Press(L"No"));
    std::optional<MessageBoxInfo> box = WaitForMessageBox(wizard.Pid());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Info");
    EXPECT_EQ(box->text, L"The Setup will be cancelled now!");
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"OK", L"Cancel"}));
    EXPECT_EQ(box->icon, MessageIcon::Information);
    ASSERT_TRUE(PressButton(*box, L"Cancel"));
    ASSERT_TRUE(WaitForWindowGone(box->hwnd));
    ASSERT_TRUE(wizard.WaitForPage(L"License", {L"<- Back", L"No", L"Yes"})) << wizard.Describe();

    ASSERT_TRUE(wizard.Press(L"No"));
    box = WaitForMessageBox(wizard.Pid());
    ASSERT_TRUE(box.has_value());
    ASSERT_TRUE(PressButton(*box, L"OK"));
    // No second question may stand between OK and the end.
    bool exitBoxSeen = false;
    WaitUntil([&] {
        if (HWND dialog = FindDialog(wizard.Pid()))
            exitBoxSeen = exitBoxSeen || ReadMessageBox(dialog).caption == L"Exit Setup";
        return !wizard.Process().IsRunning();
    });
    EXPECT_FALSE(exitBoxSeen);
    ExpectNormalEnd(wizard, package);
}

// From the Introduction of a package with only it and the Summary on to the Summary.
void WalkToSummary(WizardSession &wizard)
{
    ASSERT_TRUE(wizard.Open(L"Setup"));
    ASSERT_TRUE(wizard.Press(L"Next ->"));
    ASSERT_TRUE(wizard.WaitForPage(L"Ready to install", {L"<- Back", L"Cancel", L"Finish"}))
        << wizard.Describe();
}

TEST(Ending, CancelOnTheLastPageBeforeAnyInstallationClosesAtOnce)
{
    SetupPackage package;
    ASSERT_TRUE(WritePackage(package, SmallPackage("1000100"))) << Narrow(package.Error());
    WizardSession wizard(package);
    ASSERT_NO_FATAL_FAILURE(WalkToSummary(wizard));
    ASSERT_TRUE(wizard.Press(L"Cancel"));
    ExpectNormalEnd(wizard, package);
}

TEST(Ending, SessionEndOnTheLastPageBeforeAnyInstallationNeedsNoQuestion)
{
    SetupPackage package;
    ASSERT_TRUE(WritePackage(package, SmallPackage("1000100"))) << Narrow(package.Error());
    WizardSession wizard(package);
    ASSERT_NO_FATAL_FAILURE(WalkToSummary(wizard));
    SessionEndRequest sessionEnd(wizard.Window());
    EXPECT_EQ(sessionEnd.Agreed(), std::optional<bool>(true));
    EXPECT_EQ(FindDialog(wizard.Pid()), nullptr);
    // Nothing closes on the program's own account: the system ends it, or another program
    // refuses the end and the page stays usable.
    EXPECT_TRUE(IsVisible(wizard.Window()));
    ASSERT_TRUE(wizard.Press(L"Cancel"));
    ExpectNormalEnd(wizard, package);
}

// Only the Reboot page: it is first, last and the page after the installation, so nothing
// is installed and Finish acts at once.
const std::string rebootOnly = "0000001";

TEST(Ending, FinishWithRestartLaterClosesTheWindow)
{
    SetupPackage package;
    ASSERT_TRUE(WritePackage(package, SmallPackage(rebootOnly))) << Narrow(package.Error());
    WizardSession wizard(package);
    ASSERT_TRUE(wizard.Open(L"Reboot"));
    ASSERT_TRUE(wizard.Click(L"No, I will restart my computer later!"));
    ASSERT_TRUE(WaitUntil([&] {
        auto option = FindControl(wizard.Window(), L"No, I will restart my computer later!");
        return option && option->IsChecked();
    }));
    // The forward button, whatever the first page's construction made it read.
    std::vector<std::wstring> row = wizard.View().buttons;
    ASSERT_FALSE(row.empty()) << wizard.Describe();
    ASSERT_TRUE(wizard.Press(row.back()));
    EXPECT_TRUE(WaitForWindowGone(wizard.Window()));
    EXPECT_EQ(FindDialog(wizard.Pid()), nullptr);
    ExpectNormalEnd(wizard, package);
}

// Under Wine a restart ends the session through wineboot, which asks the programs' windows
// process by process and stops at the first that refuses. This window of the test refuses,
// so the restart that setup.exe asks for is seen and then refused, as Windows refuses it
// when a program objects.
class SessionVeto {
public:
    SessionVeto()
    {
        ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread = CreateThread(nullptr, 0, Run, this, 0, &threadId);
        WaitForSingleObject(ready, 10000);
    }
    ~SessionVeto()
    {
        PostThreadMessageW(threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
        CloseHandle(ready);
    }
    LONG TimesAsked() const { return asked; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_QUERYENDSESSION) {
            InterlockedIncrement(&asked);
            return FALSE;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    static DWORD WINAPI Run(void *self)
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"NavigationSessionVeto";
        RegisterClassW(&windowClass);
        HWND window = CreateWindowW(windowClass.lpszClassName, L"session veto", WS_OVERLAPPED, 0, 0, 10, 10,
                                    nullptr, nullptr, windowClass.hInstance, nullptr);
        SetEvent(static_cast<SessionVeto *>(self)->ready);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        DestroyWindow(window);
        return 0;
    }

    static LONG asked;
    HANDLE ready;
    HANDLE thread;
    DWORD threadId = 0;
};
LONG SessionVeto::asked = 0;

TEST(Restart, FinishWithRestartNowAsksWindowsToRestartAndKeepsTheWindow)
{
    SetupPackage package;
    ASSERT_TRUE(WritePackage(package, SmallPackage(rebootOnly))) << Narrow(package.Error());
    RelayTrace trace(L"user32.ExitWindowsEx");
    ASSERT_TRUE(trace.Ready()) << Narrow(trace.Error());
    StartOptions options = package.ProgramOptions();
    trace.Apply(options);

    SessionVeto veto;
    WizardSession wizard(options);
    ASSERT_TRUE(wizard.Open(L"Reboot")) << Narrow(wizard.Process().Error());
    auto restartNow = FindControl(wizard.Window(), L"Yes, restart the computer now!");
    ASSERT_TRUE(restartNow.has_value());
    EXPECT_TRUE(restartNow->IsChecked());
    std::vector<std::wstring> row = wizard.View().buttons;
    ASSERT_FALSE(row.empty()) << wizard.Describe();
    ASSERT_TRUE(wizard.Press(row.back()));

    ASSERT_TRUE(WaitUntil([&] { return !trace.CallArguments("user32.ExitWindowsEx").empty(); }))
        << "ExitWindowsEx was not called";
    EXPECT_EQ(trace.CallArguments("user32.ExitWindowsEx"), std::vector<std::string>{"00000002,00000000"});
    // Wait for the session end to be decided one way or the other.
    WaitUntil([&] { return veto.TimesAsked() > 0 || !wizard.Process().IsRunning(); }, 10000);

    // wineboot asks one program after another in the order of their process ids, which Wine
    // reuses, so setup.exe may be asked before the test refuses. Then it must still have had
    // its window to agree with; told that the session ends, it is ended as Windows would.
    std::vector<uint32_t> answers = trace.WindowProcResults(wizard.Window(), "WM_QUERYENDSESSION");
    if (!answers.empty()) {
        EXPECT_EQ(answers, std::vector<uint32_t>{1}) << "setup.exe refused the restart it asked for";
        EXPECT_TRUE(wizard.Process().WaitForExit(kDefaultTimeoutMs, nullptr));
        return;
    }
    // Nothing marks a restart that does not come, so the program gets a moment to end wrongly.
    EXPECT_FALSE(wizard.Process().WaitForExit(500)) << "setup.exe ended after the restart was refused";
    EXPECT_TRUE(IsVisible(wizard.Window()));
    EXPECT_EQ(WindowText(wizard.Window()), L"Reboot");

    // The refused restart leaves the page usable: restart later ends the wizard.
    ASSERT_TRUE(wizard.Click(L"No, I will restart my computer later!"));
    ASSERT_TRUE(WaitUntil([&] {
        auto option = FindControl(wizard.Window(), L"No, I will restart my computer later!");
        return option && option->IsChecked();
    }));
    ASSERT_TRUE(wizard.Press(row.back()));
    ExpectNormalEnd(wizard, package);
    EXPECT_EQ(trace.CallArguments("user32.ExitWindowsEx").size(), 1u);
}

} // namespace
