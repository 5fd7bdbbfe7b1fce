// The installation worker's work: the chosen components into the destination, the library
// copy when asked, then the shortcuts.
#include "install/installation_worker.h"

#include "install/extraction.h"
#include "install/platform_fs.h"
#include "install/shortcuts.h"

using lumora::String;

namespace {

// Every missing level is made, so a destination below a folder that does not exist yet still
// works. True when path is a directory afterwards.
bool MakeDirectoryPath(const String &path, InstallReport &report)
{
    FolderLevels levels([&report](const String &level) { return MakeReportedDirectory(level, report); });
    levels.MakeFor(path + "\\", 0);
    return IsDirectory(path);
}

void InstallComponent(const ComponentPlan &component, const String &destination, InstallProgress &progress,
                      InstallReport &report)
{
    String target = destination + "\\" + component.folder;
    report.PhaseStarted(String("Component ") + String::FromInt(component.number) + " (" + component.label +
                        "): " + component.archive + " into " +
                        (component.folder == "." ? destination : target));
    if (component.folderFault != ArchiveFaultKind::none) {
        report.AddFault(component.label, component.folder,
                        String("the component's folder would lie outside the destination (") +
                            FaultWords(component.folderFault).c_str() + "), so it is not installed");
    } else if (component.folder != "." && !MakeDirectoryPath(target, report)) {
        report.AddFault(component.label, target, "the component's folder cannot be made");
    } else {
        ExtractArchive(component.archive, target, progress, report, component.label);
    }
}

} // namespace

void InstallPlan(const InstallationPlan &plan, InstallProgress &progress, InstallReport &report)
{
    if (plan.destination.Length() == 0) {
        // An empty destination would put the files in the root of the current drive.
        report.AddFault("Setup", "", "no destination directory was given, so nothing was installed");
        return;
    }
    if (!MakeDirectoryPath(plan.destination, report)) {
        report.AddFault("Setup", plan.destination,
                        "the destination directory cannot be made, so nothing was installed");
        return;
    }
    const int copyShare = plan.copyLibrary ? 1 : 0;
    for (const ComponentPlan &component : plan.components) {
        InstallComponent(component, plan.destination, progress, report);
        progress.SetTotalProgress(
            TotalProgressAfterComponent(component.number, plan.componentCount, copyShare));
    }
    if (plan.copyLibrary) {
        report.PhaseStarted(String("The library lumora.dll into ") + plan.destination);
        CopyLibrary("lumora.dll", plan.destination, plan.componentCount, progress, report);
    }
    if (!plan.links.empty()) report.PhaseStarted("Start menu shortcuts");
    CreateStartMenuLinks(plan.links, plan.destination, report);
    // The formulas truncate a sum of rounded shares, so a whole run can end a step below 100
    // (36 components end at 99); a run whose last step was the last one, and that lacks
    // nothing, ends at 100 instead of reading as not quite done.
    const bool lastStepDone = plan.copyLibrary || (!plan.components.empty() &&
                                                   plan.components.back().number == plan.componentCount);
    if (lastStepDone && report.IsEmpty()) progress.SetTotalProgress(100);
}
