// Message boxes and the folder dialog.
#ifndef LUMORA_DIALOGS_H
#define LUMORA_DIALOGS_H

#include "lumora/api.h"
#include "lumora/string.h"
#include "lumora/window.h"

namespace lumora {
namespace GUI {
namespace Dialogs {

// buttons: MB_OK, MB_OKCANCEL, MB_YESNO, ...; icon: a predefined icon resource number
// (32513 hand, 32514 question, 32515 exclamation, 32516 information) or 0 for none.
// Returns the button pressed (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7). The box is modal to the
// application's active window.
LUMORA_API int QuickMessage(const String &text, const String &caption, int buttons, int icon);

class LUMORA_API DirSelection {
public:
    DirSelection();
    int SetParentWindow(Window *parent);
    int SetCaption(const String &caption);
    // 1 when the user chose a folder, 0 when the dialog was cancelled.
    int ShowDialog();
    // The chosen folder, without a trailing separator except for a drive's root.
    String GetDirName() const;

private:
    Window *parent = nullptr;
    String caption;
    String dirName;
};

} // namespace Dialogs
} // namespace GUI
} // namespace lumora

#endif
