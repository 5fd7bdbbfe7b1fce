#include "tests/navigation/wizard_session.h"

#include <algorithm>

using namespace uidriver;

namespace navtest {
namespace {

// The divider runs 309 pixels below the window's top; the button row lies below it.
const int dividerTop = 309;

bool IsPageIcon(const Control &control)
{
    return control.visible && ClassName(control.hwnd) == L"Static" && control.Width() == 32 &&
           control.Height() == 32;
}

} // namespace

std::string Describe(const PageView &view)
{
    std::string text = "title \"" + Narrow(view.title) + "\", buttons [";
    for (size_t i = 0; i < view.buttons.size(); i++)
        text += (i ? ", \"" : "\"") + Narrow(view.buttons[i]) + "\"";
    return text + "], icon " + (view.icon ? "shown" : "hidden");
}

WizardSession::WizardSession(const Package &package) : process(package.StartSetup()) {}

WizardSession::WizardSession(const StartOptions &options) : process(options) {}

bool WizardSession::Open(const std::wstring &firstTitle)
{
    if (!process.Started()) return false;
    window = WaitForWindow(process.Pid(), firstTitle);
    return window != nullptr;
}

PageView WizardSession::View() const
{
    PageView view;
    view.title = WindowText(window);
    std::vector<Control> buttons;
    for (const Control &control : Controls(window)) {
        if (!control.visible) continue;
        if (IsPageIcon(control)) view.icon = true;
        if (control.IsButton() && control.topLevelRect.top > dividerTop) buttons.push_back(control);
    }
    std::sort(buttons.begin(), buttons.end(),
              [](const Control &a, const Control &b) { return a.topLevelRect.left < b.topLevelRect.left; });
    for (const Control &button : buttons) view.buttons.push_back(button.text);
    return view;
}

bool WizardSession::Shows(const std::wstring &text) const
{
    return !FindControls(window, text, L"", true).empty();
}

bool WizardSession::WaitForPage(const std::wstring &title, const std::vector<std::wstring> &buttons,
                                DWORD timeoutMs) const
{
    return WaitUntil(
        [&] {
            PageView view = View();
            return view.title == title && view.buttons == buttons;
        },
        timeoutMs);
}

bool WizardSession::WaitForTitle(const std::wstring &title, DWORD timeoutMs) const
{
    return WaitUntil([&] { return WindowText(window) == title; }, timeoutMs);
}

bool WizardSession::Press(const std::wstring &text) const
{
    for (const Control &control : Controls(window)) {
        if (control.visible && control.IsButton() && control.topLevelRect.top > dividerTop &&
            control.text == text)
            return uidriver::Click(control.hwnd);
    }
    return false;
}

bool WizardSession::Click(const std::wstring &text) const
{
    std::optional<Control> control = FindControl(window, text);
    return control && control->visible && uidriver::Click(control->hwnd);
}

bool WizardSession::SetDestination(const std::wstring &path) const
{
    for (const Control &control : Controls(window)) {
        if (control.visible && control.IsEdit() && !control.readOnly) return SetEditText(control.hwnd, path);
    }
    return false;
}

std::vector<HWND> WizardSession::ProgressBars() const
{
    std::vector<Control> bars;
    for (const Control &control : Controls(window))
        if (control.IsProgress()) bars.push_back(control);
    std::sort(bars.begin(), bars.end(),
              [](const Control &a, const Control &b) { return a.topLevelRect.top < b.topLevelRect.top; });
    std::vector<HWND> handles;
    for (const Control &bar : bars) handles.push_back(bar.hwnd);
    return handles;
}

std::string WizardSession::Dump() const
{
    return Describe(View()) + "\n" + DumpControls(window);
}

} // namespace navtest
