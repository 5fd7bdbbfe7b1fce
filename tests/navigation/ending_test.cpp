// Every way the wizard ends: Cancel and the close command with the exit box, "No" on the
// License page with the cancel notice, and Finish with a restart later or now.
#include "tests/navigation/test_package.h"
#include "tests/navigation/wizard_session.h"

#include <gtest/gtest.h>

using namespace navtest;
using namespace uidriver;

namespace {

const std::wstring exitText = L"Do you really want to exit Setup now?\n\n"
                              L"If you quit now, the program will not be installed on your computer.\n"
                              L"You may run Setup again later to complete the installation.";
const std::wstring backgroundTitle = L"Torvane Setup v0.1";

PackageSpec SmallPackage(const std::string &pages)
{
    PackageSpec spec;
    spec.pages = pages;
    ComponentSpec component;
    component.name = "Main program";
    component.groups = {{{"readme.txt", "Read me.\r\n"}}};
    spec.components = {component};
    return spec;
}

void ExpectNormalEnd(WizardSession &wizard, const Package &package)
{
    DWORD exitCode = 1;
    ASSERT_TRUE(wizard.Process().WaitForExit(kDefaultTimeoutMs, &exitCode)) << "the program did not end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(package.FileExists(L"setup.temp"));
}

class ExitQuestion : public ::testing::TestWithParam<bool> {};

TEST_P(ExitQuestion, NoKeepsThePageAndYesClosesBothWindows)
{
    const bool byCloseCommand = GetParam();
    Package package;
    PackageSpec spec = SmallPackage("1111111");
    spec.background = true;
    ASSERT_TRUE(WritePackage(package, spec)) << Narrow(package.Error());

    WizardSession wizard(package);
    ASSERT_TRUE(wizard.Open(L"Setup"));
    HWND background = WaitForWindow(wizard.Pid(), backgroundTitle);
    ASSERT_NE(background, nullptr);
    ASSERT_TRUE(wizard.WaitForPage(L"Setup", {L"Cancel", L"Next ->"})) << wizard.Dump();

    auto askToLeave = [&] {
        return byCloseCommand ? uidriver::CloseWindow(wizard.Window()) : wizard.Press(L"Cancel");
    };
    ASSERT_TRUE(askToLeave());
    std::optional<MessageBoxInfo> box = WaitForMessageBox(wizard.Pid());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Exit Setup");
    EXPECT_EQ(box->text, exitText);
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    EXPECT_EQ(box->icon, MessageIcon::Question);
    ASSERT_TRUE(PressButton(*box, L"No"));
    ASSERT_TRUE(WaitForWindowGone(box->hwnd));
    ASSERT_TRUE(wizard.WaitForPage(L"Setup", {L"Cancel", L"Next ->"})) << wizard.Dump();
    EXPECT_TRUE(IsVisible(background));

    ASSERT_TRUE(askToLeave());
    box = WaitForMessageBox(wizard.Pid());
    ASSERT_TRUE(box.has_value());
    ASSERT_TRUE(PressButton(*box, L"Yes"));
    EXPECT_TRUE(WaitForWindowGone(wizard.Window()));
    EXPECT_TRUE(WaitForWindowGone(background));
    ExpectNormalEnd(wizard, package);
}

INSTANTIATE_TEST_SUITE_P(Ending, ExitQuestion, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "ByCloseCommand" : "ByCancel");
                         });

TEST(Ending, NoOnTheLicensePageShowsTheCancelNoticeAndOkEndsWithoutTheExitBox)
{
    Package package;
    ASSERT_TRUE(WritePackage(package, SmallPackage("1111111"))) << Narrow(package.Error());
    WizardSession wizard(package);
    ASSERT_TRUE(wizard.Open(L"Setup"));
    ASSERT_TRUE(wizard.WaitForPage(L"Setup", {L"Cancel", L"Next ->"})) << wizard.Dump();
    ASSERT_TRUE(wizard.Press(L"Next ->"));
    ASSERT_TRUE(wizard.WaitForPage(L"License", {L"<- Back", L"No", L"Yes"})) << wizard.Dump();

    ASSERT_TRUE(wizard.Press(L"No"));
    std::optional<MessageBoxInfo> box = WaitForMessageBox(wizard.Pid());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Info");
    EXPECT_EQ(box->text, L"The Setup will be cancelled now!");
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"OK", L"Cancel"}));
    EXPECT_EQ(box->icon, MessageIcon::Information);
    ASSERT_TRUE(PressButton(*box, L"Cancel"));
    ASSERT_TRUE(WaitForWindowGone(box->hwnd));
    ASSERT_TRUE(wizard.WaitForPage(L"License", {L"<- Back", L"No", L"Yes"})) << wizard.Dump();

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

TEST(Ending, CancelOnTheLastPageBeforeAnyInstallationClosesAtOnce)
{
    Package package;
    ASSERT_TRUE(WritePackage(package, SmallPackage("1000100"))) << Narrow(package.Error());
    WizardSession wizard(package);
    ASSERT_TRUE(wizard.Open(L"Setup"));
    ASSERT_TRUE(wizard.Press(L"Next ->"));
    ASSERT_TRUE(wizard.WaitForPage(L"Ready to install", {L"<- Back", L"Cancel", L"Finish"})) << wizard.Dump();
    ASSERT_TRUE(wizard.Press(L"Cancel"));
    ExpectNormalEnd(wizard, package);
}

// Only the Reboot page: it is first, last and the page after the installation, so nothing
// is installed and Finish acts at once.
const std::string rebootOnly = "0000001";

TEST(Ending, FinishWithRestartLaterClosesTheWindow)
{
    Package package;
    ASSERT_TRUE(WritePackage(package, SmallPackage(rebootOnly))) << Narrow(package.Error());
    WizardSession wizard(package);
    ASSERT_TRUE(wizard.Open(L"Reboot"));
    ASSERT_TRUE(wizard.Click(L"No, I will restart my computer later!"));
    ASSERT_TRUE(WaitUntil([&] {
        auto option = FindControl(wizard.Window(), L"No, I will restart my computer later!");
        return option && option->IsChecked();
    }));
    std::vector<std::wstring> row = wizard.View().buttons;
    ASSERT_EQ(row.size(), 1u) << wizard.Dump();
    ASSERT_TRUE(wizard.Press(row.back()));
    EXPECT_TRUE(WaitForWindowGone(wizard.Window()));
    EXPECT_EQ(FindDialog(wizard.Pid()), nullptr);
    ExpectNormalEnd(wizard, package);
}

TEST(Ending, FinishWithRestartNowAsksWindowsToRestartAndKeepsTheWindow)
{
    Package package;
    ASSERT_TRUE(WritePackage(package, SmallPackage(rebootOnly))) << Narrow(package.Error());
    RelayTrace trace(L"user32.ExitWindowsEx");
    ASSERT_TRUE(trace.Ready()) << Narrow(trace.Error());
    StartOptions options = package.SetupOptions();
    trace.Apply(options);
    // Wine answers a restart by ending every program of the prefix through wineboot; with
    // wineboot unavailable to this program the call is seen and refused, and nothing else
    // running in the prefix is touched.
    options.environment.emplace_back(L"WINEDLLOVERRIDES",
                                     L"winemenubuilder.exe=d;mscoree=d;mshtml=d;wineboot.exe=d");

    WizardSession wizard(options);
    ASSERT_TRUE(wizard.Open(L"Reboot")) << Narrow(wizard.Process().Error());
    auto restartNow = FindControl(wizard.Window(), L"Yes, restart the computer now!");
    ASSERT_TRUE(restartNow.has_value());
    EXPECT_TRUE(restartNow->IsChecked());
    std::vector<std::wstring> row = wizard.View().buttons;
    ASSERT_EQ(row.size(), 1u) << wizard.Dump();
    ASSERT_TRUE(wizard.Press(row.back()));

    ASSERT_TRUE(WaitUntil([&] { return !trace.CallArguments("user32.ExitWindowsEx").empty(); }))
        << "ExitWindowsEx was not called";
    EXPECT_EQ(trace.CallArguments("user32.ExitWindowsEx"), std::vector<std::string>{"00000002,00000000"});
    Sleep(500);
    EXPECT_TRUE(IsVisible(wizard.Window()));
    EXPECT_TRUE(wizard.Process().IsRunning());
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
