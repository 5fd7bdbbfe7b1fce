// Start-up parameters, the character width, the window classes and the message loop.
#include "lumora/process.h"

#include "lumora/application.h"
#include "lumora/gui/native.h"
#include "lumora/gui/session.h"
#include "lumora/scroll_layer.h"
#include "lumora/widgets.h"
#include "lumora/window.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace lumora {

HINSTANCE hInstance = nullptr;
HINSTANCE hPrevInstance = nullptr;
String szCmdLine;
int iCmdShow = SW_SHOWNORMAL;

bool Setup::enableUnicode = true;

namespace {

std::vector<Application *> applications;
int loopDepth = 0;
bool loopEndRequested = false;
bool initialised = false;

bool ForcedAnsi()
{
    char value[8] = "";
    DWORD length = GetEnvironmentVariableA("LUMORA_ANSI", value, sizeof value);
    return length == 1 && value[0] == '1';
}

// The program's own icon (its first icon group) for the library's windows, else the system's.
HICON ProgramIcon()
{
    const int applicationIcon = 32512; // IDI_APPLICATION
    HICON icon = native::FirstIcon(native::ProgramModule());
    return icon ? icon : native::LoadIconById(nullptr, applicationIcon);
}

bool AnyLiveWindow()
{
    return std::any_of(applications.begin(), applications.end(),
                       [](const Application *application) { return application->GetNOfLiveWindows() > 0; });
}

void ShowRegisteredWindows()
{
    for (Application *application : applications)
        for (int i = 0; i < application->GetNOfObjects(); i++)
            if (GUI::Window *window = dynamic_cast<GUI::Window *>(application->GetNthObject(i)))
                if (window->IsVisible()) window->ApplyVisibility();
}

// Tab and arrow keys move between the controls of the library's windows, Enter and Esc press
// their default and cancel buttons, as in a dialog.
bool IsNavigationMessage(MSG &message)
{
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    HWND top = GetAncestor(message.hwnd, GA_ROOT);
    if (!dynamic_cast<GUI::Window *>(native::WidgetOf(top))) return false;
    // Wherever the focus stands: a multi-line edit box would take Esc for closing the window.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        native::Send(top, WM_COMMAND, IDCANCEL, 0);
        return true;
    }
    if (auto *list = dynamic_cast<GUI::ScrollLayer *>(native::WidgetOf(GetParent(message.hwnd))))
        if (list->HandleArrowKey(message)) return true;
    return native::HandleDialogKey(top, message);
}

} // namespace

namespace session {

void AddApplication(Application *application)
{
    applications.push_back(application);
}

void RemoveApplication(Application *application)
{
    applications.erase(std::remove(applications.begin(), applications.end(), application),
                       applications.end());
}

bool LoopRunning()
{
    return loopDepth > 0;
}

void RequestLoopEnd()
{
    loopEndRequested = true;
}

void WakeLoop()
{
    native::PostToThread(GetCurrentThreadId(), WM_NULL, 0, 0);
}

} // namespace session

int Init()
{
    if (initialised) return 0;
    // The NT family (Windows NT, 2000, XP and later) has the wide functions everywhere.
    Setup::enableUnicode = (GetVersion() & 0x80000000u) == 0 && !ForcedAnsi();

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    HBRUSH face = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    if (!native::RegisterClass(native::windowClassName, GUI::Window::WindowProcedure, face, ProgramIcon()) ||
        !native::RegisterClass(native::titlebarClassName, GUI::Titlebar::WindowProcedure, nullptr, nullptr)) {
        native::UnregisterClass(native::windowClassName);
        return 1;
    }
    initialised = true;
    return 0;
}

int Loop()
{
    loopDepth++;
    ShowRegisteredWindows();
    int result = 0;
    MSG message;
    // The end conditions are checked before every wait: a quit message swallowed by another
    // message pump, or windows closed meanwhile, must not leave the loop waiting forever.
    while (!loopEndRequested && AnyLiveWindow()) {
        BOOL got = native::GetNextMessage(message);
        if (got == 0) {
            result = static_cast<int>(message.wParam);
            break;
        }
        if (got == -1) {
            result = -1;
            break;
        }
        if (IsNavigationMessage(message)) continue;
        TranslateMessage(&message);
        native::Dispatch(message);
    }
    // The quit message that ended this loop has been served; a later loop or message box must not see it.
    if (loopEndRequested) native::Peek(message, WM_QUIT, WM_QUIT);
    loopEndRequested = false;
    loopDepth--;
    return result;
}

int Free()
{
    if (!initialised) return 0;
    native::UnregisterClass(native::titlebarClassName);
    native::UnregisterClass(native::windowClassName);
    native::ReleaseFonts();
    initialised = false;
    return 0;
}

} // namespace lumora
