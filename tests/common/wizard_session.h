// One run of setup.exe seen and driven the way a user does, through the UI driver only: the
// page it shows, its controls and where the page layer puts them, and its buttons.
#ifndef SETUP_TESTS_COMMON_WIZARD_SESSION_H
#define SETUP_TESTS_COMMON_WIZARD_SESSION_H

#include "tests/common/setup_package.h"
#include "tests/driver/ui_driver.h"

#include <optional>
#include <string>
#include <vector>

namespace setuptest {

// The eight page texts with their default lines, for asking which page is showing.
extern const std::vector<std::wstring> defaultPageLines;

// The pages' default titles, as the title bar shows them.
namespace defaultTitle {
inline const std::wstring introduction = L"Setup";
inline const std::wstring license = L"License";
inline const std::wstring directory = L"Select destination directory";
inline const std::wstring components = L"Select components to install";
inline const std::wstring summary = L"Ready to install";
inline const std::wstring installation = L"Installation";
inline const std::wstring bye = L"Setup complete";
inline const std::wstring reboot = L"Reboot";
} // namespace defaultTitle

// Start options with the 8-bit path forced (the library reads LUMORA_ANSI) or not.
uidriver::StartOptions WithCharacterWidth(uidriver::StartOptions options, bool eightBit);

// Texts as the controls hold them, with "\r\n" read as "\n".
std::wstring Lines(const std::wstring &text);

// The page a user sees: the window's title, the button row from left to right and whether the
// page icon shows.
struct PageView {
    std::wstring title;
    std::vector<std::wstring> buttons;
    bool icon = false;
};

std::string Describe(const PageView &view);

class WizardSession {
public:
    WizardSession() = default;
    // Starts setup.exe from the package, in the package folder.
    explicit WizardSession(const SetupPackage &package);
    // Starts it as given, e.g. with a relay trace applied to a package's options.
    explicit WizardSession(const uidriver::StartOptions &options);
    WizardSession(const WizardSession &) = delete;
    WizardSession &operator=(const WizardSession &) = delete;

    bool Start(const uidriver::StartOptions &options);
    // Waits for the wizard window, titled `firstTitle`; false when it did not come.
    bool Open(const std::wstring &firstTitle);

    uidriver::Process &Process() { return process; }
    const uidriver::Process &Process() const { return process; }
    DWORD Pid() const { return process.Pid(); }
    HWND Window() const { return window; }

    // A readable account for failure messages: the windows of the process, the page and its
    // controls.
    std::string Describe() const;

    // What the page shows.
    PageView View() const;
    // True when a visible control shows exactly this text (a page text, a check box, ...).
    bool Shows(const std::wstring &text) const;
    // Waits until the title and the button row are as given; false on timeout.
    bool WaitForPage(const std::wstring &title, const std::vector<std::wstring> &buttons,
                     DWORD timeoutMs = uidriver::kDefaultTimeoutMs) const;
    bool WaitForTitle(const std::wstring &title, DWORD timeoutMs = uidriver::kDefaultTimeoutMs) const;
    // The controls of the wizard window, hidden ones included.
    std::vector<uidriver::Control> Controls() const;
    // The Static control showing exactly text (hidden or not).
    std::optional<uidriver::Control> TextControl(const std::wstring &text) const;
    // The texts of the visible controls of one class, e.g. L"Button" or L"Static".
    std::vector<std::wstring> VisibleTexts(const std::wstring &className) const;
    // The visible progress bars, top to bottom (file bar, total bar).
    std::vector<HWND> ProgressBars() const;

    // Where things lie. Picture controls are found by their bitmap's size: 120 x 260 side
    // picture, 32 x 32 icon.
    std::optional<uidriver::Control> Picture(int width, int height) const;
    // Where the page layer's (0, 0) lies in the window's client area, found from the side
    // picture, which the wizard puts at (10, 10) in the layer.
    std::optional<POINT> LayerOrigin() const;
    // A control's rectangle in page-layer coordinates.
    RECT InLayer(const uidriver::Control &control) const;

    // What a user does. Clicks the button-row button that reads `text`; false when no such
    // button is shown.
    bool Press(const std::wstring &text) const;
    // Clicks any visible control that reads `text` (check boxes, option boxes, Browse).
    bool Click(const std::wstring &text) const;
    // Replaces the destination on the Directory page.
    bool SetDestination(const std::wstring &path) const;

private:
    uidriver::Process process;
    HWND window = nullptr;
};

// setup.exe run from a package of its own that holds only `tsi` as its setup.tsi (none when
// empty), through the 8-bit functions when asked, its calls watched by `trace` when given, its
// wizard window awaited under `title`.
class PackagedSession : public WizardSession {
public:
    PackagedSession(const std::string &tsi, const std::wstring &title, bool eightBit = false,
                    const uidriver::RelayTrace *trace = nullptr);
    // setup.exe holds its own files open, so it ends before its package folder is removed.
    ~PackagedSession() { Process().Kill(); }

    std::string Describe() const;

    SetupPackage package;
};

} // namespace setuptest

#endif
