// A run of setup.exe in its own package folder, seen through the UI driver: the wizard
// window, its controls and where the page layer puts them.
#ifndef SETUP_TESTS_WIZARD_WIZARD_SESSION_H
#define SETUP_TESTS_WIZARD_WIZARD_SESSION_H

#include "tests/driver/ui_driver.h"

#include <optional>
#include <string>
#include <vector>

namespace wizardtest {

// The eight page texts with their default lines, for asking which page is showing.
extern const std::vector<std::wstring> defaultPageLines;

// Start options with the 8-bit path forced (the library reads LUMORA_ANSI) or not.
uidriver::StartOptions WithCharacterWidth(uidriver::StartOptions options, bool eightBit);

// Texts as the controls hold them, with "\r\n" read as "\n".
std::wstring Lines(const std::wstring &text);

class WizardSession {
public:
    // Writes setup.tsi (none when tsi is empty) into a fresh package, starts setup.exe (its
    // calls watched by trace when given) and waits for its wizard window titled title.
    WizardSession(const std::string &tsi, const std::wstring &title, bool eightBit = false,
                  const uidriver::RelayTrace *trace = nullptr);
    WizardSession(const WizardSession &) = delete;
    WizardSession &operator=(const WizardSession &) = delete;

    uidriver::Package package;
    uidriver::Process process;
    HWND window = nullptr;

    // A readable account for failure messages: the windows of the process and their controls.
    std::string Describe() const;

    // The controls of the wizard window, hidden ones included.
    std::vector<uidriver::Control> Controls() const;
    // The Static control showing exactly text (hidden or not).
    std::optional<uidriver::Control> TextControl(const std::wstring &text) const;
    // Picture controls are found by their bitmap's size: 120 x 260 side picture, 32 x 32 icon.
    std::optional<uidriver::Control> Picture(int width, int height) const;
    // Where the page layer's (0, 0) lies in the window's client area, found from the side
    // picture, which the wizard puts at (10, 10) in the layer.
    std::optional<POINT> LayerOrigin() const;
    // A control's rectangle in page-layer coordinates.
    RECT InLayer(const uidriver::Control &control) const;
    // The texts of the visible controls of one class, e.g. L"Button" or L"Static".
    std::vector<std::wstring> VisibleTexts(const std::wstring &className) const;
};

} // namespace wizardtest

#endif
