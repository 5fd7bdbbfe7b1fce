// A black-box driver for Win32 programs under test: it starts a program, finds its windows and
// controls, reads what a user would see, acts as a user would (clicks, typing, closing), reads
// message boxes and screen pixels, and prepares throw-away package folders for installer runs.
// It never reaches inside the program: everything goes through window messages, the screen and
// the file system, so a test sees exactly what a user sees.
#pragma once

#include "tests/common/remove_tree.h"
#include "tests/common/scratch_folder.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace uidriver {

// Wine may stall for about 15 s when another program starts, so waits are generous by default;
// every wait polls and returns as soon as its condition holds.
constexpr DWORD kDefaultTimeoutMs = 30000;
constexpr DWORD kPollIntervalMs = 20;
// The longest the driver waits for a program to answer one message. Under Wine on a screen
// without a window manager, a program stalls for about 2 s whenever one of its top-level windows
// is hidden (closing a message box, for one); a program that answers nothing for 5 s counts as
// hung and its messages fail at once.
constexpr UINT kAnswerTimeoutMs = 5000;

// Every time-out above and every one a caller passes, stretched by the whole number in
// UIDRIVER_PATIENCE (1 when unset): under user-mode emulation each Wine call is many times
// slower, and a wait that is generous natively runs out before a sound program answers.
DWORD Patient(DWORD timeoutMs);

// Polls `condition` until it returns true or `timeoutMs` passes; true when it held in time.
bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs = kDefaultTimeoutMs,
               DWORD pollMs = kPollIntervalMs);

// UTF-8 for test failure messages.
std::string Narrow(const std::wstring &text);
std::wstring Widen(const std::string &utf8);

// ---------------------------------------------------------------------------------------------
// Processes

struct StartOptions {
    std::wstring program;          // path of the executable
    std::wstring arguments;        // appended to the quoted program path on the command line
    std::wstring workingDirectory; // empty: the test program's current directory
    // Variables set (or replaced) in the child's environment, e.g. {L"WINEDEBUG", L"-all,+relay"}.
    std::vector<std::pair<std::wstring, std::wstring>> environment;
    // Non-empty: the handle of standard error the program gets is this file (created anew). Under
    // Wine this catches what the program writes to that handle, not Wine's own debug output.
    std::wstring stderrFile;
};

// A started program. Movable, not copyable; the destructor kills a program that still runs, so a
// failing test never leaves one behind.
class Process {
public:
    Process() = default;
    explicit Process(const StartOptions &options) { Start(options); }
    Process(const std::wstring &program, const std::wstring &arguments = L"",
            const std::wstring &workingDirectory = L"");
    ~Process();
    Process(Process &&other) noexcept;
    Process &operator=(Process &&other) noexcept;
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;

    // Starts the program with CreateProcessW; false (and Error() says why) when it could not.
    bool Start(const StartOptions &options);
    bool Started() const { return process != nullptr; }
    const std::wstring &Error() const { return error; }

    DWORD Pid() const { return pid; }
    HANDLE Handle() const { return process; }
    bool IsRunning() const;
    // True when the program ended within the timeout; its exit code (a DWORD: -1 is 0xFFFFFFFF)
    // is stored into *exitCode when given.
    bool WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs, DWORD *exitCode = nullptr);
    // The exit code once the program has ended, nothing while it runs or was never started.
    std::optional<DWORD> ExitCode() const;
    // Ends the program at once (TerminateProcess) and waits for it to go.
    void Kill();

private:
    void Release();

    HANDLE process = nullptr;
    DWORD pid = 0;
    std::wstring error;
};

// ---------------------------------------------------------------------------------------------
// Top-level windows

// The visible top-level windows of a process, in Z order (topmost first).
std::vector<HWND> TopLevelWindows(DWORD pid, bool visibleOnly = true);
// A visible top-level window of the process whose title is exactly `title`; with an empty title,
// the first visible top-level window. Null when there is none.
HWND FindWindowOf(DWORD pid, const std::wstring &title = L"");
// As FindWindowOf, polling until the window appears; null on timeout.
HWND WaitForWindow(DWORD pid, const std::wstring &title = L"", DWORD timeoutMs = kDefaultTimeoutMs);
// A visible top-level window of the process with the window class `className`.
HWND WaitForWindowOfClass(DWORD pid, const std::wstring &className, DWORD timeoutMs = kDefaultTimeoutMs);
// Polls until the window no longer exists or is hidden; true when it went in time.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kDefaultTimeoutMs);

// The text of any window or control, read with WM_GETTEXT through SendMessageTimeout, so a hung
// program cannot hang the test (empty text then).
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
RECT WindowRect(HWND window); // screen coordinates, frame included
RECT ClientRect(HWND window); // client area in screen coordinates
bool IsVisible(HWND window);  // the window and all its parents are visible
bool IsEnabled(HWND window);
bool IsForeground(HWND window); // the window is (or owns) the foreground window
// The control that has the keyboard focus in the window's thread, null when none.
HWND FocusedControl(HWND window);
// Polls until the window's text is exactly `text`.
bool WaitForWindowText(HWND window, const std::wstring &text, DWORD timeoutMs = kDefaultTimeoutMs);
bool Exists(HWND window);
DWORD ProcessOf(HWND window);

// ---------------------------------------------------------------------------------------------
// Controls

enum class CheckState { NotCheckable, Unchecked, Checked, Indeterminate };

// A snapshot of one control as a user would see it.
struct Control {
    HWND hwnd = nullptr;
    HWND parent = nullptr;
    std::wstring className; // e.g. L"Button", L"Edit", L"Static", L"msctls_progress32"
    std::wstring text;
    int id = 0;
    LONG style = 0;
    bool visible = false;                        // the control and every parent are visible
    bool enabled = false;                        // the control itself is enabled
    bool readOnly = false;                       // an edit box with ES_READONLY
    CheckState check = CheckState::NotCheckable; // check boxes and radio buttons (BM_GETCHECK)
    int progress = -1;                           // msctls_progress32: PBM_GETPOS, else -1
    RECT screenRect{};                           // on the screen
    RECT parentRect{};                           // in the client coordinates of the control's direct parent
    RECT topLevelRect{}; // in the client coordinates of the top-level window that holds it

    bool IsButton() const;   // a push button (class Button, not a check box, radio or group box)
    bool IsCheckBox() const; // check box styles
    bool IsRadio() const;    // radio button styles
    bool IsEdit() const;
    bool IsProgress() const;
    bool IsChecked() const { return check == CheckState::Checked; }
    int Width() const { return screenRect.right - screenRect.left; }
    int Height() const { return screenRect.bottom - screenRect.top; }
};

// Reads one control; `topLevel` is the window whose client area `topLevelRect` refers to (null:
// the control's root window).
Control Describe(HWND control, HWND topLevel = nullptr);
// Every child control of `window`, recursively (EnumChildWindows order), hidden ones included.
std::vector<Control> Controls(HWND window);
// Controls whose text is exactly `text` (any text when empty) and whose class is `className`
// (compared without case; any class when empty). With `visibleOnly`, hidden controls are skipped.
std::vector<Control> FindControls(HWND window, const std::wstring &text, const std::wstring &className = L"",
                                  bool visibleOnly = false);
// The first match as above, preferring a visible control over a hidden one; nothing when none.
std::optional<Control> FindControl(HWND window, const std::wstring &text,
                                   const std::wstring &className = L"");
// Polls until a visible control with that text and class exists.
std::optional<Control> WaitForControl(HWND window, const std::wstring &text,
                                      const std::wstring &className = L"",
                                      DWORD timeoutMs = kDefaultTimeoutMs);
// Polls until `condition` holds for the current snapshot of `control`; the last snapshot is
// stored into *last when given (for failure messages).
bool WaitForControlState(HWND control, const std::function<bool(const Control &)> &condition,
                         DWORD timeoutMs = kDefaultTimeoutMs, Control *last = nullptr);
// The visible texts of a window's controls of one class (e.g. all visible buttons), in order.
std::vector<std::wstring> VisibleTexts(HWND window, const std::wstring &className);
// A readable listing of every control of a window, for failure messages.
std::string DumpControls(HWND window);

// Single readings of one control.
CheckState GetCheckState(HWND control);
int ProgressPosition(HWND control);              // PBM_GETPOS, -1 when not a progress bar
std::pair<int, int> ProgressRange(HWND control); // PBM_GETRANGE low and high

// ---------------------------------------------------------------------------------------------
// Actions, each posted so that a modal box the action opens never blocks the test. Each returns
// false, doing nothing, where a user could not act: the control is hidden or disabled, or its
// top-level window is disabled (for example behind a modal box).

// Clicks a control: BM_CLICK for buttons, check boxes and radio buttons; a posted left mouse
// click at its centre for any other control.
bool Click(HWND control);
// Clicks the visible control of `window` whose text is exactly `text` (class Button first).
bool ClickButton(HWND window, const std::wstring &text);
// Replaces an edit box's text at once (WM_SETTEXT), as pasting over a selection would; refused
// for read-only edit boxes.
bool SetEditText(HWND edit, const std::wstring &text);
// Types text at the end of a control's text key by key (posted WM_CHAR per character); use
// WaitForControlState to see the result. Refused for read-only edit boxes.
bool TypeText(HWND edit, const std::wstring &text);
// Presses and releases a key (a virtual-key code such as VK_RETURN) where the keyboard focus of
// the window's thread stands, the window itself when nothing there has it. Shift is not held, so
// Tab always moves forward.
bool PressKey(HWND window, UINT key);
// Asks a window to close as the close command of its system menu would (posted WM_SYSCOMMAND
// SC_CLOSE).
bool CloseWindow(HWND window);
// Asks a window to close as a task list's End task does (posted WM_CLOSE).
bool EndTask(HWND window);

// Asks a program's window whether the session may end, as the system does before a log-off or
// a restart (WM_QUERYENDSESSION), and tells it the session ends (WM_ENDSESSION) once it agreed.
// The question is sent from a thread of its own, so a box the program opens in answer can be
// answered meanwhile; the destructor waits for the answer.
class SessionEndRequest {
public:
    explicit SessionEndRequest(HWND window);
    ~SessionEndRequest();
    SessionEndRequest(const SessionEndRequest &) = delete;
    SessionEndRequest &operator=(const SessionEndRequest &) = delete;

    // Waits for the answer; nothing when none came in time (the window gone counts as no).
    std::optional<bool> Agreed(DWORD timeoutMs = kDefaultTimeoutMs);

private:
    static DWORD WINAPI Ask(void *self);

    HWND window;
    HANDLE thread = nullptr;
    volatile LONG agreed = 0;
};

// ---------------------------------------------------------------------------------------------
// Message boxes (dialogs of class #32770)

enum class MessageIcon { None, Question, Information, Warning, Error, Other };
const char *IconName(MessageIcon icon);

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring caption;
    std::wstring text;                 // the message, as shown
    std::vector<std::wstring> buttons; // visible button texts without the '&' mnemonic marks
    MessageIcon icon = MessageIcon::None;
};

// A visible #32770 dialog of the process, if any.
HWND FindDialog(DWORD pid);
// Reads a message box: caption, message text, buttons and which system icon it shows. Icon
// handles mean nothing in another process under Wine, so the icon is told from the screen: a box
// covered by another window shows MessageIcon::Other.
MessageBoxInfo ReadMessageBox(HWND dialog);
// Polls for a message box of the process and reads it; nothing on timeout.
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, DWORD timeoutMs = kDefaultTimeoutMs);
// Presses the box's button whose text (without '&') is `buttonText`, e.g. L"Yes", L"OK".
bool PressButton(const MessageBoxInfo &box, const std::wstring &buttonText);
// Drops '&' mnemonic marks ("&&" stays one '&').
std::wstring StripMnemonic(const std::wstring &text);

// ---------------------------------------------------------------------------------------------
// Screen

// Colours are COLORREF values 0x00BBGGRR, as GetPixel returns them.
COLORREF ScreenPixel(int x, int y);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // row-major, top row first, each a COLORREF

    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool Empty() const { return pixels.empty(); }
    // Writes a 24-bit BMP file.
    bool SaveBmp(const std::wstring &path) const;
};

// The whole screen, in screen coordinates.
RECT ScreenRect();
// Copies a screen rectangle (screen coordinates) from the screen.
Image CaptureRect(const RECT &rect);
Image CaptureScreen();
// Polls until two captures of the rectangle in a row agree, so a paint in progress is not read
// half done; false when it kept changing for timeoutMs.
bool WaitForStillScreen(const RECT &rect, DWORD timeoutMs = kDefaultTimeoutMs);
// What the screen shows where the window lies (frame included); windows on top of it show too.
Image CaptureWindow(HWND window);
bool SaveScreenshot(const std::wstring &path);

// ---------------------------------------------------------------------------------------------
// Folders and packages

// The folder of the running test program (where the programs under test are built too), with a
// trailing backslash.
std::wstring ProgramFolder();
// A fresh, empty folder under the temporary directory, removed with everything in it at the end
// (kept when the environment variable SETUP_KEEP_PACKAGES is set). Names are relative to it and
// may contain subfolders ("sub\\file.txt"), made as needed.
class TempFolder {
public:
    explicit TempFolder(const std::wstring &prefix = L"setup-test");
    virtual ~TempFolder() = default;
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    // False when the folder could not be made (Error() says why).
    bool Ready() const { return error.empty(); }
    const std::wstring &Error() const { return error; }
    // The folder, without a trailing backslash.
    const std::wstring &Dir() const { return dir; }
    std::wstring PathOf(const std::wstring &name) const;

    bool WriteFile(const std::wstring &name, const std::string &bytes) const;
    bool CopyIn(const std::wstring &sourcePath, const std::wstring &name) const;
    bool MakeDir(const std::wstring &name) const;
    bool Remove(const std::wstring &name) const;
    bool FileExists(const std::wstring &name) const;
    bool DirExists(const std::wstring &name) const;
    std::optional<std::string> ReadFile(const std::wstring &name) const;
    std::optional<uint64_t> FileSize(const std::wstring &name) const;
    // Every file below the folder (not folders), relative, '\\'-separated, sorted.
    std::vector<std::wstring> Files() const;

protected:
    testsupport::ScratchFolder folder;
    std::wstring dir;
    std::wstring error;
};

// A package folder for a program run: a fresh folder holding copies of the program and of the
// library it loads, both taken from `from`. Write what the program reads into it, start the
// program, then inspect what the run left behind.
class Package : public TempFolder {
public:
    Package(const std::wstring &program, const std::wstring &library,
            const std::wstring &from = ProgramFolder());

    std::wstring ProgramPath() const { return PathOf(program); }
    // Options to start the program from this package; the working directory is the package
    // folder unless another is given.
    StartOptions ProgramOptions(const std::wstring &workingDirectory = L"") const;
    Process StartProgram(const std::wstring &workingDirectory = L"") const;

private:
    std::wstring program;
};

// Walks and deletes a folder with everything in it; true when it is gone.
using testsupport::RemoveTree;

// ---------------------------------------------------------------------------------------------
// Registry and API-call observation

// Sets a string value for the lifetime of the object and restores the previous value (or its
// absence) afterwards. `view` may be KEY_WOW64_32KEY or KEY_WOW64_64KEY.
class ScopedRegistryValue {
public:
    ScopedRegistryValue(HKEY root, const std::wstring &subKey, const std::wstring &name,
                        const std::wstring &value, REGSAM view = 0);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue &) = delete;
    ScopedRegistryValue &operator=(const ScopedRegistryValue &) = delete;
    bool Ready() const { return ready; }

private:
    HKEY root;
    std::wstring subKey;
    std::wstring name;
    REGSAM view;
    bool ready = false;
    bool hadValue = false;
    DWORD oldType = 0;
    std::vector<BYTE> oldData;
};

// Watches chosen API calls of a program through Wine's relay trace, without touching the
// program: while the object lives, HKCU\Software\Wine\Debug RelayInclude names the functions,
// and programs started with Apply()'d options trace those calls. Wine writes every started
// program's trace to the test program's own standard error, whatever handles the program got,
// so test programs run behind tests/driver/run-with-stderr-log, which keeps that stream in the
// file named by UIDRIVER_STDERR_LOG; CTest does so for every program that links ui_driver.
// Only what is logged after the object was made counts.
class RelayTrace {
public:
    // `functions`: e.g. L"user32.ExitWindowsEx" or several separated by ';'.
    explicit RelayTrace(const std::wstring &functions);
    ~RelayTrace();
    RelayTrace(const RelayTrace &) = delete;
    RelayTrace &operator=(const RelayTrace &) = delete;

    // False (Error() says why) without the log of standard error or the registry value.
    bool Ready() const { return error.empty(); }
    const std::wstring &Error() const { return error; }
    // Adds WINEDEBUG=-all,+relay to the program's environment.
    void Apply(StartOptions &options) const;
    const std::wstring &LogPath() const { return logPath; }
    // Everything logged since the object was made.
    std::string Log() const;
    // The "Call" lines of one function, e.g. "user32.ExitWindowsEx" gives lines holding
    // "Call user32.ExitWindowsEx(00000002,00000000)".
    std::vector<std::string> Calls(const std::string &function) const;
    // The argument lists of those calls, e.g. "00000002,00000000", with every argument word
    // cut to its low 32 bits so that 32- and 64-bit programs read alike.
    std::vector<std::string> CallArguments(const std::string &function) const;
    // What the program's window procedure returned each time `message` (e.g.
    // "WM_QUERYENDSESSION") reached `window`.
    std::vector<uint32_t> WindowProcResults(HWND window, const std::string &message) const;

private:
    std::vector<std::string> LinesHolding(const std::string &marker) const;
    std::wstring logPath;
    uint64_t logStart = 0;
    std::wstring error;
    std::unique_ptr<ScopedRegistryValue> include;
};

} // namespace uidriver
