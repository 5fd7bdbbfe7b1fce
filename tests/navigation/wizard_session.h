// Drives one run of setup.exe the way a user does: reads the page it shows and presses its
// buttons, through the UI driver only.
#pragma once

#include "tests/driver/ui_driver.h"

#include <string>
#include <vector>

namespace navtest {

// The page a user sees: the window's title, the button row from left to right, whether the
// page icon shows, and (for failure messages) everything else.
struct PageView {
    std::wstring title;
    std::vector<std::wstring> buttons;
    bool icon = false;
};

std::string Describe(const PageView &view);

class WizardSession {
public:
    // Starts setup.exe from the package, in the package folder.
    explicit WizardSession(const uidriver::Package &package);
    // Starts it as given, e.g. with a relay trace applied to the package's options.
    explicit WizardSession(const uidriver::StartOptions &options);

    // Waits for the wizard window, titled `firstTitle`; false when it did not come.
    bool Open(const std::wstring &firstTitle);

    uidriver::Process &Process() { return process; }
    DWORD Pid() const { return process.Pid(); }
    HWND Window() const { return window; }

    PageView View() const;
    // True when a visible control shows exactly this text (a page text, a check box, ...).
    bool Shows(const std::wstring &text) const;
    // Waits until the title and the button row are as given; false on timeout.
    bool WaitForPage(const std::wstring &title, const std::vector<std::wstring> &buttons,
                     DWORD timeoutMs = uidriver::kDefaultTimeoutMs) const;
    bool WaitForTitle(const std::wstring &title, DWORD timeoutMs = uidriver::kDefaultTimeoutMs) const;

    // Clicks the button-row button that reads `text`; false when no such button is shown.
    bool Press(const std::wstring &text) const;
    // Clicks any visible control that reads `text` (check boxes, option boxes, Browse).
    bool Click(const std::wstring &text) const;
    // Replaces the destination on the Directory page.
    bool SetDestination(const std::wstring &path) const;
    // The visible progress bars, top to bottom (file bar, total bar).
    std::vector<HWND> ProgressBars() const;

    // A readable account of the window's controls, for failure messages.
    std::string Dump() const;

private:
    uidriver::Process process;
    HWND window = nullptr;
};

} // namespace navtest
