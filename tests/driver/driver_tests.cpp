// The driver's self-tests: every reading and action against driver_target, a plain Win32
// program whose controls and answers are known.
#include "tests/driver/ui_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

using namespace uidriver;

namespace {

std::wstring TargetPath()
{
    return ProgramFolder() + L"driver_target.exe";
}

std::wstring UniqueTitle()
{
    static std::atomic<int> counter{0};
    return L"Target-" + std::to_wstring(++counter);
}

// A running driver_target with its main window found.
class TargetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        title = UniqueTitle();
        ASSERT_TRUE(target.Start({TargetPath(), L"--title=" + title, L"", {}, L""}))
            << Narrow(target.Error());
        window = WaitForWindow(target.Pid(), title);
        ASSERT_NE(window, nullptr) << "no window titled " << Narrow(title);
    }

    HWND Child(const std::wstring &text, const std::wstring &className = L"")
    {
        std::optional<Control> control = FindControl(window, text, className);
        EXPECT_TRUE(control.has_value()) << "no control \"" << Narrow(text) << "\"\n" << DumpControls(window);
        return control ? control->hwnd : nullptr;
    }

    bool WaitForText(HWND control, const std::wstring &text)
    {
        return WaitForControlState(
            control, [&](const Control &c) { return c.text == text; }, kDefaultTimeoutMs);
    }

    std::wstring title;
    Process target;
    HWND window = nullptr;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Processes

TEST(DriverProcess, StartsInTheChosenWorkingDirectoryWithTheArguments)
{
    TempFolder work(L"driver-work");
    ASSERT_TRUE(work.Ready()) << Narrow(work.Error());
    Process process(TargetPath(), L"--record --exit=0 alpha beta", work.Dir());
    ASSERT_TRUE(process.Started()) << Narrow(process.Error());
    ASSERT_TRUE(process.WaitForExit());
    EXPECT_EQ(work.ReadFile(L"target-started.txt"),
              std::optional<std::string>("--record --exit=0 alpha beta"));
}

TEST(DriverProcess, ReportsExitCodesAsUnsignedValues)
{
    const struct {
        const wchar_t *argument;
        DWORD expected;
    } cases[] = {{L"--exit=0", 0}, {L"--exit=7", 7}, {L"--exit=4294967295", 0xFFFFFFFFu}};
    for (const auto &c : cases) {
        Process process(TargetPath(), c.argument);
        ASSERT_TRUE(process.Started()) << Narrow(process.Error());
        DWORD code = 12345;
        ASSERT_TRUE(process.WaitForExit(kDefaultTimeoutMs, &code));
        EXPECT_EQ(code, c.expected) << Narrow(c.argument);
        EXPECT_EQ(process.ExitCode(), std::optional<DWORD>(c.expected));
        EXPECT_FALSE(process.IsRunning());
    }
}

TEST(DriverProcess, HandsTheProgramAFileAsItsStandardError)
{
    TempFolder work(L"driver-work");
    StartOptions options{TargetPath(), L"--complain --exit=0", work.Dir(), {}, work.PathOf(L"errors.txt")};
    Process process(options);
    ASSERT_TRUE(process.Started()) << Narrow(process.Error());
    ASSERT_TRUE(process.WaitForExit());
    EXPECT_EQ(work.ReadFile(L"errors.txt"), std::optional<std::string>("complaint"));

    options.stderrFile = work.PathOf(L"no-such-folder\\errors.txt");
    Process refused(options);
    EXPECT_FALSE(refused.Started());
    EXPECT_NE(refused.Error().find(L"errors.txt"), std::wstring::npos) << Narrow(refused.Error());
}

TEST(DriverProcess, ReportsAProgramThatCannotStart)
{
    Process process(ProgramFolder() + L"no-such-program.exe");
    EXPECT_FALSE(process.Started());
    EXPECT_NE(process.Error().find(L"no-such-program.exe"), std::wstring::npos) << Narrow(process.Error());
    EXPECT_FALSE(process.WaitForExit(0));
    EXPECT_FALSE(process.ExitCode().has_value());
}

TEST(DriverProcess, WaitTimesOutWhileTheProgramRunsAndKillEndsIt)
{
    Process process(TargetPath(), L"--title=" + UniqueTitle());
    ASSERT_TRUE(process.Started()) << Narrow(process.Error());
    EXPECT_FALSE(process.WaitForExit(50));
    EXPECT_TRUE(process.IsRunning());
    EXPECT_FALSE(process.ExitCode().has_value());
    process.Kill();
    EXPECT_FALSE(process.IsRunning());
    EXPECT_TRUE(process.ExitCode().has_value());
}

TEST(DriverProcess, EndingTheObjectEndsAProgramStillRunning)
{
    HANDLE watcher = nullptr;
    {
        Process process(TargetPath(), L"--title=" + UniqueTitle());
        ASSERT_TRUE(process.Started()) << Narrow(process.Error());
        watcher = OpenProcess(SYNCHRONIZE, FALSE, process.Pid());
        ASSERT_NE(watcher, nullptr);
        EXPECT_EQ(WaitForSingleObject(watcher, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
    EXPECT_EQ(WaitForSingleObject(watcher, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(watcher);
}

TEST(DriverProcess, MovingHandsTheProgramOver)
{
    Process first(TargetPath(), L"--title=" + UniqueTitle());
    ASSERT_TRUE(first.Started());
    DWORD pid = first.Pid();
    Process second = std::move(first);
    EXPECT_EQ(second.Pid(), pid);
    EXPECT_TRUE(second.IsRunning());
    EXPECT_FALSE(first.IsRunning());
}

// ---------------------------------------------------------------------------------------------
// Windows

TEST_F(TargetTest, FindsItsWindowByTitleOnly)
{
    std::vector<HWND> windows = TopLevelWindows(target.Pid());
    EXPECT_NE(std::find(windows.begin(), windows.end(), window), windows.end());
    EXPECT_EQ(FindWindowOf(target.Pid()), window);
    EXPECT_EQ(FindWindowOf(target.Pid(), L"Another title"), nullptr);
    EXPECT_EQ(WaitForWindow(target.Pid(), L"Another title", 100), nullptr);
    EXPECT_EQ(WaitForWindowOfClass(target.Pid(), L"DriverTarget", kDefaultTimeoutMs), window);
    EXPECT_EQ(WindowText(window), title);
    EXPECT_EQ(ClassName(window), L"DriverTarget");
    EXPECT_EQ(ProcessOf(window), target.Pid());
}

TEST_F(TargetTest, ReadsTheWindowsPlaceAndState)
{
    RECT rect = WindowRect(window);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.right - rect.left, 420);
    EXPECT_EQ(rect.bottom - rect.top, 280);
    RECT client = ClientRect(window);
    EXPECT_GE(client.left, rect.left);
    EXPECT_GT(client.top, rect.top) << "the caption lies above the client area";
    EXPECT_LE(client.right, rect.right);
    EXPECT_LE(client.bottom, rect.bottom);
    EXPECT_TRUE(IsVisible(window));
    EXPECT_TRUE(IsEnabled(window));
    EXPECT_TRUE(Exists(window));
    EXPECT_TRUE(WaitUntil([&] { return IsForeground(window); }, kDefaultTimeoutMs));
}

TEST_F(TargetTest, AWindowOpenedLaterTakesTheFront)
{
    ASSERT_TRUE(WaitUntil([&] { return IsForeground(window); }, kDefaultTimeoutMs));
    std::wstring laterTitle = UniqueTitle();
    Process later(TargetPath(), L"--title=" + laterTitle);
    HWND laterWindow = WaitForWindow(later.Pid(), laterTitle);
    ASSERT_NE(laterWindow, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IsForeground(laterWindow); }, kDefaultTimeoutMs));
    EXPECT_FALSE(IsForeground(window));
}

TEST_F(TargetTest, ClosingTheWindowEndsTheProgram)
{
    ASSERT_TRUE(uidriver::CloseWindow(window));
    EXPECT_TRUE(WaitForWindowGone(window));
    DWORD code = 0;
    ASSERT_TRUE(target.WaitForExit(kDefaultTimeoutMs, &code));
    EXPECT_EQ(code, 10u);
    EXPECT_FALSE(Exists(window));
    EXPECT_FALSE(uidriver::CloseWindow(window));
}

// ---------------------------------------------------------------------------------------------
// Controls

TEST_F(TargetTest, ReadsEachControlAsAUserSeesIt)
{
    const struct {
        const wchar_t *text;
        const wchar_t *className;
        bool visible, enabled, readOnly;
        CheckState check;
    } cases[] = {
        {L"Press me", L"Button", true, true, false, CheckState::NotCheckable},
        {L"Disabled", L"Button", true, false, false, CheckState::NotCheckable},
        {L"Hidden", L"Button", false, true, false, CheckState::NotCheckable},
        {L"Clicks: 0", L"Static", true, true, false, CheckState::NotCheckable},
        {L"fixed text", L"Edit", true, true, true, CheckState::NotCheckable},
        {L"Remember", L"Button", true, true, false, CheckState::Unchecked},
        {L"Option A", L"Button", true, true, false, CheckState::Checked},
        {L"Option B", L"Button", true, true, false, CheckState::Unchecked},
    };
    for (const auto &c : cases) {
        std::optional<Control> control = FindControl(window, c.text);
        ASSERT_TRUE(control.has_value()) << Narrow(c.text) << "\n" << DumpControls(window);
        EXPECT_EQ(control->className, c.className) << Narrow(c.text);
        EXPECT_EQ(control->visible, c.visible) << Narrow(c.text);
        EXPECT_EQ(control->enabled, c.enabled) << Narrow(c.text);
        EXPECT_EQ(control->readOnly, c.readOnly) << Narrow(c.text);
        EXPECT_EQ(control->check, c.check) << Narrow(c.text);
        EXPECT_EQ(control->progress, -1) << Narrow(c.text);
    }
    EXPECT_TRUE(FindControl(window, L"Remember")->IsCheckBox());
    EXPECT_TRUE(FindControl(window, L"Option B")->IsRadio());
    EXPECT_TRUE(FindControl(window, L"Press me")->IsButton());
    EXPECT_FALSE(FindControl(window, L"Remember")->IsButton());

    std::vector<Control> edits = FindControls(window, L"", L"edit");
    ASSERT_EQ(edits.size(), 2u) << "class names compare without case";
    EXPECT_TRUE(edits[0].IsEdit());
    EXPECT_EQ(edits[0].text, L"");
    EXPECT_FALSE(edits[0].readOnly);
}

TEST_F(TargetTest, GivesEachControlsPlaceInScreenParentAndWindowCoordinates)
{
    std::optional<Control> button = FindControl(window, L"Press me", L"Button");
    ASSERT_TRUE(button.has_value());
    RECT expected{10, 10, 110, 35};
    EXPECT_TRUE(EqualRect(&button->topLevelRect, &expected));
    EXPECT_TRUE(EqualRect(&button->parentRect, &expected));
    RECT client = ClientRect(window);
    EXPECT_EQ(button->screenRect.left, client.left + 10);
    EXPECT_EQ(button->screenRect.top, client.top + 10);
    EXPECT_EQ(button->Width(), 100);
    EXPECT_EQ(button->Height(), 25);
    EXPECT_EQ(button->parent, window);
}

TEST_F(TargetTest, FindsControlsByTextAndClassAndPrefersVisibleOnes)
{
    EXPECT_EQ(FindControls(window, L"", L"Button").size(), 11u) << DumpControls(window);
    EXPECT_EQ(FindControls(window, L"", L"Button", true).size(), 10u);
    EXPECT_EQ(FindControls(window, L"Hidden", L"", true).size(), 0u);
    EXPECT_TRUE(FindControl(window, L"Hidden").has_value());
    EXPECT_FALSE(FindControl(window, L"Press me", L"Static").has_value());
    EXPECT_FALSE(FindControl(window, L"Press").has_value()) << "texts match whole";
    EXPECT_FALSE(WaitForControl(window, L"Hidden", L"", 100).has_value());
    EXPECT_TRUE(WaitForControl(window, L"Press me", L"Button", kDefaultTimeoutMs).has_value());

    std::vector<std::wstring> buttons = VisibleTexts(window, L"Button");
    ASSERT_GE(buttons.size(), 2u);
    EXPECT_EQ(buttons[0], L"Press me");
    EXPECT_EQ(std::count(buttons.begin(), buttons.end(), L"Hidden"), 0);

    std::string dump = DumpControls(window);
    EXPECT_NE(dump.find("Button \"Disabled\" id=113 visible disabled"), std::string::npos) << dump;
    EXPECT_NE(dump.find("\"Hidden\" id=114 hidden"), std::string::npos) << dump;
}

TEST_F(TargetTest, FollowsAMovingProgressBar)
{
    std::optional<Control> bar = FindControl(window, L"", L"msctls_progress32");
    ASSERT_TRUE(bar.has_value());
    EXPECT_TRUE(bar->IsProgress());
    EXPECT_EQ(ProgressRange(bar->hwnd), std::make_pair(0, 100));
    int first = ProgressPosition(bar->hwnd);
    EXPECT_GE(first, 0);
    EXPECT_LE(first, 100);
    Control last;
    EXPECT_TRUE(WaitForControlState(
        bar->hwnd, [&](const Control &c) { return c.progress != first; }, kDefaultTimeoutMs, &last));
    EXPECT_GE(last.progress, 0);
    EXPECT_LE(last.progress, 100);
    EXPECT_EQ(ProgressPosition(Child(L"Press me")), -1);
}

TEST_F(TargetTest, ReadingAHungProgramGivesUpInsteadOfHanging)
{
    ASSERT_TRUE(Click(Child(L"Hang")));
    // Wait until the program has stopped answering.
    ASSERT_TRUE(WaitUntil(
        [&] {
            DWORD_PTR result = 0;
            return !SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 100, &result);
        },
        kDefaultTimeoutMs));
    DWORD start = GetTickCount();
    std::wstring text = WindowText(window);
    DWORD waited = GetTickCount() - start;
    EXPECT_LT(waited, kAnswerTimeoutMs + 1500) << "WindowText waited for the hung program";
    EXPECT_EQ(text, L"");
    // Once the program answers again, reading works as before.
    EXPECT_TRUE(WaitForWindowText(window, title));
}

// ---------------------------------------------------------------------------------------------
// Actions

TEST_F(TargetTest, ClicksButtonsByHandleAndByText)
{
    HWND counter = Child(L"Clicks: 0");
    ASSERT_TRUE(Click(Child(L"Press me")));
    EXPECT_TRUE(WaitForText(counter, L"Clicks: 1"));
    ASSERT_TRUE(ClickButton(window, L"Press me"));
    EXPECT_TRUE(WaitForText(counter, L"Clicks: 2"));
    EXPECT_FALSE(ClickButton(window, L"No such button"));
}

TEST_F(TargetTest, RefusesToClickWhatAUserCouldNotReach)
{
    HWND counter = Child(L"Clicks: 0");
    EXPECT_FALSE(Click(Child(L"Hidden")));
    EXPECT_FALSE(Click(Child(L"Disabled")));
    EXPECT_FALSE(ClickButton(window, L"Hidden"));

    // Behind a modal box the window is disabled, and so are its buttons for a user.
    ASSERT_TRUE(Click(Child(L"Information")));
    std::optional<MessageBoxInfo> box = WaitForMessageBox(target.Pid());
    ASSERT_TRUE(box.has_value());
    EXPECT_FALSE(IsEnabled(window));
    EXPECT_FALSE(Click(Child(L"Press me")));
    EXPECT_TRUE(WaitUntil([&] { return IsForeground(box->hwnd); }, kDefaultTimeoutMs));
    EXPECT_TRUE(IsForeground(window)) << "the box in front is the window's own";
    ASSERT_TRUE(PressButton(*box, L"OK"));
    ASSERT_TRUE(WaitForWindowGone(box->hwnd));
    ASSERT_TRUE(WaitUntil([&] { return IsEnabled(window); }, kDefaultTimeoutMs));

    // The only click that got through is this one.
    ASSERT_TRUE(Click(Child(L"Press me")));
    EXPECT_TRUE(WaitForText(counter, L"Clicks: 1"));
    EXPECT_EQ(WindowText(counter), L"Clicks: 1");
}

TEST_F(TargetTest, ClickingAnyOtherControlIsAMouseClickAtItsCentre)
{
    HWND edit = FindControls(window, L"", L"Edit").at(0).hwnd;
    HWND fixed = Child(L"fixed text");
    ASSERT_TRUE(Click(edit));
    EXPECT_TRUE(WaitUntil([&] { return FocusedControl(window) == edit; }, kDefaultTimeoutMs));
    ASSERT_TRUE(Click(fixed));
    EXPECT_TRUE(WaitUntil([&] { return FocusedControl(window) == fixed; }, kDefaultTimeoutMs));
}

TEST_F(TargetTest, TicksCheckBoxesAndMovesTheRadioChoice)
{
    HWND remember = Child(L"Remember");
    auto checked = [](const Control &c) { return c.IsChecked(); };
    auto unchecked = [](const Control &c) { return c.check == CheckState::Unchecked; };
    ASSERT_TRUE(Click(remember));
    EXPECT_TRUE(WaitForControlState(remember, checked, kDefaultTimeoutMs));
    ASSERT_TRUE(Click(remember));
    EXPECT_TRUE(WaitForControlState(remember, unchecked, kDefaultTimeoutMs));

    ASSERT_TRUE(Click(Child(L"Option B")));
    EXPECT_TRUE(WaitForControlState(Child(L"Option B"), checked, kDefaultTimeoutMs));
    EXPECT_EQ(GetCheckState(Child(L"Option A")), CheckState::Unchecked);
    EXPECT_EQ(GetCheckState(Child(L"Press me")), CheckState::NotCheckable);
}

TEST_F(TargetTest, ReplacesAndTypesTextButLeavesReadOnlyBoxesAlone)
{
    HWND edit = FindControls(window, L"", L"Edit").at(0).hwnd;
    ASSERT_TRUE(SetEditText(edit, L"C:\\Programs"));
    EXPECT_EQ(WindowText(edit), L"C:\\Programs");
    ASSERT_TRUE(TypeText(edit, L"\\Sub dir"));
    EXPECT_TRUE(WaitForText(edit, L"C:\\Programs\\Sub dir")) << Narrow(WindowText(edit));
    ASSERT_TRUE(SetEditText(edit, L""));
    EXPECT_EQ(WindowText(edit), L"");

    HWND fixed = Child(L"fixed text");
    EXPECT_FALSE(SetEditText(fixed, L"changed"));
    EXPECT_FALSE(TypeText(fixed, L"changed"));
    EXPECT_EQ(WindowText(fixed), L"fixed text");
}

// ---------------------------------------------------------------------------------------------
// Message boxes

TEST_F(TargetTest, ReadsMessageBoxesWithEachSystemIcon)
{
    const struct {
        const wchar_t *opener;
        const wchar_t *caption;
        const wchar_t *text;
        std::vector<std::wstring> buttons;
        MessageIcon icon;
        const wchar_t *answer;
    } cases[] = {
        {L"Information", L"Information", L"Just so you know.", {L"OK"}, MessageIcon::Information, L"OK"},
        {L"Warning", L"Warning", L"Careful now.", {L"OK", L"Cancel"}, MessageIcon::Warning, L"Cancel"},
        {L"Error", L"Error", L"Something failed.", {L"OK"}, MessageIcon::Error, L"OK"},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(Click(Child(c.opener))) << Narrow(c.opener);
        std::optional<MessageBoxInfo> box = WaitForMessageBox(target.Pid());
        ASSERT_TRUE(box.has_value()) << Narrow(c.opener);
        EXPECT_EQ(FindDialog(target.Pid()), box->hwnd);
        EXPECT_EQ(box->caption, c.caption);
        EXPECT_EQ(box->text, c.text);
        EXPECT_EQ(box->buttons, c.buttons) << Narrow(c.opener);
        EXPECT_EQ(box->icon, c.icon) << IconName(box->icon) << " for " << Narrow(c.opener);
        EXPECT_FALSE(PressButton(*box, L"Maybe"));
        ASSERT_TRUE(PressButton(*box, c.answer));
        ASSERT_TRUE(WaitForWindowGone(box->hwnd));
    }
    EXPECT_EQ(FindDialog(target.Pid()), nullptr);
    EXPECT_TRUE(target.IsRunning());
}

TEST(DriverMessageBox, TheAnswerToAQuestionBoxReachesTheProgram)
{
    const struct {
        const wchar_t *answer;
        DWORD exitCode;
    } cases[] = {{L"Yes", IDYES}, {L"No", IDNO}};
    for (const auto &c : cases) {
        std::wstring title = UniqueTitle();
        Process target(TargetPath(), L"--title=" + title);
        HWND window = WaitForWindow(target.Pid(), title);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(ClickButton(window, L"Quit?"));
        std::optional<MessageBoxInfo> box = WaitForMessageBox(target.Pid());
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->caption, L"Question");
        EXPECT_EQ(box->text, L"Do you want to quit?");
        EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
        EXPECT_EQ(box->icon, MessageIcon::Question) << IconName(box->icon);
        ASSERT_TRUE(PressButton(*box, c.answer));
        DWORD code = 0;
        ASSERT_TRUE(target.WaitForExit(kDefaultTimeoutMs, &code));
        EXPECT_EQ(code, c.exitCode) << Narrow(c.answer);
    }
}

TEST(DriverMessageBox, WaitingForABoxThatNeverComesGivesNothing)
{
    std::wstring title = UniqueTitle();
    Process target(TargetPath(), L"--title=" + title);
    ASSERT_NE(WaitForWindow(target.Pid(), title), nullptr);
    EXPECT_FALSE(WaitForMessageBox(target.Pid(), 200).has_value());
    EXPECT_EQ(FindDialog(target.Pid()), nullptr);
}

TEST(DriverMessageBox, StripsMnemonicMarks)
{
    const std::pair<const wchar_t *, const wchar_t *> cases[] = {
        {L"&Yes", L"Yes"},   {L"OK", L"OK"},    {L"Save && quit", L"Save & quit"},
        {L"E&xit", L"Exit"}, {L"End&", L"End"},
    };
    for (const auto &c : cases) EXPECT_EQ(StripMnemonic(c.first), c.second) << Narrow(c.first);
}

// ---------------------------------------------------------------------------------------------
// Screen

TEST_F(TargetTest, ReadsTheWindowsBackgroundFromTheScreen)
{
    const COLORREF background = RGB(10, 120, 200);
    RECT client = ClientRect(window);
    // Right of and below every control.
    POINT free{client.left + 395, client.top + 235};
    ASSERT_LT(free.x, client.right);
    ASSERT_LT(free.y, client.bottom);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(free.x, free.y) == background; }, kDefaultTimeoutMs))
        << std::hex << ScreenPixel(free.x, free.y);

    Image shot = CaptureWindow(window);
    RECT rect = WindowRect(window);
    ASSERT_EQ(shot.width, rect.right - rect.left);
    ASSERT_EQ(shot.height, rect.bottom - rect.top);
    EXPECT_EQ(shot.At(free.x - rect.left, free.y - rect.top), background);

    Image screen = CaptureScreen();
    EXPECT_EQ(screen.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(screen.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(screen.At(free.x, free.y), background);
}

TEST(DriverScreen, SavesImagesAsBmpFiles)
{
    TempFolder folder(L"driver-shots");
    RECT area{0, 0, 5, 3};
    Image image = CaptureRect(area);
    ASSERT_EQ(image.width, 5);
    ASSERT_EQ(image.height, 3);
    ASSERT_TRUE(image.SaveBmp(folder.PathOf(L"small.bmp")));
    // 14 + 40 header bytes, then 3 rows of 5 pixels padded from 15 to 16 bytes.
    EXPECT_EQ(folder.FileSize(L"small.bmp"), std::optional<uint64_t>(54 + 3 * 16));
    EXPECT_EQ(folder.ReadFile(L"small.bmp")->substr(0, 2), "BM");

    ASSERT_TRUE(SaveScreenshot(folder.PathOf(L"screen.bmp")));
    uint64_t rowSize = (GetSystemMetrics(SM_CXSCREEN) * 3 + 3) & ~3;
    EXPECT_EQ(folder.FileSize(L"screen.bmp"),
              std::optional<uint64_t>(54 + rowSize * GetSystemMetrics(SM_CYSCREEN)));

    EXPECT_FALSE(Image().SaveBmp(folder.PathOf(L"empty.bmp")));
    RECT nothing{10, 10, 10, 20};
    EXPECT_TRUE(CaptureRect(nothing).Empty());
}

// ---------------------------------------------------------------------------------------------
// Folders and packages

TEST(DriverFolders, WritesListsReadsAndRemovesFiles)
{
    std::wstring path;
    {
        TempFolder folder;
        ASSERT_TRUE(folder.Ready()) << Narrow(folder.Error());
        path = folder.Dir();
        EXPECT_NE(path.find(L"setup-test-"), std::wstring::npos);
        EXPECT_TRUE(folder.Files().empty());

        std::string binary("a\0b\r\n", 5);
        ASSERT_TRUE(folder.WriteFile(L"data.bin", binary));
        ASSERT_TRUE(folder.WriteFile(L"sub\\deeper\\note.txt", "note"));
        ASSERT_TRUE(folder.WriteFile(L"empty", ""));
        ASSERT_TRUE(folder.MakeDir(L"hollow"));
        EXPECT_EQ(folder.Files(),
                  (std::vector<std::wstring>{L"data.bin", L"empty", L"sub\\deeper\\note.txt"}));
        EXPECT_EQ(folder.ReadFile(L"data.bin"), std::optional<std::string>(binary));
        EXPECT_EQ(folder.FileSize(L"empty"), std::optional<uint64_t>(0));
        EXPECT_FALSE(folder.ReadFile(L"missing").has_value());
        EXPECT_FALSE(folder.FileSize(L"sub").has_value());
        EXPECT_TRUE(folder.DirExists(L"sub\\deeper"));
        EXPECT_TRUE(folder.DirExists(L"hollow"));
        EXPECT_FALSE(folder.FileExists(L"hollow"));

        ASSERT_TRUE(folder.CopyIn(folder.PathOf(L"data.bin"), L"copy\\data.bin"));
        EXPECT_EQ(folder.ReadFile(L"copy\\data.bin"), std::optional<std::string>(binary));
        ASSERT_TRUE(folder.Remove(L"sub"));
        EXPECT_FALSE(folder.FileExists(L"sub\\deeper\\note.txt"));
        EXPECT_TRUE(folder.Remove(L"never-there"));
        // Read-only files go too.
        SetFileAttributesW(folder.PathOf(L"data.bin").c_str(), FILE_ATTRIBUTE_READONLY);
    }
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << "folder left behind";
}

TEST(DriverFolders, EachFolderIsNewAndKeptOnRequest)
{
    std::wstring kept;
    std::wstring removed;
    {
        TempFolder first(L"driver-keep");
        {
            TempFolder second(L"driver-keep");
            EXPECT_NE(first.Dir(), second.Dir());
            removed = second.Dir();
        }
        kept = first.Dir();
        SetEnvironmentVariableW(L"SETUP_KEEP_PACKAGES", L"1");
    }
    SetEnvironmentVariableW(L"SETUP_KEEP_PACKAGES", nullptr);
    EXPECT_EQ(GetFileAttributesW(removed.c_str()), INVALID_FILE_ATTRIBUTES) << "folder left behind";
    EXPECT_NE(GetFileAttributesW(kept.c_str()), INVALID_FILE_ATTRIBUTES) << "kept folder was removed";
    EXPECT_TRUE(RemoveTree(kept));
    EXPECT_EQ(GetFileAttributesW(kept.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(DriverFolders, APackageHoldsTheProgramAndItsLibraryOrSaysWhatIsMissing)
{
    {
        Package missing(L"driver_target.exe", L"no-such-library.dll");
        EXPECT_FALSE(missing.Ready());
        EXPECT_NE(missing.Error().find(L"no-such-library.dll"), std::wstring::npos)
            << Narrow(missing.Error());
        EXPECT_NE(missing.Error().find(L"is it built?"), std::wstring::npos) << Narrow(missing.Error());
    }

    TempFolder build(L"driver-build");
    ASSERT_TRUE(build.WriteFile(L"tool.dll", "library"));
    ASSERT_TRUE(build.CopyIn(TargetPath(), L"tool.exe"));
    Package package(L"tool.exe", L"tool.dll", build.Dir() + L"\\");
    ASSERT_TRUE(package.Ready()) << Narrow(package.Error());
    EXPECT_EQ(package.Files(), (std::vector<std::wstring>{L"tool.dll", L"tool.exe"}));
    EXPECT_EQ(package.ReadFile(L"tool.dll"), std::optional<std::string>("library"));
    EXPECT_EQ(package.ProgramPath(), package.Dir() + L"\\tool.exe");
    StartOptions options = package.ProgramOptions();
    EXPECT_EQ(options.program, package.Dir() + L"\\tool.exe");
    EXPECT_EQ(options.workingDirectory, package.Dir());
    EXPECT_EQ(package.ProgramOptions(L"C:\\elsewhere").workingDirectory, L"C:\\elsewhere");

    Process process = package.StartProgram();
    ASSERT_TRUE(process.Started()) << Narrow(process.Error());
    EXPECT_NE(WaitForWindow(process.Pid()), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Registry and relay traces

TEST(DriverRegistry, SetsAValueForAWhileAndRestoresWhatWasThere)
{
    const wchar_t *key = L"Software\\UiDriverTest";
    auto read = [&](const wchar_t *name) -> std::optional<std::wstring> {
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
            return std::nullopt;
        wchar_t value[64] = {};
        DWORD size = sizeof value - sizeof(wchar_t);
        LONG result =
            RegQueryValueExW(opened, name, nullptr, nullptr, reinterpret_cast<BYTE *>(value), &size);
        RegCloseKey(opened);
        if (result != ERROR_SUCCESS) return std::nullopt;
        return std::wstring(value);
    };
    {
        ScopedRegistryValue absent(HKEY_CURRENT_USER, key, L"Fresh", L"new");
        ASSERT_TRUE(absent.Ready());
        EXPECT_EQ(read(L"Fresh"), std::optional<std::wstring>(L"new"));
    }
    EXPECT_FALSE(read(L"Fresh").has_value());
    {
        ScopedRegistryValue outer(HKEY_CURRENT_USER, key, L"Kept", L"old");
        {
            ScopedRegistryValue inner(HKEY_CURRENT_USER, key, L"Kept", L"temporary");
            EXPECT_EQ(read(L"Kept"), std::optional<std::wstring>(L"temporary"));
        }
        EXPECT_EQ(read(L"Kept"), std::optional<std::wstring>(L"old"));
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, key);
}

TEST(DriverRelayTrace, SeesTheApiCallsOfATracedProgramOnly)
{
    RelayTrace trace(L"user32.ExitWindowsEx");
    ASSERT_TRUE(trace.Ready()) << Narrow(trace.Error());
    // Without wineboot, Wine cannot end the prefix's session: the call is seen and refused.
    const std::pair<std::wstring, std::wstring> noWineboot{
        L"WINEDLLOVERRIDES", L"winemenubuilder.exe=d;mscoree=d;mshtml=d;wineboot.exe=d"};

    StartOptions untraced{TargetPath(), L"--reboot", L"", {noWineboot}, L""};
    Process quiet(untraced);
    ASSERT_TRUE(quiet.WaitForExit());
    EXPECT_TRUE(trace.Calls("user32.ExitWindowsEx").empty()) << trace.Log();

    StartOptions traced = untraced;
    trace.Apply(traced);
    Process watched(traced);
    ASSERT_TRUE(watched.WaitForExit());
    EXPECT_EQ(trace.CallArguments("user32.ExitWindowsEx"), std::vector<std::string>{"00000002,00000000"})
        << trace.Log();
    ASSERT_EQ(trace.Calls("user32.ExitWindowsEx").size(), 1u);
    EXPECT_NE(trace.Calls("user32.ExitWindowsEx")[0].find("Call user32.ExitWindowsEx(00000002,00000000)"),
              std::string::npos);
    EXPECT_TRUE(trace.Calls("user32.MessageBoxW").empty());
}

TEST(DriverRelayTrace, SaysWhenTheTestRunsWithoutItsLogOfStandardError)
{
    wchar_t saved[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableW(L"UIDRIVER_STDERR_LOG", saved, MAX_PATH);
    SetEnvironmentVariableW(L"UIDRIVER_STDERR_LOG", nullptr);
    {
        RelayTrace trace(L"user32.ExitWindowsEx");
        EXPECT_FALSE(trace.Ready());
        EXPECT_NE(trace.Error().find(L"run-with-stderr-log"), std::wstring::npos) << Narrow(trace.Error());
        EXPECT_TRUE(trace.Log().empty());
    }
    if (length > 0) SetEnvironmentVariableW(L"UIDRIVER_STDERR_LOG", saved);
}
