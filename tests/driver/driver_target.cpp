// A plain Win32 program for the UI driver's self-tests: one control of each kind the driver
// reads or acts on, message boxes with each system icon, and a few command-line switches.
//
//   --title=TEXT   window title (default "Driver Target")
//   --reboot       calls ExitWindowsEx(EWX_REBOOT, 0) and exits with its result, no window
//   --exit=N       exits with code N at once, no window
//   --complain     writes "complaint" to its standard error handle first
//   --record       writes the command line's arguments to "target-started.txt" in the working
//                  directory
// Exit codes: the message box answer for "Quit?", 10 when the window is closed.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>

namespace {

enum ControlId {
    kPressButton = 100,
    kClicksText,
    kNameEdit,
    kFixedEdit,
    kRememberCheck,
    kOptionA,
    kOptionB,
    kProgress,
    kQuitButton,
    kInformationButton,
    kWarningButton,
    kErrorButton,
    kHangButton,
    kDisabledButton,
    kHiddenButton,
};

// The window's own background, which tests read back from the screen.
const COLORREF kBackground = RGB(10, 120, 200);
const UINT_PTR kProgressTimer = 1;

int clicks = 0;
int progress = 0;

HWND Make(HWND parent, const wchar_t *className, const wchar_t *text, DWORD style, int x, int y, int width,
          int height, int id)
{
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
}

void BuildControls(HWND window)
{
    Make(window, L"Button", L"Press me", BS_PUSHBUTTON, 10, 10, 100, 25, kPressButton);
    Make(window, L"Static", L"Clicks: 0", 0, 120, 14, 100, 20, kClicksText);
    Make(window, L"Edit", L"", WS_BORDER | ES_AUTOHSCROLL, 10, 45, 200, 22, kNameEdit);
    Make(window, L"Edit", L"fixed text", WS_BORDER | ES_READONLY, 220, 45, 150, 22, kFixedEdit);
    Make(window, L"Button", L"Remember", BS_AUTOCHECKBOX, 10, 75, 120, 20, kRememberCheck);
    Make(window, L"Button", L"Option A", BS_AUTORADIOBUTTON | WS_GROUP, 10, 100, 100, 20, kOptionA);
    Make(window, L"Button", L"Option B", BS_AUTORADIOBUTTON, 120, 100, 100, 20, kOptionB);
    CheckRadioButton(window, kOptionA, kOptionB, kOptionA);
    Make(window, PROGRESS_CLASSW, L"", 0, 10, 130, 300, 18, kProgress);
    Make(window, L"Button", L"Quit?", BS_PUSHBUTTON, 10, 160, 80, 25, kQuitButton);
    Make(window, L"Button", L"Information", BS_PUSHBUTTON, 100, 160, 80, 25, kInformationButton);
    Make(window, L"Button", L"Warning", BS_PUSHBUTTON, 190, 160, 80, 25, kWarningButton);
    Make(window, L"Button", L"Error", BS_PUSHBUTTON, 280, 160, 80, 25, kErrorButton);
    Make(window, L"Button", L"Hang", BS_PUSHBUTTON, 10, 195, 80, 25, kHangButton);
    Make(window, L"Button", L"Disabled", BS_PUSHBUTTON | WS_DISABLED, 100, 195, 80, 25, kDisabledButton);
    HWND hidden = Make(window, L"Button", L"Hidden", BS_PUSHBUTTON, 190, 195, 80, 25, kHiddenButton);
    ShowWindow(hidden, SW_HIDE);
}

void OnCommand(HWND window, int id)
{
    switch (id) {
    // The disabled and the hidden button count too, so a click that reached them would show.
    case kDisabledButton:
    case kHiddenButton:
    case kPressButton: {
        std::wstring text = L"Clicks: " + std::to_wstring(++clicks);
        SetDlgItemTextW(window, kClicksText, text.c_str());
        break;
    }
    case kQuitButton: {
        int answer = MessageBoxW(window, L"Do you want to quit?", L"Question", MB_YESNO | MB_ICONQUESTION);
        DestroyWindow(window);
        PostQuitMessage(answer);
        break;
    }
    case kInformationButton:
        MessageBoxW(window, L"Just so you know.", L"Information", MB_OK | MB_ICONINFORMATION);
        break;
    case kWarningButton:
        MessageBoxW(window, L"Careful now.", L"Warning", MB_OKCANCEL | MB_ICONWARNING);
        break;
    case kErrorButton:
        MessageBoxW(window, L"Something failed.", L"Error", MB_OK | MB_ICONERROR);
        break;
    case kHangButton:
        // Stops answering messages for a while, as a hung program would.
        Sleep(8000);
        break;
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        BuildControls(window);
        SetTimer(window, kProgressTimer, 50, nullptr);
        return 0;
    case WM_TIMER:
        progress = (progress + 5) % 105;
        SendDlgItemMessageW(window, kProgress, PBM_SETPOS, progress, 0);
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        PostQuitMessage(10);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring Option(const std::wstring &commandLine, const std::wstring &name)
{
    size_t at = commandLine.find(name);
    if (at == std::wstring::npos) return L"";
    size_t start = at + name.size();
    size_t end = commandLine.find(L' ', start);
    return commandLine.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

void RecordStart(const std::wstring &arguments)
{
    HANDLE file = CreateFileW(L"target-started.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string narrow(arguments.begin(), arguments.end());
    DWORD written = 0;
    WriteFile(file, narrow.data(), static_cast<DWORD>(narrow.size()), &written, nullptr);
    CloseHandle(file);
}

// The arguments behind the (possibly quoted) program name.
std::wstring Arguments()
{
    std::wstring line = GetCommandLineW();
    size_t end = line[0] == L'"' ? line.find(L'"', 1) : line.find(L' ');
    if (end == std::wstring::npos) return L"";
    size_t start = line.find_first_not_of(L' ', end + 1);
    return start == std::wstring::npos ? L"" : line.substr(start);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    std::wstring arguments = Arguments();
    if (arguments.find(L"--record") != std::wstring::npos) RecordStart(arguments);
    if (arguments.find(L"--complain") != std::wstring::npos) {
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), "complaint", 9, &written, nullptr);
    }
    if (arguments.find(L"--reboot") != std::wstring::npos) return ExitWindowsEx(EWX_REBOOT, 0) ? 1 : 0;
    std::wstring exitCode = Option(arguments, L"--exit=");
    if (!exitCode.empty()) return static_cast<int>(wcstoul(exitCode.c_str(), nullptr, 10));

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = CreateSolidBrush(kBackground);
    windowClass.lpszClassName = L"DriverTarget";
    RegisterClassW(&windowClass);

    std::wstring title = Option(arguments, L"--title=");
    if (title.empty()) title = L"Driver Target";
    HWND window = CreateWindowExW(0, L"DriverTarget", title.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                  100, 100, 420, 280, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
