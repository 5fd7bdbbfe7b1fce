// Widgets keep their state without a native window, apply it when one is made, and keep the
// caller's variables in step with the real controls.
#include "tests/lumora_gui/gui_harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <thread>

using namespace lumora;
using namespace lumora::GUI;
using guitest::Pump;
using guitest::WindowFixture;

namespace {

std::wstring TextOf(HWND window)
{
    wchar_t buffer[256] = L"";
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

TEST(Widgets, StateSetBeforeCreationIsAppliedToTheControl)
{
    WindowFixture fixture;
    Button button("Early", nullptr, Point(10, 10), Size());
    button.Hide();
    button.Deactivate();
    button.SetText("Later");
    EXPECT_EQ(button.GetSystemWindow(), nullptr);

    fixture.layer->RegisterObject(&button);
    HWND control = button.GetSystemWindow();
    ASSERT_NE(control, nullptr);
    EXPECT_FALSE(IsWindowVisible(control));
    EXPECT_FALSE(IsWindowEnabled(control));
    EXPECT_EQ(TextOf(control), L"Later");

    button.Show();
    button.Activate();
    button.SetText("Now");
    EXPECT_TRUE(IsWindowVisible(control));
    EXPECT_TRUE(IsWindowEnabled(control));
    EXPECT_EQ(TextOf(control), L"Now");
    EXPECT_EQ(String("Now").Compare(button.GetText()), 0);
}

TEST(Widgets, HiddenLayerHidesItsWidgetsAndShowingItRestoresTheirOwnState)
{
    WindowFixture fixture;
    Text shown("shown", Point(0, 0));
    Text hidden("hidden", Point(0, 20));
    hidden.Hide();
    fixture.layer->RegisterObject(&shown);
    fixture.layer->RegisterObject(&hidden);

    fixture.layer->Hide();
    EXPECT_FALSE(IsWindowVisible(shown.GetSystemWindow()));
    shown.Show(); // shown again inside a hidden layer: still not on the screen
    EXPECT_FALSE(IsWindowVisible(shown.GetSystemWindow()));
    fixture.layer->Show();
    EXPECT_TRUE(IsWindowVisible(shown.GetSystemWindow()));
    EXPECT_FALSE(IsWindowVisible(hidden.GetSystemWindow()));
}

TEST(Widgets, TextTakesTheSizeOfItsLines)
{
    WindowFixture fixture;
    Text text("One line", Point(181, 14));
    fixture.layer->RegisterObject(&text);
    Size oneLine = text.GetSize();
    text.SetText("One line\nand a second, longer line");
    Size twoLines = text.GetSize();
    EXPECT_GT(twoLines.cy, oneLine.cy);
    EXPECT_GT(twoLines.cx, oneLine.cx);
    RECT rect = guitest::ChildRect(text.GetSystemWindow());
    EXPECT_EQ(rect.right - rect.left, twoLines.cx);
    EXPECT_EQ(rect.bottom - rect.top, twoLines.cy);
}

TEST(Widgets, TextLongerThanTheRoomLeftWrapsInsideItsContainer)
{
    WindowFixture fixture;
    Text shortText("Welcome to the setup.", Point(181, 14));
    Text longText("This wizard installs the demonstration on your computer and makes its shortcuts "
                  "in the Start menu, so it runs well past the edge.",
                  Point(181, 40));
    fixture.layer->RegisterObject(&shortText);
    fixture.layer->RegisterObject(&longText);

    int room = fixture.layer->GetSize().cx - 181 - 9;
    Size wrapped = longText.GetSize();
    EXPECT_EQ(wrapped.cx, room);
    EXPECT_GT(wrapped.cy, 2 * shortText.GetSize().cy - 2) << "two or more lines";
    EXPECT_LT(shortText.GetSize().cx, room) << "a text that fits keeps its own width";
    RECT rect = guitest::ChildRect(longText.GetSystemWindow());
    EXPECT_EQ(rect.right - rect.left, room);
}

TEST(Widgets, CheckBoxReadsItsVariableAtCreationAndWritesItOnEveryClick)
{
    WindowFixture fixture;
    bool selected = true;
    CheckBox box("Main program", Point(149, 244), Size(307, 0), &selected);
    fixture.layer->RegisterObject(&box);
    HWND control = box.GetSystemWindow();
    EXPECT_EQ(SendMessageW(control, BM_GETCHECK, 0, 0), BST_CHECKED);

    SendMessageW(control, BM_CLICK, 0, 0);
    EXPECT_FALSE(selected);
    EXPECT_EQ(SendMessageW(control, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(control, BM_CLICK, 0, 0);
    EXPECT_TRUE(selected);
    EXPECT_TRUE(box.IsChecked());
}

TEST(Widgets, DeactivatedCheckBoxIsDisabled)
{
    WindowFixture fixture;
    bool required = true;
    CheckBox box("Required", Point(149, 244), Size(307, 0), &required);
    box.Deactivate();
    fixture.layer->RegisterObject(&box);
    EXPECT_FALSE(IsWindowEnabled(box.GetSystemWindow()));
    EXPECT_EQ(SendMessageW(box.GetSystemWindow(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST(Widgets, OptionBoxesSharingAVariableSelectTheBoxOfItsValue)
{
    WindowFixture fixture;
    int choice = 1;
    OptionBox now("Yes, restart the computer now!", Point(169, 92), Size(200, 0), &choice, 1);
    OptionBox later("No, I will restart my computer later!", Point(169, 115), Size(200, 0), &choice, 2);
    fixture.layer->RegisterObject(&now);
    fixture.layer->RegisterObject(&later);
    EXPECT_EQ(SendMessageW(now.GetSystemWindow(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(later.GetSystemWindow(), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    SendMessageW(later.GetSystemWindow(), BM_CLICK, 0, 0);
    EXPECT_EQ(choice, 2);
    EXPECT_EQ(SendMessageW(now.GetSystemWindow(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(later.GetSystemWindow(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(later.IsSelected());
    EXPECT_FALSE(now.IsSelected());
}

TEST(Widgets, ChoicesTooNarrowForTheirLabelGrowToItAndWideOnesKeepTheirWidth)
{
    WindowFixture fixture;
    int choice = 1;
    bool ticked = true;
    const char *label = "No, I will restart my computer later!";
    OptionBox narrowOption(label, Point(169, 115), Size(20, 0), &choice, 2);
    OptionBox naturalOption(label, Point(169, 140), Size(0, 0), &choice, 2);
    CheckBox narrowBox(label, Point(169, 165), Size(20, 0), &ticked);
    CheckBox wideBox("Main program", Point(149, 244), Size(307, 0), &ticked);
    for (Widget *widget :
         std::initializer_list<Widget *>{&narrowOption, &naturalOption, &narrowBox, &wideBox})
        fixture.layer->RegisterObject(widget);

    int natural = naturalOption.GetSize().cx;
    EXPECT_GT(natural, 20);
    EXPECT_EQ(narrowOption.GetSize().cx, natural);
    RECT rect = guitest::ChildRect(narrowOption.GetSystemWindow());
    EXPECT_EQ(rect.right - rect.left, natural);
    EXPECT_GT(narrowBox.GetSize().cx, 20);
    EXPECT_EQ(wideBox.GetSize().cx, 307);
}

TEST(Widgets, ProgressbarClampsItsValueToItsRange)
{
    struct Case {
        int set;
        int expected;
    };
    const Case cases[] = {{0, 0}, {57, 57}, {100, 100}, {150, 100}, {-5, 0}};
    WindowFixture fixture;
    Progressbar bar(Point(141, 202), Size(323, 0), PB_HORIZONTAL, PB_PERCENT, 0, 100, 0);
    fixture.layer->RegisterObject(&bar);
    EXPECT_EQ(bar.GetSize().cy, 18);
    for (const Case &c : cases) {
        bar.SetValue(c.set);
        Pump();
        EXPECT_EQ(bar.GetValue(), c.expected) << "set " << c.set;
        EXPECT_EQ(SendMessageW(bar.GetSystemWindow(), PBM_GETPOS, 0, 0), c.expected) << "set " << c.set;
    }
}

TEST(Widgets, ProgressbarMovedFromAnotherThreadShowsItsLastValue)
{
    WindowFixture fixture;
    Progressbar bar(Point(141, 202), Size(323, 0), PB_HORIZONTAL, PB_PERCENT, 0, 100, 0);
    fixture.layer->RegisterObject(&bar);
    // The worker never waits for this thread, which is not pumping meanwhile.
    std::thread worker([&] {
        for (int value = 1; value <= 99; value++) bar.SetValue(value);
    });
    worker.join();
    EXPECT_EQ(bar.GetValue(), 99);
    EXPECT_TRUE(
        guitest::PumpUntil([&] { return SendMessageW(bar.GetSystemWindow(), PBM_GETPOS, 0, 0) == 99; }));
}

TEST(Widgets, ProgressbarPostsOnlyChangedValues)
{
    WindowFixture fixture;
    Progressbar bar(Point(141, 202), Size(323, 0), PB_HORIZONTAL, PB_PERCENT, 0, 100, 0);
    fixture.layer->RegisterObject(&bar);
    std::thread worker([&] {
        for (int i = 0; i < 5000; i++) bar.SetValue(i < 2500 ? 40 : 41);
    });
    worker.join();
    int posted = 0;
    MSG message;
    while (PeekMessageW(&message, bar.GetSystemWindow(), PBM_SETPOS, PBM_SETPOS, PM_REMOVE)) {
        posted++;
        DispatchMessageW(&message);
    }
    EXPECT_EQ(posted, 2);
    EXPECT_EQ(SendMessageW(bar.GetSystemWindow(), PBM_GETPOS, 0, 0), 41);
}

TEST(Widgets, EditBoxTextTypedIntoTheControlIsReadableFromAnotherThread)
{
    WindowFixture fixture;
    EditBox edit("C:\\Program Files\\", Point(149, 241), Size(220, 0), 0);
    fixture.layer->RegisterObject(&edit);
    EXPECT_EQ(edit.GetSize().cy, 21);
    EXPECT_FALSE(GetWindowLongW(edit.GetSystemWindow(), GWL_STYLE) & ES_MULTILINE);

    SendMessageW(edit.GetSystemWindow(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"D:\\Games\\Typed"));
    String seen;
    std::thread worker([&] { seen = edit.GetText(); });
    worker.join();
    EXPECT_EQ(seen.Compare(String(L"D:\\Games\\Typed")), 0);
}

TEST(Widgets, TallEditBoxIsMultiLineAndDeactivatedItStaysScrollableButReadOnly)
{
    WindowFixture fixture;
    EditBox licence("First line\nSecond line\r\nThird line", Point(141, 56), Size(324, 215), 0);
    licence.Deactivate();
    fixture.layer->RegisterObject(&licence);
    HWND control = licence.GetSystemWindow();
    LONG style = GetWindowLongW(control, GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(IsWindowEnabled(control));
    EXPECT_EQ(SendMessageW(control, EM_GETLINECOUNT, 0, 0), 3);

    licence.Activate();
    EXPECT_FALSE(GetWindowLongW(control, GWL_STYLE) & ES_READONLY);
}

TEST(Widgets, EditBoxWithoutMaximumTakesTextsLongerThanTheControlDefault)
{
    WindowFixture fixture;
    EditBox licence("", Point(141, 56), Size(324, 215), 0);
    fixture.layer->RegisterObject(&licence);
    // In lines: Wine wraps one unbroken line of this length in quadratic time.
    std::wstring longText;
    for (int line = 0; line < 500; line++) longText += std::wstring(78, L'x') + L"\r\n";
    SendMessageW(licence.GetSystemWindow(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(longText.c_str()));
    SendMessageW(licence.GetSystemWindow(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"yz"));
    EXPECT_EQ(GetWindowTextLengthW(licence.GetSystemWindow()), 40002);
}

TEST(Widgets, ImageWithoutSizeTakesTheBitmapsSize)
{
    WindowFixture fixture;
    HDC screen = GetDC(nullptr);
    HBITMAP handle = CreateCompatibleBitmap(screen, 120, 260);
    ReleaseDC(nullptr, screen);
    Image image(Bitmap(handle), Point(10, 10), Size());
    fixture.layer->RegisterObject(&image);
    RECT rect = guitest::ChildRect(image.GetSystemWindow());
    EXPECT_EQ(rect.left, 13);
    EXPECT_EQ(rect.top, 38);
    EXPECT_EQ(rect.right - rect.left, 120);
    EXPECT_EQ(rect.bottom - rect.top, 260);
    fixture.layer->UnregisterObject(&image);
    DeleteObject(handle);
}

TEST(Widgets, BitmapPixelsCanBeReadAndWritten)
{
    HDC screen = GetDC(nullptr);
    HBITMAP handle = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    Bitmap bitmap(handle);
    EXPECT_EQ(bitmap.GetSize().cx, 32);
    EXPECT_EQ(bitmap.SetPixel(5, 7, 0xFFFF00), 0);
    EXPECT_EQ(bitmap.GetPixel(5, 7), 0xFFFF00u);
    EXPECT_EQ(bitmap.GetPixel(32, 0), CLR_INVALID);
    EXPECT_NE(bitmap.SetPixel(-1, 0, 0), 0);
    DeleteObject(handle);
}

TEST(Widgets, DeletingARegisteredWidgetRemovesItFromItsContainer)
{
    WindowFixture fixture;
    Button *button = new Button("Gone", nullptr, Point(0, 0), Size());
    fixture.layer->RegisterObject(button);
    HWND control = button->GetSystemWindow();
    ASSERT_TRUE(IsWindow(control));
    delete button;
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(fixture.layer->GetNOfObjects(), 0);
}

TEST(Widgets, AWidgetBelongsToOneContainerOnly)
{
    WindowFixture fixture;
    Layer other("");
    fixture.window->RegisterObject(&other);
    Button button("Once", nullptr, Point(0, 0), Size());
    EXPECT_EQ(fixture.layer->RegisterObject(&button), 0);
    EXPECT_NE(fixture.layer->RegisterObject(&button), 0);
    EXPECT_NE(other.RegisterObject(&button), 0);
    EXPECT_EQ(fixture.layer->UnregisterObject(&button), 0);
    EXPECT_NE(fixture.layer->UnregisterObject(&button), 0);
}

} // namespace

namespace {

TEST(CharacterWidth, FollowsTheEnvironmentAndReachesTheWindows)
{
    char forced[8] = "";
    bool ansi = GetEnvironmentVariableA("LUMORA_ANSI", forced, sizeof forced) == 1 && forced[0] == '1';
    EXPECT_EQ(Setup::enableUnicode, !ansi);
    WindowFixture fixture;
    Text text("\xe4nderung", Point(0, 0)); // code page text survives either path
    fixture.layer->RegisterObject(&text);
    EXPECT_EQ(IsWindowUnicode(fixture.Handle()) != FALSE, Setup::enableUnicode);
    EXPECT_EQ(String("\xe4nderung").Compare(text.GetText()), 0);
    char narrow[32] = "";
    GetWindowTextA(text.GetSystemWindow(), narrow, sizeof narrow);
    EXPECT_STREQ(narrow, "\xe4nderung");
}

TEST(Application, FoldersEndWithASeparator)
{
    String start = Application::GetStartupDirectory();
    String program = Application::GetApplicationDirectory();
    ASSERT_GT(start.Length(), 0);
    ASSERT_GT(program.Length(), 0);
    EXPECT_EQ(start[start.Length() - 1], L'\\');
    EXPECT_EQ(program[program.Length() - 1], L'\\');
    wchar_t module[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    EXPECT_EQ(program.CompareN(String(module), program.Length()), 0);
    // Fixed at the first query: a later change of the working directory does not move it.
    wchar_t before[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, before);
    SetCurrentDirectoryW(L"C:\\");
    EXPECT_EQ(Application::GetStartupDirectory().Compare(start), 0);
    SetCurrentDirectoryW(before);
}

} // namespace
