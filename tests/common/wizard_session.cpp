#include "tests/common/wizard_session.h"

#include <algorithm>
#include <sstream>

using namespace uidriver;

namespace setuptest {
namespace {

// The divider runs 309 pixels below the window's top; the button row lies below it.
const int dividerTop = 309;

bool InButtonRow(const Control &control)
{
    return control.visible && control.IsButton() && control.topLevelRect.top > dividerTop;
}

bool IsPageIcon(const Control &control)
{
    return control.visible && control.className == L"Static" && control.Width() == 32 &&
           control.Height() == 32;
}

} // namespace

const std::vector<std::wstring> defaultPageLines = {
    L"Welcome to the setup.",
    L"Do you accept the following agreement?",
    L"Choose the destination directory.",
    L"Select components to install.",
    L"Setup is now ready to install.",
    L"The setup has been completed!",
    L"The computer must be rebooted now!",
    L"Copying the files to your computer.",
};

StartOptions WithCharacterWidth(StartOptions options, bool eightBit)
{
    options.environment.emplace_back(L"LUMORA_ANSI", eightBit ? L"1" : L"0");
    return options;
}

std::wstring Lines(const std::wstring &text)
{
    std::wstring lines;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        lines += text[i];
    }
    return lines;
}

std::string Describe(const PageView &view)
{
    std::string text = "title \"" + Narrow(view.title) + "\", buttons [";
    for (size_t i = 0; i < view.buttons.size(); i++)
        text += (i ? ", \"" : "\"") + Narrow(view.buttons[i]) + "\"";
    return text + "], icon " + (view.icon ? "shown" : "hidden");
}

WizardSession::WizardSession(const SetupPackage &package) : process(package.ProgramOptions()) {}

WizardSession::WizardSession(const StartOptions &options) : process(options) {}

bool WizardSession::Start(const StartOptions &options)
{
    window = nullptr;
    return process.Start(options);
}

bool WizardSession::Open(const std::wstring &firstTitle)
{
    if (!process.Started()) return false;
    window = WaitForWindow(process.Pid(), firstTitle);
    return window != nullptr;
}

std::string WizardSession::Describe() const
{
    if (!process.Started()) return "setup.exe not started: " + Narrow(process.Error());
    std::ostringstream text;
    text << "top-level windows of setup.exe:";
    for (HWND top : TopLevelWindows(process.Pid(), false)) text << " \"" << Narrow(WindowText(top)) << "\"";
    if (window) text << "\n" << setuptest::Describe(View()) << "\n" << DumpControls(window);
    return text.str();
}

PageView WizardSession::View() const
{
    PageView view;
    view.title = WindowText(window);
    std::vector<Control> buttons;
    for (const Control &control : Controls()) {
        if (IsPageIcon(control)) view.icon = true;
        if (InButtonRow(control)) buttons.push_back(control);
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

std::vector<Control> WizardSession::Controls() const
{
    return window ? uidriver::Controls(window) : std::vector<Control>();
}

std::optional<Control> WizardSession::TextControl(const std::wstring &text) const
{
    for (const Control &control : Controls())
        if (control.className == L"Static" && Lines(control.text) == text) return control;
    return std::nullopt;
}

std::vector<std::wstring> WizardSession::VisibleTexts(const std::wstring &className) const
{
    std::vector<std::wstring> texts;
    for (const Control &control : Controls())
        if (control.visible && _wcsicmp(control.className.c_str(), className.c_str()) == 0)
            texts.push_back(Lines(control.text));
    return texts;
}

std::vector<HWND> WizardSession::ProgressBars() const
{
    std::vector<Control> bars;
    for (const Control &control : Controls())
        if (control.IsProgress()) bars.push_back(control);
    std::sort(bars.begin(), bars.end(),
              [](const Control &a, const Control &b) { return a.topLevelRect.top < b.topLevelRect.top; });
    std::vector<HWND> handles;
    for (const Control &bar : bars) handles.push_back(bar.hwnd);
    return handles;
}

std::optional<Control> WizardSession::Picture(int width, int height) const
{
    for (const Control &control : Controls())
        if ((control.style & SS_TYPEMASK) == SS_BITMAP && control.Width() == width &&
            control.Height() == height)
            return control;
    return std::nullopt;
}

std::optional<POINT> WizardSession::LayerOrigin() const
{
    std::optional<Control> side = Picture(120, 260);
    if (!side) return std::nullopt;
    return POINT{side->topLevelRect.left - 10, side->topLevelRect.top - 10};
}

RECT WizardSession::InLayer(const Control &control) const
{
    POINT origin = LayerOrigin().value_or(POINT{0, 0});
    RECT r = control.topLevelRect;
    return RECT{r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
}

bool WizardSession::Press(const std::wstring &text) const
{
    for (const Control &control : Controls())
        if (InButtonRow(control) && control.text == text) return uidriver::Click(control.hwnd);
    return false;
}

bool WizardSession::Click(const std::wstring &text) const
{
    std::optional<Control> control = FindControl(window, text);
    return control && control->visible && uidriver::Click(control->hwnd);
}

bool WizardSession::SetDestination(const std::wstring &path) const
{
    for (const Control &control : Controls())
        if (control.visible && control.IsEdit() && !control.readOnly) return SetEditText(control.hwnd, path);
    return false;
}

PackagedSession::PackagedSession(const std::string &tsi, const std::wstring &title, bool eightBit,
                                 const RelayTrace *trace)
{
    if (!package.Ready()) return;
    if (!tsi.empty() && !package.WriteConfig(tsi)) return;
    StartOptions options = WithCharacterWidth(package.ProgramOptions(), eightBit);
    if (trace) trace->Apply(options);
    if (Start(options)) Open(title);
}

std::string PackagedSession::Describe() const
{
    if (!package.Ready()) return "package folder not made: " + Narrow(package.Error());
    return WizardSession::Describe();
}

} // namespace setuptest
