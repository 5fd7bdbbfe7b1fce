// Finding and reading top-level windows and their controls from outside the program.
#include "tests/driver/ui_driver.h"

#include <commctrl.h>

namespace uidriver {

namespace {

bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR *result)
{
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               Patient(kAnswerTimeoutMs), result) != 0;
}

struct TopLevelSearch {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context)
{
    auto *search = reinterpret_cast<TopLevelSearch *>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->pid && (!search->visibleOnly || IsWindowVisible(window)))
        search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context)
{
    reinterpret_cast<std::vector<HWND> *>(context)->push_back(window);
    return TRUE;
}

RECT ToClientOf(HWND window, RECT rect)
{
    if (!window) return rect;
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

bool ClassIs(const std::wstring &className, const wchar_t *expected)
{
    return _wcsicmp(className.c_str(), expected) == 0;
}

LONG ButtonType(LONG style)
{
    return style & BS_TYPEMASK;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Top-level windows

std::vector<HWND> TopLevelWindows(DWORD pid, bool visibleOnly)
{
    TopLevelSearch search{pid, visibleOnly, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindWindowOf(DWORD pid, const std::wstring &title)
{
    for (HWND window : TopLevelWindows(pid)) {
        if (title.empty() || WindowText(window) == title) return window;
    }
    return nullptr;
}

HWND WaitForWindow(DWORD pid, const std::wstring &title, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowOf(pid, title)) != nullptr; }, timeoutMs);
    return found;
}

HWND WaitForWindowOfClass(DWORD pid, const std::wstring &className, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(pid)) {
                if (ClassIs(ClassName(window), className.c_str())) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::wstring WindowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!Ask(window, WM_GETTEXTLENGTH, 0, 0, &length)) return L"";
    // The text may grow between the two messages; the second answer tells how much was copied.
    std::wstring text(length + 64, L'\0');
    DWORD_PTR copied = 0;
    if (!Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), &copied)) return L"";
    text.resize(std::min<size_t>(copied, text.size()));
    return text;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256] = {};
    int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT ClientRect(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

bool IsVisible(HWND window)
{
    return IsWindowVisible(window) != FALSE;
}

bool IsEnabled(HWND window)
{
    return IsWindowEnabled(window) != FALSE;
}

bool IsForeground(HWND window)
{
    // A message box in front belongs to the window that owns it.
    for (HWND front = GetForegroundWindow(); front; front = GetWindow(front, GW_OWNER)) {
        if (front == window || GetAncestor(front, GA_ROOT) == window) return true;
    }
    return false;
}

HWND FocusedControl(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (!thread || !GetGUIThreadInfo(thread, &info)) return nullptr;
    return info.hwndFocus;
}

bool WaitForWindowText(HWND window, const std::wstring &text, DWORD timeoutMs)
{
    return WaitUntil([&] { return WindowText(window) == text; }, timeoutMs);
}

bool Exists(HWND window)
{
    return IsWindow(window) != FALSE;
}

DWORD ProcessOf(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

// ---------------------------------------------------------------------------------------------
// Controls

bool Control::IsButton() const
{
    if (!ClassIs(className, L"Button")) return false;
    LONG type = ButtonType(style);
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

bool Control::IsCheckBox() const
{
    if (!ClassIs(className, L"Button")) return false;
    LONG type = ButtonType(style);
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

bool Control::IsRadio() const
{
    if (!ClassIs(className, L"Button")) return false;
    LONG type = ButtonType(style);
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool Control::IsEdit() const
{
    return ClassIs(className, L"Edit");
}

bool Control::IsProgress() const
{
    return ClassIs(className, PROGRESS_CLASSW);
}

CheckState GetCheckState(HWND control)
{
    Control probe;
    probe.className = ClassName(control);
    probe.style = GetWindowLongW(control, GWL_STYLE);
    if (!probe.IsCheckBox() && !probe.IsRadio()) return CheckState::NotCheckable;
    DWORD_PTR state = 0;
    if (!Ask(control, BM_GETCHECK, 0, 0, &state)) return CheckState::NotCheckable;
    if (state == BST_CHECKED) return CheckState::Checked;
    if (state == BST_INDETERMINATE) return CheckState::Indeterminate;
    return CheckState::Unchecked;
}

int ProgressPosition(HWND control)
{
    DWORD_PTR position = 0;
    if (!ClassIs(ClassName(control), PROGRESS_CLASSW) || !Ask(control, PBM_GETPOS, 0, 0, &position))
        return -1;
    return static_cast<int>(position);
}

std::pair<int, int> ProgressRange(HWND control)
{
    DWORD_PTR low = 0;
    DWORD_PTR high = 0;
    if (!ClassIs(ClassName(control), PROGRESS_CLASSW)) return {0, 0};
    Ask(control, PBM_GETRANGE, TRUE, 0, &low);
    Ask(control, PBM_GETRANGE, FALSE, 0, &high);
    return {static_cast<int>(low), static_cast<int>(high)};
}

Control Describe(HWND control, HWND topLevel)
{
    Control snapshot;
    snapshot.hwnd = control;
    snapshot.parent = GetParent(control);
    snapshot.className = ClassName(control);
    snapshot.text = WindowText(control);
    snapshot.id = GetDlgCtrlID(control);
    snapshot.style = GetWindowLongW(control, GWL_STYLE);
    snapshot.visible = IsWindowVisible(control) != FALSE;
    snapshot.enabled = IsWindowEnabled(control) != FALSE;
    snapshot.readOnly = snapshot.IsEdit() && (snapshot.style & ES_READONLY) != 0;
    snapshot.check = GetCheckState(control);
    snapshot.progress = ProgressPosition(control);
    snapshot.screenRect = WindowRect(control);
    snapshot.parentRect = ToClientOf(snapshot.parent, snapshot.screenRect);
    snapshot.topLevelRect =
        ToClientOf(topLevel ? topLevel : GetAncestor(control, GA_ROOT), snapshot.screenRect);
    return snapshot;
}

std::vector<Control> Controls(HWND window)
{
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::vector<Control> controls;
    controls.reserve(children.size());
    for (HWND child : children) controls.push_back(Describe(child, window));
    return controls;
}

std::vector<Control> FindControls(HWND window, const std::wstring &text, const std::wstring &className,
                                  bool visibleOnly)
{
    std::vector<Control> matches;
    for (Control &control : Controls(window)) {
        if (!text.empty() && control.text != text) continue;
        if (!className.empty() && !ClassIs(control.className, className.c_str())) continue;
        if (visibleOnly && !control.visible) continue;
        matches.push_back(std::move(control));
    }
    return matches;
}

std::optional<Control> FindControl(HWND window, const std::wstring &text, const std::wstring &className)
{
    std::vector<Control> matches = FindControls(window, text, className);
    for (const Control &control : matches) {
        if (control.visible) return control;
    }
    if (matches.empty()) return std::nullopt;
    return matches.front();
}

std::optional<Control> WaitForControl(HWND window, const std::wstring &text, const std::wstring &className,
                                      DWORD timeoutMs)
{
    std::optional<Control> found;
    WaitUntil(
        [&] {
            std::vector<Control> matches = FindControls(window, text, className, true);
            if (matches.empty()) return false;
            found = matches.front();
            return true;
        },
        timeoutMs);
    return found;
}

bool WaitForControlState(HWND control, const std::function<bool(const Control &)> &condition, DWORD timeoutMs,
                         Control *last)
{
    Control snapshot;
    bool held = WaitUntil(
        [&] {
            snapshot = Describe(control);
            return condition(snapshot);
        },
        timeoutMs);
    if (last) *last = snapshot;
    return held;
}

std::vector<std::wstring> VisibleTexts(HWND window, const std::wstring &className)
{
    std::vector<std::wstring> texts;
    for (const Control &control : FindControls(window, L"", className, true)) texts.push_back(control.text);
    return texts;
}

std::string DumpControls(HWND window)
{
    std::string dump = "window \"" + Narrow(WindowText(window)) + "\" (" + Narrow(ClassName(window)) + ")\n";
    for (const Control &control : Controls(window)) {
        const RECT &r = control.topLevelRect;
        dump += "  " + Narrow(control.className) + " \"" + Narrow(control.text) +
                "\" id=" + std::to_string(control.id) + (control.visible ? " visible" : " hidden") +
                (control.enabled ? "" : " disabled") + (control.readOnly ? " read-only" : "");
        if (control.check != CheckState::NotCheckable)
            dump += control.IsChecked() ? " checked" : " unchecked";
        if (control.progress >= 0) dump += " progress=" + std::to_string(control.progress);
        dump += " at " + std::to_string(r.left) + "," + std::to_string(r.top) + " size " +
                std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + "\n";
    }
    return dump;
}

} // namespace uidriver
