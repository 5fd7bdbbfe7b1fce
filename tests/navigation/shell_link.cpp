#include "tests/navigation/shell_link.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace navtest {

std::optional<LinkContents> ReadLink(const std::wstring &path)
{
    CoInitialize(nullptr);
    std::optional<LinkContents> contents;
    IShellLinkA *link = nullptr;
    IPersistFile *file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void **>(&link)))) {
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
            if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
                char target[MAX_PATH] = {}, directory[MAX_PATH] = {}, description[MAX_PATH] = {};
                link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
                link->GetWorkingDirectory(directory, MAX_PATH);
                link->GetDescription(description, MAX_PATH);
                contents = LinkContents{target, directory, description};
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return contents;
}

} // namespace navtest
