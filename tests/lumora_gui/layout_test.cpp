// Where the window puts its title bar, layers, divider and oriented widgets: read back from the
// real child windows.
#include "tests/lumora_gui/gui_harness.h"

#include <gtest/gtest.h>

#include <string>

using namespace lumora;
using namespace lumora::GUI;
using guitest::ChildRect;
using guitest::WindowFixture;

namespace {

template <typename Label> void ExpectRect(const RECT &rect, const RECT &expected, const Label &label)
{
    EXPECT_EQ(rect.left, expected.left) << label;
    EXPECT_EQ(rect.top, expected.top) << label;
    EXPECT_EQ(rect.right, expected.right) << label;
    EXPECT_EQ(rect.bottom, expected.bottom) << label;
}

TEST(Layout, OrientedButtonsOfAFullLayerFormTheWizardsButtonRow)
{
    struct Case {
        const char *text;
        Point position;
        int orientation;
        RECT expected; // window coordinates
    };
    // The layer fills (3, 28) to (477, 352): 474 x 324 pixels.
    const Case cases[] = {
        {"<- Back", Point(9, 31), OR_LOWERLEFT, {12, 321, 87, 344}},
        {"Cancel", Point(179, 31), OR_LOWERRIGHT, {298, 321, 373, 344}},
        {"Next ->", Point(89, 31), OR_LOWERRIGHT, {388, 321, 463, 344}},
        {"Top left", Point(9, 31), OR_UPPERLEFT, {12, 59, 87, 82}},
        {"Top right", Point(89, 31), OR_UPPERRIGHT, {388, 59, 463, 82}},
    };
    WindowFixture fixture;
    for (const Case &c : cases) {
        Button button(c.text, nullptr, c.position, Size());
        button.SetOrientation(c.orientation);
        fixture.layer->RegisterObject(&button);
        RECT rect = ChildRect(button.GetSystemWindow());
        ExpectRect(rect, c.expected, c.text);
    }
}

TEST(Layout, OrientationSetAfterCreationMovesTheControl)
{
    WindowFixture fixture;
    Button next("Next ->", nullptr, Point(89, 31), Size());
    fixture.layer->RegisterObject(&next);
    next.SetOrientation(OR_LOWERRIGHT);
    RECT rect = ChildRect(next.GetSystemWindow());
    EXPECT_EQ(rect.left, 388);
    EXPECT_EQ(rect.top, 321);
}

TEST(Layout, ResizingTheWindowKeepsLowerRightWidgetsAtTheirDistance)
{
    WindowFixture fixture;
    Button next("Next ->", nullptr, Point(89, 31), Size());
    next.SetOrientation(OR_LOWERRIGHT);
    fixture.layer->RegisterObject(&next);
    fixture.window->SetMetrics(Point(50, 50), Size(600, 400));
    RECT rect = ChildRect(next.GetSystemWindow());
    EXPECT_EQ(rect.left, 600 - 3 - 89);
    EXPECT_EQ(rect.top, 400 - 3 - 31);
}

TEST(Layout, LayerWithoutTitlebarStartsInsideTheBorder)
{
    WindowFixture fixture(false);
    Text text("corner", Point(0, 0));
    fixture.layer->RegisterObject(&text);
    RECT rect = ChildRect(text.GetSystemWindow());
    EXPECT_EQ(rect.left, 3);
    EXPECT_EQ(rect.top, 3);
}

TEST(Layout, TitlebarLiesAcrossTheTopWithItsCloseButton)
{
    WindowFixture fixture;
    HWND bar = fixture.titlebar->GetSystemWindow();
    RECT rect = ChildRect(bar);
    EXPECT_EQ(rect.left, 3);
    EXPECT_EQ(rect.top, 3);
    EXPECT_EQ(rect.right, 477);
    EXPECT_EQ(rect.bottom, 28);
    HWND close = FindWindowExW(bar, nullptr, L"Button", L"Close");
    ASSERT_NE(close, nullptr);
    RECT button = ChildRect(close);
    EXPECT_LE(button.right, rect.right - rect.left);
    EXPECT_GT(button.left, (rect.right - rect.left) / 2);
}

TEST(Layout, TitlebarWithoutCloseFlagHasNoButton)
{
    WindowFixture fixture(false);
    Titlebar plain(0);
    fixture.window->RegisterObject(&plain);
    EXPECT_EQ(GetWindow(plain.GetSystemWindow(), GW_CHILD), nullptr);
}

TEST(Layout, TitleFollowsTheWindowsText)
{
    WindowFixture fixture;
    fixture.window->SetText("Select destination directory");
    wchar_t title[64] = L"";
    GetWindowTextW(fixture.Handle(), title, 64);
    EXPECT_EQ(std::wstring(title), L"Select destination directory");
    GetWindowTextW(fixture.titlebar->GetSystemWindow(), title, 64);
    EXPECT_EQ(std::wstring(title), L"Select destination directory");
    EXPECT_EQ(fixture.window->GetText().Compare(String("Select destination directory")), 0);
}

TEST(Layout, DividerIsAnEtchedLineAcrossTheInsideOfTheWindow)
{
    struct Case {
        int position;
        int flags;
        RECT expected;
    };
    const Case cases[] = {
        {309, DIV_HORIZONTAL | DIV_FROM_START, {3, 309, 477, 311}},
        {46, DIV_HORIZONTAL, {3, 309, 477, 311}},
        {140, DIV_VERTICAL | DIV_FROM_START, {140, 3, 142, 352}},
    };
    WindowFixture fixture;
    for (const Case &c : cases) {
        Divider divider(c.position, c.flags);
        fixture.window->RegisterObject(&divider);
        RECT rect = ChildRect(divider.GetSystemWindow());
        ExpectRect(rect, c.expected, c.position);
    }
}

TEST(Layout, GroupBoxStaysBelowTheWidgetsItFrames)
{
    WindowFixture fixture;
    bool selected = true;
    GroupBox group("Available components", Point(139, 231), Size(328, 40));
    CheckBox box("Main program", Point(149, 244), Size(307, 0), &selected);
    fixture.layer->RegisterObject(&group);
    fixture.layer->RegisterObject(&box);
    Button later("Browse", nullptr, Point(377, 240), Size());
    fixture.layer->RegisterObject(&later);

    // Z order runs from the top: both controls must come before the group box.
    int boxIndex = -1, laterIndex = -1, groupIndex = -1, index = 0;
    for (HWND child = GetWindow(fixture.Handle(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT), index++) {
        if (child == box.GetSystemWindow()) boxIndex = index;
        if (child == later.GetSystemWindow()) laterIndex = index;
        if (child == group.GetSystemWindow()) groupIndex = index;
    }
    ASSERT_GE(groupIndex, 0);
    EXPECT_LT(boxIndex, groupIndex);
    EXPECT_LT(laterIndex, groupIndex);
    EXPECT_TRUE(GetWindowLongW(box.GetSystemWindow(), GWL_STYLE) & WS_CLIPSIBLINGS);
}

TEST(Layout, SunkenFrameIsDarkAtTopLeftAndLightAtBottomRightWithInclusiveCorners)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 140, 300);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, canvas);
    RECT all = {0, 0, 140, 300};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    Surface surface(dc);
    EXPECT_EQ(surface.Frame(Rect(12, 37, 133, 298), FRAME_DOWN), 0);
    COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(GetPixel(dc, 12, 37), dark);
    EXPECT_EQ(GetPixel(dc, 60, 37), dark);
    EXPECT_EQ(GetPixel(dc, 12, 200), dark);
    EXPECT_EQ(GetPixel(dc, 133, 298), light);
    EXPECT_EQ(GetPixel(dc, 60, 298), light);
    EXPECT_EQ(GetPixel(dc, 133, 100), light);
    EXPECT_EQ(GetPixel(dc, 13, 38), RGB(0, 0, 0)); // one pixel wide: the inside is untouched
    EXPECT_EQ(GetPixel(dc, 134, 299), RGB(0, 0, 0));
    SelectObject(dc, previous);
    DeleteObject(canvas);
    DeleteDC(dc);
}

} // namespace
namespace {
TEST(Layout, WindowKeepsTheSizeItWasGiven)
{
    WindowFixture fixture;
    RECT outer, client;
    GetWindowRect(fixture.Handle(), &outer);
    GetClientRect(fixture.Handle(), &client);
    EXPECT_EQ(outer.right - outer.left, 480);
    EXPECT_EQ(outer.bottom - outer.top, 355);
    EXPECT_EQ(client.right, 480);
    EXPECT_EQ(client.bottom, 355);
}
} // namespace

namespace {

TEST(Layout, WindowRegisteredWithoutPlaceOrSizeIsCentredAtTheDefaultSize)
{
    Application application;
    Window window("Unplaced");
    application.RegisterObject(&window);
    RECT outer;
    GetWindowRect(window.GetSystemWindow(), &outer);
    EXPECT_EQ(outer.right - outer.left, 480);
    EXPECT_EQ(outer.bottom - outer.top, 355);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 480) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 355) / 2);
    EXPECT_FALSE(IsWindowVisible(window.GetSystemWindow())); // shown by the loop
}

} // namespace
