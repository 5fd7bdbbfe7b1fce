// wizard_walk: runs setup.exe from a package folder and walks its wizard from the first page
// to Finish the way a user would, through the UI driver. Used by scripts/demo (a screenshot
// of every page, then where everything went) and by the installation benchmark (the time
// from Next on the page before the installation until the page after it, and the whole run).
// With --bundle it starts a bundle of the package instead, and walks the setup.exe it runs.
// It prints the title and texts of each page it moves on from, and where everything went.
//
//   wizard_walk PACKAGE_DIR [--shots DIR] [--destination PATH] [--bundle FILE]
#include "tests/driver/ui_driver.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>

using namespace uidriver;

namespace {

const std::wstring restartLater = L"No, I will restart my computer later!";
const int dividerTop = 309; // the button row lies below the divider

// The rightmost button of the row: Next, Yes or Finish, whatever it reads on this page.
std::optional<Control> ForwardButton(HWND window)
{
    std::optional<Control> forward;
    for (const Control &control : Controls(window)) {
        if (!control.visible || !control.IsButton() || control.topLevelRect.top <= dividerTop) continue;
        if (!forward || control.topLevelRect.left > forward->topLevelRect.left) forward = control;
    }
    return forward;
}

bool InstallationShown(HWND window)
{
    for (const Control &control : Controls(window))
        if (control.visible && control.IsProgress()) return true;
    return false;
}

// The destination edit box of the Directory page, when that page is shown.
std::wstring DestinationShown(HWND window)
{
    for (const Control &control : Controls(window))
        if (control.visible && control.IsEdit() && !control.readOnly) return control.text;
    return L"";
}

std::wstring ShotName(int number, const std::wstring &title)
{
    std::wstring name = (number < 10 ? L"0" : L"") + std::to_wstring(number) + L"-";
    for (wchar_t character : title) name += iswalnum(character) ? character : L'-';
    return name + L".bmp";
}

std::wstring ReadPackageValue(const std::wstring &package, const wchar_t *section, const wchar_t *key)
{
    wchar_t value[256] = {};
    GetPrivateProfileStringW(section, key, L"", value, 256, (package + L"\\setup.tsi").c_str());
    return value;
}

// The process the given one started, 0 while there is none.
DWORD ChildOf(DWORD parent)
{
    DWORD child = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && child == 0;
         more = Process32NextW(snapshot, &entry))
        if (entry.th32ParentProcessID == parent) child = entry.th32ProcessID;
    CloseHandle(snapshot);
    return child;
}

int Fail(const std::string &message)
{
    std::fprintf(stderr, "wizard_walk: %s\n", message.c_str());
    return 1;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 2)
        return Fail("usage: wizard_walk PACKAGE_DIR [--shots DIR] [--destination PATH] [--bundle FILE]");
    std::wstring package = argv[1], shots, destination, bundle;
    for (int i = 2; i + 1 < argc; i += 2) {
        std::wstring option = argv[i];
        if (option == L"--shots")
            shots = argv[i + 1];
        else if (option == L"--destination")
            destination = argv[i + 1];
        else if (option == L"--bundle")
            bundle = argv[i + 1];
        else
            return Fail("unknown option " + Narrow(option));
    }

    StartOptions options;
    options.program = bundle.empty() ? package + L"\\setup.exe" : bundle;
    options.workingDirectory = package;
    DWORD startedAt = GetTickCount();
    // From a bundle, setup.exe is the launcher's child, and the launcher ends after it.
    Process setup(options);
    if (!setup.Started())
        return Fail("cannot start " + Narrow(options.program) + ": " + Narrow(setup.Error()));
    DWORD wizard = bundle.empty() ? setup.Pid() : 0;
    // The wizard is the window with the button row; the background window has none.
    HWND window = nullptr;
    WaitUntil([&] {
        if (wizard == 0) wizard = ChildOf(setup.Pid());
        for (HWND candidate : TopLevelWindows(wizard))
            if (ForwardButton(candidate)) window = candidate;
        return window != nullptr || !setup.IsRunning();
    });
    if (!window) return Fail("the wizard window did not appear");

    std::wstring installedTo;
    DWORD clickedAt = 0;
    HWND pressed = nullptr;
    int shot = 1;
    auto capture = [&](const std::wstring &title) {
        if (!shots.empty()) SaveScreenshot(shots + L"\\" + ShotName(shot++, title));
    };
    while (setup.IsRunning() && Exists(window)) {
        std::wstring title = WindowText(window);
        std::optional<Control> forward = ForwardButton(window);
        if (!forward) {
            // The button row is hidden only while the installation runs.
            if (InstallationShown(window)) {
                capture(title);
                // The button that started it comes back at the end. Watch it without messages
                // to setup.exe, which would take time from the installation being measured.
                WaitUntil(
                    [&] { return IsWindowVisible(pressed) || FindDialog(wizard) || !setup.IsRunning(); },
                    600000, 2);
                std::printf("installation took %lu ms\n",
                            static_cast<unsigned long>(GetTickCount() - clickedAt));
                if (HWND box = FindDialog(wizard)) {
                    MessageBoxInfo notice = ReadMessageBox(box);
                    std::printf("%s\n%s\n", Narrow(notice.caption).c_str(), Narrow(notice.text).c_str());
                    PressButton(notice, L"OK");
                    WaitUntil([&] { return ForwardButton(window) || !setup.IsRunning(); });
                }
            }
            // Between two pages: on as soon as the next one shows.
            WaitUntil(
                [&] {
                    return ForwardButton(window) || InstallationShown(window) || !setup.IsRunning() ||
                           !Exists(window);
                },
                kDefaultTimeoutMs, 1);
            continue;
        }
        std::wstring typedDestination = DestinationShown(window);
        if (!typedDestination.empty()) {
            if (!destination.empty()) {
                for (const Control &control : Controls(window)) {
                    if (control.visible && control.IsEdit() && !control.readOnly)
                        SetEditText(control.hwnd, destination);
                }
                WaitUntil([&] { return DestinationShown(window) == destination; });
            }
            installedTo = DestinationShown(window);
        }
        if (auto later = FindControl(window, restartLater); later && later->visible) {
            Click(later->hwnd);
            WaitUntil([&] {
                auto option = FindControl(window, restartLater);
                return option && option->IsChecked();
            });
        }
        WaitForStillScreen(ScreenRect(), 5000); // the page painted in full before it is captured
        std::printf("page: %s\n", Narrow(title).c_str());
        for (const Control &control : Controls(window))
            if (control.visible && !control.text.empty()) std::printf("  %s\n", Narrow(control.text).c_str());
        capture(title);
        clickedAt = GetTickCount();
        pressed = forward->hwnd;
        Click(pressed);
        // Watch closely: a small installation is over within a fraction of a second.
        WaitUntil([&] { return WindowText(window) != title || !setup.IsRunning() || !Exists(window); },
                  600000, 1);
    }
    DWORD exitCode = 0;
    if (!setup.WaitForExit(60000, &exitCode)) return Fail("setup.exe did not end");
    std::printf("the run took %lu ms\n", static_cast<unsigned long>(GetTickCount() - startedAt));

    std::printf("setup.exe ended with exit code %ld\n", static_cast<long>(exitCode));
    std::printf("installed to: %s\n", Narrow(installedTo).c_str());
    wchar_t programs[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, programs, CSIDL_PROGRAMS, FALSE);
    std::wstring links =
        std::wstring(programs) + L"\\" + ReadPackageValue(package, L"Startmenu Links", L"StartmenuDirectory");
    std::printf("shortcuts in: %s\n", Narrow(links).c_str());
    return exitCode == 0 ? 0 : 1;
}
