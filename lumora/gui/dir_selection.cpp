// DirSelection: the shell's folder browser.
#include "lumora/dialogs.h"
#include "lumora/process.h"

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
    if (Setup::enableUnicode) {
        BROWSEINFOW browse = {};
        browse.hwndOwner = owner;
        browse.lpszTitle = static_cast<const wchar_t *>(caption);
        browse.ulFlags = flags;
        if (LPITEMIDLIST chosen = SHBrowseForFolderW(&browse)) {
            wchar_t path[MAX_PATH] = L"";
            if (SHGetPathFromIDListW(chosen, path)) {
                dirName = String(path);
                result = 1;
            }
            CoTaskMemFree(chosen);
        }
    } else {
        BROWSEINFOA browse = {};
        browse.hwndOwner = owner;
        browse.lpszTitle = static_cast<const char *>(caption);
        browse.ulFlags = flags;
        if (LPITEMIDLIST chosen = SHBrowseForFolderA(&browse)) {
            char path[MAX_PATH] = "";
            if (SHGetPathFromIDListA(chosen, path)) {
                dirName = String(path);
                result = 1;
            }
            CoTaskMemFree(chosen);
        }
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
