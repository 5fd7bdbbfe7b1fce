// The demo program seen from outside, as a user sees it: its frame, its controls, and every way
// of closing it ending the program.
#include "tests/driver/ui_driver.h"

#include <gtest/gtest.h>

#include <string>

using namespace uidriver;

namespace {

const wchar_t *const demoTitle = L"Lumora demo";

struct RunningDemo {
    RunningDemo() : process(ProgramFolder() + L"lumora_demo.exe")
    {
        window = WaitForWindow(process.Pid(), demoTitle);
    }
    Process process;
    HWND window = nullptr;
};

TEST(Demo, ShowsTheWizardFrameWithItsButtonRowAndSunkenPictureFrame)
{
    RunningDemo demo;
    ASSERT_NE(demo.window, nullptr) << Narrow(demo.process.Error());
    RECT outer = WindowRect(demo.window);
    EXPECT_EQ(outer.right - outer.left, 480);
    EXPECT_EQ(outer.bottom - outer.top, 355);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 480) / 2);

    struct Expected {
        const wchar_t *text;
        int left;
        int top;
    };
    const Expected buttons[] = {{L"<- Back", 12, 321}, {L"Cancel", 298, 321}, {L"Next ->", 388, 321}};
    for (const Expected &expected : buttons) {
        std::optional<Control> button = WaitForControl(demo.window, expected.text, L"Button");
        ASSERT_TRUE(button.has_value()) << DumpControls(demo.window);
        EXPECT_EQ(button->topLevelRect.left, expected.left) << Narrow(expected.text);
        EXPECT_EQ(button->topLevelRect.top, expected.top) << Narrow(expected.text);
        EXPECT_EQ(button->Width(), 75);
        EXPECT_EQ(button->Height(), 23);
    }
    EXPECT_TRUE(FindControl(demo.window, L"Close", L"Button").has_value()) << DumpControls(demo.window);

    // The frame around the picture: one dark line at its top left, one light line at its bottom right.
    COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(outer.left + 12, outer.top + 100) == dark; }, 5000));
    EXPECT_EQ(ScreenPixel(outer.left + 60, outer.top + 37), dark);
    EXPECT_EQ(ScreenPixel(outer.left + 133, outer.top + 200), light);
    EXPECT_EQ(ScreenPixel(outer.left + 60, outer.top + 298), light);
}

TEST(Demo, EveryWayOfClosingTheWindowEndsTheProgram)
{
    struct Case {
        const char *name;
        bool (*close)(HWND window);
    };
    const Case cases[] = {
        {"Cancel button", [](HWND window) { return ClickButton(window, L"Cancel"); }},
        {"title bar close button", [](HWND window) { return ClickButton(window, L"Close"); }},
        {"system close command", [](HWND window) { return uidriver::CloseWindow(window); }},
    };
    for (const Case &c : cases) {
        RunningDemo demo;
        ASSERT_NE(demo.window, nullptr) << c.name;
        ASSERT_TRUE(WaitForControl(demo.window, L"Cancel", L"Button").has_value()) << c.name;
        EXPECT_TRUE(c.close(demo.window)) << c.name;
        DWORD exitCode = 1;
        EXPECT_TRUE(demo.process.WaitForExit(15000, &exitCode)) << c.name;
        EXPECT_EQ(exitCode, 0u) << c.name;
    }
}

} // namespace
