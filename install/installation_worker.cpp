// The installation worker: the body of the wizard's install thread. It extracts the chosen
// components into the destination, copies the library when asked, makes the shortcuts and
// then marks its thread stopped, which ends the wizard's wait.
#include "app/setup_config.h"
#include "install/extraction.h"
#include "install/platform_fs.h"
#include "wizard/setup.h"

#include <windows.h>

using lumora::String;
using lumora::GUI::Progressbar;

namespace {

// The engine's progress, shown on the wizard's two bars. Every bar change is a message to
// the window's thread and a repaint; thousands of small files would flick the file bar from
// 0 to 100 faster than anyone can see, at the cost of the installation itself. So the file
// bar takes at most one new value per refresh interval; the total bar, which changes once
// per component, takes every value.
class ProgressBars : public InstallProgress {
public:
    ProgressBars(Progressbar *fileBar, Progressbar *totalBar) : fileBar(fileBar), totalBar(totalBar) {}
    void SetFileProgress(int percent) override
    {
        DWORD now = GetTickCount();
        if (percent == fileShown || (fileShownAt != 0 && now - fileShownAt < refreshMilliseconds)) return;
        fileBar->SetValue(percent);
        fileShown = percent;
        fileShownAt = now == 0 ? 1 : now;
    }
    void SetTotalProgress(int percent) override { totalBar->SetValue(percent); }

private:
    static const DWORD refreshMilliseconds = 15;
    Progressbar *fileBar;
    Progressbar *totalBar;
    int fileShown = -1;
    DWORD fileShownAt = 0;
};

bool IsSeparator(wchar_t character)
{
    return character == L'\\' || character == L'/';
}

// Makes every missing level of path, so a destination below a folder that does not exist
// yet still works. True when path is a directory afterwards.
bool MakeDirectoryPath(const String &path)
{
    String level;
    for (int i = 0; i < path.Length(); i++) {
        if (IsSeparator(path[i]) && level.Length() > 0) MakeDirectory(level);
        wchar_t character[] = {path[i], 0};
        level.Append(character);
    }
    MakeDirectory(path);
    return IsDirectory(path);
}

} // namespace

long tSetup::InstallComponents(lumora::Threads::Thread *thread)
{
    installationReport.Clear();
    // The destination is read once, so typing cannot move a running installation.
    const String destination = directoryEdit->GetText();
    int componentCount = ReadSetupValue("Component Setup", "NumberOfComponents", "0").ToInt();
    if (componentCount < 0) componentCount = 0;
    installComponentCount = componentCount;
    ProgressBars progress(fileProgress, totalProgress);

    if (destination.Length() == 0) {
        // An empty destination would put the files in the root of the current drive.
        installationReport.AddFault("Setup", "",
                                    "no destination directory was given, so nothing was installed");
    } else if (!MakeDirectoryPath(destination)) {
        installationReport.AddFault("Setup", destination,
                                    "the destination directory cannot be made, so nothing was installed");
    } else {
        // Any non-zero value asks for the one copy; the bar's share follows that one step.
        const int copyLibrary = ReadSetupValue("Component Setup", "CopyLUMORA", "0").ToInt() != 0 ? 1 : 0;
        for (int i = 1; i <= componentCount; i++) {
            bool *selected = componentSelected.GetEntry(i);
            if (selected == nullptr || !*selected) continue;

            String number = String::FromInt(i);
            String label = ReadSetupValue("Component Setup", number, "Main program");
            String subdirectory = ReadSetupValue("Component Subdirs", number, ".");
            String target = destination + "\\" + subdirectory;
            if (subdirectory != "." && !MakeDirectoryPath(target)) {
                installationReport.AddFault(label, target, "the component's folder cannot be made");
            } else {
                ExtractArchive(ReadSetupValue("Component Files", number, "data.tsa"), target, progress,
                               installationReport, label);
            }
            progress.SetTotalProgress(TotalProgressAfterComponent(i, componentCount, copyLibrary));
        }
        if (ReadSetupValue("Component Setup", "CopyLUMORA", "0").ToInt() != 0)
            CopyLibrary("lumora.dll", destination, componentCount, progress, installationReport);
        CreateStartMenuLinks(destination);
    }

    // The last action: the wizard's wait ends as soon as the status says stopped.
    thread->Stop();
    return 0;
}
