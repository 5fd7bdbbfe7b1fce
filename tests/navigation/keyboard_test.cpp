// The wizard walked by keyboard alone, as a user without a mouse walks it: the forward button has
// the focus and is the default on every page, Enter moves on, Esc asks Cancel's question, Tab
// visits each page from top to bottom and ends on the buttons, and the component boxes and the
// restart options take Space and the arrow keys.
#include "tests/common/wizard_session.h"
#include "tests/navigation/test_package.h"

#include <gtest/gtest.h>

using namespace navtest;
using namespace setuptest;
using namespace uidriver;

namespace {

const std::wstring next = L"Next ->";
const std::wstring restartLater = L"No, I will restart my computer later!";

ComponentSpec Component(const std::string &name, const std::string &config, const std::string &subdirectory)
{
    ComponentSpec component;
    component.name = name;
    component.config = config;
    component.subdirectory = subdirectory;
    component.groups = {{{name + ".txt", name}}};
    return component;
}

class Keyboard : public ::testing::Test {
protected:
    // The text of the control that has the focus, once it is `expected`; what it was otherwise.
    std::wstring WaitForFocus(const std::wstring &expected)
    {
        std::wstring focused;
        WaitUntil(
            [&] {
                HWND control = FocusedControl(wizard->Window());
                focused = control ? Lines(WindowText(control)) : L"(none)";
                return focused == expected;
            },
            10000);
        return focused;
    }

    void Press(UINT key) { ASSERT_TRUE(PressKey(wizard->Window(), key)); }

    // Tab from the forward button goes through `order` and comes back to it.
    void ExpectTabOrder(const std::vector<std::wstring> &order, const std::wstring &forward)
    {
        for (const std::wstring &stop : order) {
            Press(VK_TAB);
            EXPECT_EQ(WaitForFocus(stop), stop) << wizard->Describe();
        }
        Press(VK_TAB);
        EXPECT_EQ(WaitForFocus(forward), forward) << "Tab ends on the buttons and starts the page again";
    }

    // The forward button has the focus and the frame of the default button.
    void ExpectForwardButton(const std::wstring &title, const std::wstring &forward)
    {
        ASSERT_TRUE(wizard->WaitForTitle(title)) << wizard->Describe();
        EXPECT_EQ(WaitForFocus(forward), forward) << wizard->Describe();
        HWND button = FocusedControl(wizard->Window());
        EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON) << Narrow(title);
    }

    void AnswerBox(const std::wstring &caption, const std::wstring &answer)
    {
        std::optional<MessageBoxInfo> box = WaitForMessageBox(wizard->Pid());
        ASSERT_TRUE(box.has_value()) << wizard->Describe();
        EXPECT_EQ(box->caption, caption);
        ASSERT_TRUE(PressButton(*box, answer));
        ASSERT_TRUE(WaitForWindowGone(box->hwnd));
    }

    SetupPackage package;
    TempFolder destination{L"setup-dest"};
    std::unique_ptr<WizardSession> wizard;
};

TEST_F(Keyboard, EnterWalksEveryPageAndEscAsksCancelsQuestion)
{
    PackagePlan plan;
    plan.licenseText = "Terms.\r\n";
    plan.components = {Component("Main program", "required", "."), Component("Docs", "default", "docs"),
                       Component("Extras", "optional", "extras")};
    ASSERT_TRUE(WritePackage(package, plan)) << Narrow(package.Error());
    wizard = std::make_unique<WizardSession>(package);
    ASSERT_TRUE(wizard->Open(defaultTitle::introduction)) << Narrow(wizard->Process().Error());

    ExpectForwardButton(defaultTitle::introduction, next);
    Press(VK_ESCAPE);
    ASSERT_NO_FATAL_FAILURE(AnswerBox(L"Exit Setup", L"No"));
    EXPECT_EQ(WaitForFocus(next), next) << "the focus comes back where it stood";
    Press(VK_RETURN);

    ExpectForwardButton(defaultTitle::license, L"Yes");
    ExpectTabOrder({L"Terms.\n", L"<- Back", L"No"}, L"Yes");
    // Esc does what the button beside Yes does here: it declines the licence.
    Press(VK_ESCAPE);
    ASSERT_NO_FATAL_FAILURE(AnswerBox(L"Info", L"Cancel"));
    EXPECT_EQ(WaitForFocus(L"Yes"), L"Yes");
    Press(VK_RETURN);

    ExpectForwardButton(defaultTitle::directory, next);
    std::wstring target = destination.PathOf(L"App");
    ASSERT_TRUE(wizard->SetDestination(target));
    ExpectTabOrder({target, L"Browse", L"<- Back", L"Cancel"}, next);
    Press(VK_RETURN);

    // The required box takes no focus; Space unticks Docs, Down moves to Extras, Space ticks it.
    ExpectForwardButton(defaultTitle::components, next);
    ExpectTabOrder({L"Docs", L"Extras", L"<- Back", L"Cancel"}, next);
    Press(VK_TAB);
    ASSERT_EQ(WaitForFocus(L"Docs"), L"Docs");
    Press(VK_SPACE);
    Press(VK_DOWN);
    ASSERT_EQ(WaitForFocus(L"Extras"), L"Extras");
    Press(VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] {
        auto docs = FindControl(wizard->Window(), L"Docs");
        auto extras = FindControl(wizard->Window(), L"Extras");
        return docs && extras && !docs->IsChecked() && extras->IsChecked();
    })) << wizard->Describe();
    // Enter on a check box presses the default button.
    Press(VK_RETURN);

    ExpectForwardButton(defaultTitle::summary, next);
    Press(VK_RETURN);
    ASSERT_TRUE(wizard->WaitForPage(defaultTitle::bye, {next}, 120000)) << wizard->Describe();
    ExpectForwardButton(defaultTitle::bye, next);
    EXPECT_TRUE(destination.FileExists(L"App\\extras\\Extras.txt"));
    EXPECT_FALSE(destination.FileExists(L"App\\docs\\Docs.txt"));
    Press(VK_RETURN);

    // Tab reaches the chosen option only; Down chooses the other.
    ExpectForwardButton(defaultTitle::reboot, L"Finish");
    ExpectTabOrder({L"Yes, restart the computer now!", L"<- Back"}, L"Finish");
    Press(VK_TAB);
    ASSERT_EQ(WaitForFocus(L"Yes, restart the computer now!"), L"Yes, restart the computer now!");
    Press(VK_DOWN);
    ASSERT_EQ(WaitForFocus(restartLater), restartLater);
    ASSERT_TRUE(WaitUntil([&] {
        auto later = FindControl(wizard->Window(), restartLater);
        return later && later->IsChecked();
    })) << wizard->Describe();
    Press(VK_TAB);
    Press(VK_TAB);
    ASSERT_EQ(WaitForFocus(L"Finish"), L"Finish");
    Press(VK_RETURN);
    DWORD exitCode = 1;
    ASSERT_TRUE(wizard->Process().WaitForExit(kDefaultTimeoutMs, &exitCode)) << wizard->Describe();
    EXPECT_EQ(exitCode, 0u);
}

} // namespace
