#include "tests/wizard/wizard_session.h"

#include <sstream>

namespace wizardtest {

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

uidriver::StartOptions WithCharacterWidth(uidriver::StartOptions options, bool eightBit)
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

WizardSession::WizardSession(const std::string &tsi, const std::wstring &title, bool eightBit,
                             const uidriver::RelayTrace *trace)
{
    if (!package.Ready()) return;
    if (!tsi.empty() && !package.WriteConfig(tsi)) return;
    uidriver::StartOptions options = WithCharacterWidth(package.SetupOptions(), eightBit);
    if (trace) trace->Apply(options);
    process.Start(options);
    if (process.Started())
        window = uidriver::WaitForWindow(process.Pid(), title, uidriver::kDefaultTimeoutMs);
}

std::string WizardSession::Describe() const
{
    std::ostringstream text;
    if (!package.Ready()) return "package folder not made: " + uidriver::Narrow(package.Error());
    if (!process.Started()) return "setup.exe not started: " + uidriver::Narrow(process.Error());
    text << "top-level windows of setup.exe:";
    for (HWND top : uidriver::TopLevelWindows(process.Pid(), false))
        text << " \"" << uidriver::Narrow(uidriver::WindowText(top)) << "\"";
    if (window) text << "\n" << uidriver::DumpControls(window);
    return text.str();
}

std::vector<uidriver::Control> WizardSession::Controls() const
{
    return window ? uidriver::Controls(window) : std::vector<uidriver::Control>();
}

std::optional<uidriver::Control> WizardSession::TextControl(const std::wstring &text) const
{
    for (const uidriver::Control &control : Controls())
        if (control.className == L"Static" && Lines(control.text) == text) return control;
    return std::nullopt;
}

std::optional<uidriver::Control> WizardSession::Picture(int width, int height) const
{
    for (const uidriver::Control &control : Controls())
        if ((control.style & SS_TYPEMASK) == SS_BITMAP && control.Width() == width &&
            control.Height() == height)
            return control;
    return std::nullopt;
}

std::optional<POINT> WizardSession::LayerOrigin() const
{
    std::optional<uidriver::Control> side = Picture(120, 260);
    if (!side) return std::nullopt;
    return POINT{side->topLevelRect.left - 10, side->topLevelRect.top - 10};
}

RECT WizardSession::InLayer(const uidriver::Control &control) const
{
    POINT origin = LayerOrigin().value_or(POINT{0, 0});
    RECT r = control.topLevelRect;
    return RECT{r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
}

std::vector<std::wstring> WizardSession::VisibleTexts(const std::wstring &className) const
{
    std::vector<std::wstring> texts;
    for (const uidriver::Control &control : Controls())
        if (control.visible && _wcsicmp(control.className.c_str(), className.c_str()) == 0)
            texts.push_back(Lines(control.text));
    return texts;
}

} // namespace wizardtest
