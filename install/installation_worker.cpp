// The installation worker: the body of the wizard's install thread. It extracts the chosen
// components into the destination, copies the library when asked, makes the shortcuts and
// then marks its thread stopped, which ends the wizard's wait.
#include "app/setup_config.h"
#include "install/extraction.h"
#include "install/platform_fs.h"
#include "install/progress_bars.h"
#include "wizard/setup.h"

#include <windows.h>

#include <algorithm>
#include <set>

using lumora::String;

namespace {

// Every missing level is made, so a destination below a folder that does not exist yet still
// works. True when path is a directory afterwards.
bool MakeDirectoryPath(const String &path)
{
    MakeDirectoryLevels(path + "\\");
    return IsDirectory(path);
}

} // namespace

// Components beyond the page's rows were announced before the installation; a required one
// among them is missing all the same, and the installation must not pass for complete.
void tSetup::ReportComponentsNotOffered(int packageCount)
{
    if (packageCount <= mostOfferedComponents) return;
    std::set<int> reported;
    // Only the keys the file holds are looked at, so a forged count costs nothing.
    for (const String &key : ReadSetupKeys("Component Config")) {
        int number = key.ToInt();
        if (number <= mostOfferedComponents || number > packageCount || String::FromInt(number) != key)
            continue;
        if (ReadSetupValue("Component Config", key, "default").CompareN("required", 8) != 0) continue;
        if (!reported.insert(number).second) continue;
        installationReport.AddFault(ReadSetupValue("Component Setup", key, "Main program"), "",
                                    String("the component is required, but Setup can offer only the first ") +
                                        String::FromInt(mostOfferedComponents) + " components");
    }
}

long tSetup::InstallComponents(lumora::Threads::Thread *thread)
{
    installationReport.Clear();
    // The destination is read once, so typing cannot move a running installation.
    const String destination = directoryEdit->GetText();
    int packageCount = ReadSetupValue("Component Setup", "NumberOfComponents", "0").ToInt();
    if (packageCount < 0) packageCount = 0;
    // Only what the Components page could offer is installed, and the bars count only that.
    const int componentCount = std::min(packageCount, mostOfferedComponents);
    installComponentCount = componentCount;
    ProgressBars &progress = *installationBars;

    if (destination.Length() == 0) {
        // An empty destination would put the files in the root of the current drive.
        installationReport.AddFault("Setup", "",
                                    "no destination directory was given, so nothing was installed");
    } else if (!MakeDirectoryPath(destination)) {
        installationReport.AddFault("Setup", destination,
                                    "the destination directory cannot be made, so nothing was installed");
    } else {
        // Any non-zero value asks for the one copy; the bar's share follows that one step.
        ReportComponentsNotOffered(packageCount);
        const bool copyLibrary = ReadSetupValue("Component Setup", "CopyLUMORA", "0").ToInt() != 0;
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
            progress.SetTotalProgress(TotalProgressAfterComponent(i, componentCount, copyLibrary ? 1 : 0));
        }
        if (copyLibrary) CopyLibrary("lumora.dll", destination, componentCount, progress, installationReport);
        CreateStartMenuLinks(destination);
    }

    // The last action: the wizard's wait ends as soon as the status says stopped.
    thread->Stop();
    return 0;
}
