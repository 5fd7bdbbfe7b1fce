// Start-menu shortcuts for the chosen components, in the current user's Programs folder.
#include "install/shortcuts.h"

#include "install/code_page.h"
#include "install/extraction.h"
#include "install/platform_fs.h"
#include "lumora/native.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

using lumora::String;

namespace {

// The current user's Start-menu Programs folder, or the empty text when the shell has none.
String ProgramsFolder()
{
    LPITEMIDLIST folder = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAMS, &folder)) || folder == nullptr)
        return String();
    String path;
    lumora::native::PathFromIDList(folder, path);
    CoTaskMemFree(folder);
    return path;
}

// The link object takes 8-bit text; a path the system code page can only approximate would
// make a link to some other file, so such a path gives no text at all.
bool ExactSystemText(const String &text, std::string &bytes)
{
    return EncodeCodePage(systemCodePage, static_cast<const wchar_t *>(text), bytes);
}

} // namespace

int CreateShortcut(const char *target, const char *linkFile, const char *workingDirectory,
                   const char *description)
{
    wchar_t wideLinkFile[MAX_PATH];
    // A name that does not fit, terminator included, would be saved cut short somewhere else.
    if (MultiByteToWideChar(CP_ACP, 0, linkFile, -1, wideLinkFile, MAX_PATH) == 0) return 0;

    HRESULT com = CoInitialize(nullptr);
    IShellLinkA *link = nullptr;
    IPersistFile *file = nullptr;
    bool saved = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void **>(&link)))) {
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
            bool filled = SUCCEEDED(link->SetPath(target)) &&
                          SUCCEEDED(link->SetWorkingDirectory(workingDirectory)) &&
                          (description == nullptr || SUCCEEDED(link->SetDescription(description)));
            if (filled) saved = SUCCEEDED(file->Save(wideLinkFile, TRUE));
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return saved ? 1 : 0;
}

void CreateStartMenuLinks(const std::vector<LinkPlan> &links, const String &destination,
                          InstallReport &report)
{
    for (const LinkPlan &link : links) {
        if (link.pathFault != ArchiveFaultKind::none) {
            report.AddFault(link.label, link.name,
                            String("the shortcut's folder, name or target would lie outside its folder (") +
                                FaultWords(link.pathFault).c_str() + "), so it is not made");
            continue;
        }
        String programs = ProgramsFolder();
        if (programs.Length() == 0) {
            report.AddFault(link.label, link.name, "the Start menu folder cannot be found");
            continue;
        }
        String folder = programs + "\\" + link.folder;
        MakeReportedDirectory(folder, report); // an existing folder is the normal case
        String linkFile = folder + "\\" + link.name;
        String target = destination + "\\" + link.target;
        if (linkFile.Length() >= MAX_PATH) {
            report.AddFault(link.label, link.name, "the shortcut's path is longer than 259 characters");
            continue;
        }
        std::string targetText, linkFileText, directoryText;
        if (!ExactSystemText(target, targetText) || !ExactSystemText(linkFile, linkFileText) ||
            !ExactSystemText(destination, directoryText)) {
            report.AddFault(link.label, link.name,
                            "the shortcut's paths hold characters the system code page cannot "
                            "write, so it is not made");
            continue;
        }
        if (CreateShortcut(targetText.c_str(), linkFileText.c_str(), directoryText.c_str(), nullptr))
            report.LinkMade(linkFile);
        else
            report.AddFault(link.label, link.name, "the Start menu shortcut cannot be created");
    }
}
