// Acting on a program as a user would: clicking, typing and closing, always posted so that a
// modal box opened in answer never blocks the test.
#include "tests/driver/ui_driver.h"

namespace uidriver {

namespace {

// A user can act on a control only when it and its top-level window can take input.
bool UserCanReach(HWND control)
{
    if (!IsWindow(control) || !IsWindowVisible(control) || !IsWindowEnabled(control)) return false;
    HWND root = GetAncestor(control, GA_ROOT);
    return root && IsWindowEnabled(root);
}

bool IsReadOnlyEdit(HWND control)
{
    return ClassName(control) == L"Edit" && (GetWindowLongW(control, GWL_STYLE) & ES_READONLY) != 0;
}

} // namespace

bool Click(HWND control)
{
    if (!UserCanReach(control)) return false;
    if (_wcsicmp(ClassName(control).c_str(), L"Button") == 0)
        return PostMessageW(control, BM_CLICK, 0, 0) != 0;
    RECT rect{};
    GetClientRect(control, &rect);
    LPARAM centre = MAKELPARAM((rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2);
    return PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, centre) != 0 &&
           PostMessageW(control, WM_LBUTTONUP, 0, centre) != 0;
}

bool ClickButton(HWND window, const std::wstring &text)
{
    std::vector<Control> matches = FindControls(window, text, L"Button", true);
    if (matches.empty()) matches = FindControls(window, text, L"", true);
    return !matches.empty() && Click(matches.front().hwnd);
}

bool SetEditText(HWND edit, const std::wstring &text)
{
    if (!UserCanReach(edit) || IsReadOnlyEdit(edit)) return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, Patient(kAnswerTimeoutMs), &result) != 0 &&
           result != FALSE;
}

bool TypeText(HWND edit, const std::wstring &text)
{
    if (!UserCanReach(edit) || IsReadOnlyEdit(edit)) return false;
    // Out-of-range positions are clamped by the edit box: this puts the caret after the text.
    if (!PostMessageW(edit, EM_SETSEL, INT_MAX, INT_MAX)) return false;
    for (wchar_t character : text) {
        if (!PostMessageW(edit, WM_CHAR, character, 1)) return false;
    }
    return true;
}

bool PressKey(HWND window, UINT key)
{
    if (!IsWindow(window)) return false;
    HWND target = FocusedControl(window);
    if (!target) target = window;
    LPARAM down = 1 | static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    LPARAM up = down | static_cast<LPARAM>(0xC0000000u);
    return PostMessageW(target, WM_KEYDOWN, key, down) != 0 && PostMessageW(target, WM_KEYUP, key, up) != 0;
}

bool CloseWindow(HWND window)
{
    if (!IsWindow(window)) return false;
    return PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) != 0;
}

bool EndTask(HWND window)
{
    if (!IsWindow(window)) return false;
    return PostMessageW(window, WM_CLOSE, 0, 0) != 0;
}

} // namespace uidriver
