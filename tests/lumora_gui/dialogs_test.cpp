// Message boxes, answered by a second thread that finds the box and presses a button.
#include "tests/lumora_gui/gui_harness.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <atomic>
#include <string>
#include <thread>

using namespace lumora;
using namespace lumora::GUI;

namespace {

struct BoxSeen {
    bool found = false;
    bool hasIcon = false;
    HWND owner = nullptr;
    std::wstring text;
};

// A visible static control of the box that holds an icon.
bool ShowsIcon(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = L"";
        GetClassNameW(child, className, 32);
        if (lstrcmpiW(className, L"Static") == 0 &&
            (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
            SendMessageW(child, STM_GETICON, 0, 0))
            return true;
    }
    return false;
}

// Finds the message box titled caption, notes what it shows, and presses the button with the id.
std::thread Answer(const wchar_t *caption, int buttonId, BoxSeen &seen)
{
    return std::thread([=, &seen] {
        guitest::WaitFor(
            [&] {
                // A box is shown once its icon and text are in place.
                HWND box = FindWindowW(L"#32770", caption);
                if (!box || !IsWindowVisible(box)) return false;
                seen.found = true;
                seen.owner = GetWindow(box, GW_OWNER);
                seen.hasIcon = ShowsIcon(box);
                wchar_t text[256] = L"";
                GetDlgItemTextW(box, 0xFFFF, text, 256);
                seen.text = text;
                PostMessageW(GetDlgItem(box, buttonId), BM_CLICK, 0, 0);
                return true;
            },
            10000);
    });
}

TEST(QuickMessage, ReturnsTheButtonThePersonPressed)
{
    struct Case {
        int buttons;
        int icon;
        int press;
        bool iconShown;
    };
    const Case cases[] = {
        {MB_YESNO, 32514, IDYES, true},       {MB_YESNO, 32514, IDNO, true}, {MB_OKCANCEL, 32516, IDOK, true},
        {MB_OKCANCEL, 32516, IDCANCEL, true}, {MB_OK, 0, IDOK, false},
    };
    for (const Case &c : cases) {
        BoxSeen seen;
        std::thread person = Answer(L"Exit Setup", c.press, seen);
        int answer =
            Dialogs::QuickMessage("Do you really want to exit Setup now?", "Exit Setup", c.buttons, c.icon);
        person.join();
        EXPECT_TRUE(seen.found);
        EXPECT_EQ(answer, c.press);
        EXPECT_EQ(seen.hasIcon, c.iconShown) << "icon " << c.icon;
        EXPECT_EQ(seen.text, L"Do you really want to exit Setup now?");
    }
}

TEST(QuickMessage, IsOwnedByTheActiveWindow)
{
    guitest::WindowFixture fixture;
    SetActiveWindow(fixture.Handle());
    ASSERT_EQ(GetActiveWindow(), fixture.Handle());
    BoxSeen seen;
    std::thread person = Answer(L"Info", IDOK, seen);
    Dialogs::QuickMessage("The Setup will be cancelled now!", "Info", MB_OKCANCEL, 32516);
    person.join();
    EXPECT_EQ(seen.owner, fixture.Handle());
}

} // namespace

namespace {

struct FolderDialogSeen {
    bool found = false;
    bool captionShown = false;
};

BOOL CALLBACK FindCaption(HWND child, LPARAM seen)
{
    wchar_t text[128] = L"";
    GetWindowTextW(child, text, 128);
    if (std::wstring(text).find(L"Select the folder") != std::wstring::npos)
        reinterpret_cast<FolderDialogSeen *>(seen)->captionShown = true;
    return TRUE;
}

TEST(DirSelection, CancelledDialogReturnsZeroAndKeepsNoFolder)
{
    guitest::WindowFixture fixture;
    FolderDialogSeen seen;
    std::thread person([&] {
        guitest::WaitFor(
            [&] {
                HWND dialog = nullptr;
                for (HWND top = FindWindowW(L"#32770", nullptr); top;
                     top = FindWindowExW(nullptr, top, L"#32770", nullptr))
                    if (GetWindow(top, GW_OWNER) == fixture.Handle() && IsWindowVisible(top)) dialog = top;
                if (!dialog) return false;
                seen.found = true;
                EnumChildWindows(dialog, FindCaption, reinterpret_cast<LPARAM>(&seen));
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                return true;
            },
            10000);
    });
    Dialogs::DirSelection dialog;
    dialog.SetParentWindow(fixture.window);
    dialog.SetCaption("\nSelect the folder in which the program will be installed:");
    int result = dialog.ShowDialog();
    person.join();
    EXPECT_TRUE(seen.found);
    EXPECT_TRUE(seen.captionShown);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(dialog.GetDirName().Length(), 0);
}

// The folder dialog and the program's Start-menu links turn shell items into paths alike.
TEST(PathFromIDList, GivesTheFolderOfAFileSystemItemAndRefusesAVirtualOne)
{
    LPITEMIDLIST programs = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAMS, &programs)));
    wchar_t expected[MAX_PATH] = L"";
    ASSERT_TRUE(SHGetPathFromIDListW(programs, expected));
    String path;
    EXPECT_TRUE(native::PathFromIDList(programs, path));
    EXPECT_EQ(std::wstring(static_cast<const wchar_t *>(path)), std::wstring(expected));
    CoTaskMemFree(programs);

    LPITEMIDLIST computer = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer)));
    String kept("kept");
    EXPECT_FALSE(native::PathFromIDList(computer, kept));
    EXPECT_EQ(std::wstring(static_cast<const wchar_t *>(kept)), L"kept");
    CoTaskMemFree(computer);
}

} // namespace
