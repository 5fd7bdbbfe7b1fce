// QuickMessage: a standard message box over the application's active window.
#include "lumora/dialogs.h"
#include "lumora/gui/native.h"

namespace lumora {
namespace GUI {
namespace Dialogs {

namespace {

// The predefined icon resource numbers name the message box's icon styles.
UINT IconStyle(int icon)
{
    switch (icon) {
    case 32513: // IDI_HAND
        return MB_ICONHAND;
    case 32514: // IDI_QUESTION
        return MB_ICONQUESTION;
    case 32515: // IDI_EXCLAMATION
        return MB_ICONEXCLAMATION;
    case 32516: // IDI_ASTERISK, the information icon
        return MB_ICONINFORMATION;
    default:
        return 0;
    }
}

} // namespace

int QuickMessage(const String &text, const String &caption, int buttons, int icon)
{
    HWND owner = GetActiveWindow();
    // The icon comes from its own argument; every other style of buttons (default button, ...) stays.
    UINT style = (static_cast<UINT>(buttons) & ~MB_ICONMASK) | IconStyle(icon) | MB_SETFOREGROUND;
    return native::ShowMessageBox(owner, text, caption, style);
}

} // namespace Dialogs
} // namespace GUI
} // namespace lumora
