// DirSelection: the shell's folder browser.
#include "lumora/dialogs.h"
#include "lumora/gui/native.h"

#include <shlobj.h>

namespace lumora {
namespace GUI {
namespace Dialogs {

DirSelection::DirSelection() = default;

int DirSelection::SetParentWindow(Window *newParent)
{
    parent = newParent;
    return 0;
}

int DirSelection::SetCaption(const String &newCaption)
{
    caption = newCaption;
    return 0;
}

int DirSelection::ShowDialog()
{
    // The folder browser needs COM on this thread; each successful initialisation is undone once.
    HRESULT com = CoInitialize(nullptr);
    HWND owner = parent ? parent->GetSystemWindow() : GetActiveWindow();
    UINT flags = BIF_RETURNONLYFSDIRS;
    int result = 0;
    if (LPITEMIDLIST chosen = native::BrowseForFolder(owner, caption, flags)) {
        String path;
        if (native::PathFromIDList(chosen, path)) {
            dirName = path;
            result = 1;
        }
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return result;
}

String DirSelection::GetDirName() const
{
    return dirName;
}

} // namespace Dialogs
} // namespace GUI
} // namespace lumora
