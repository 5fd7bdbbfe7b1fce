// The installation worker, the body of installThread: it reads the destination, the choices
// and setup.tsi into a plan once at its start, so later typing or ticking cannot change a
// running installation, and hands the plan to the engine.
#include "app/installation_log.h"
#include "app/setup_config.h"
#include "install/installation_worker.h"
#include "install/progress_bars.h"
#include "wizard/setup.h"

using lumora::String;

long tSetup::InstallComponents(lumora::Threads::Thread *thread)
{
    installationReport.Clear();
    const InstallationPlan plan = ReadInstallationPlan();
    if (run && run->log) run->log->PlanRead(plan);
    InstallPlan(plan, *installationBars, installationReport);
    // The last action: the wizard's wait ends as soon as the status says stopped.
    thread->Stop();
    return 0;
}

bool tSetup::IsChosen(int component) const
{
    bool *selected = component >= 1 && component <= BuiltComponentCount()
                         ? componentSelected.GetEntry(component)
                         : nullptr;
    return selected != nullptr && *selected;
}

InstallationPlan tSetup::ReadInstallationPlan() const
{
    // Only components with a check box can have been chosen.
    std::vector<bool> chosen(static_cast<size_t>(BuiltComponentCount()) + 1, false);
    for (int i = 1; i <= BuiltComponentCount(); i++) chosen[static_cast<size_t>(i)] = IsChosen(i);
    // Nobody can type during a silent run: its destination is the command line's, exactly.
    const String destination = run && run->silent ? run->destination : directoryEdit->GetText();
    return PlanInstallation(destination, chosen, !(run && run->noIcons));
}

InstallationPlan tSetup::PlanInstallation(const String &destination, const std::vector<bool> &chosen,
                                          bool makeLinks)
{
    InstallationPlan plan;
    plan.destination = destination;
    plan.componentCount = ReadSetupInt(SetupValue::installedComponentCount);
    if (plan.componentCount < 0) plan.componentCount = 0;
    for (int i = 1; i <= plan.componentCount && static_cast<size_t>(i) < chosen.size(); i++) {
        if (!chosen[static_cast<size_t>(i)]) continue;
        ComponentPlan component;
        component.number = i;
        component.label = ReadSetupValue(SetupValue::componentName, i);
        component.archive = ReadSetupValue(SetupValue::componentArchive, i);
        component.folder = ReadSetupValue(SetupValue::componentFolder, i);
        component.folderFault = FolderBelowFault(component.folder);
        plan.components.push_back(component);
    }
    // Any non-zero value asks for the one copy; the bar's share follows that one step.
    plan.copyLibrary = ReadSetupFlag(SetupValue::copyLibrary);
    if (makeLinks) plan.links = ReadLinkPlans(plan.componentCount, chosen);
    return plan;
}

std::vector<LinkPlan> tSetup::ReadLinkPlans(int componentCount, const std::vector<bool> &chosen)
{
    std::vector<LinkPlan> links;
    // Links beyond the last one described belong to no component, so a forged count costs nothing.
    const int described = HighestDescribedLink(ReadSetupKeys);
    for (int k = 1; k <= ReadSetupInt(SetupValue::linkCount) && k <= described; k++) {
        // A link belongs to one component of this run; one that names no such component has
        // nothing installed to point at and is left out.
        int component = ReadSetupInt(SetupValue::linkComponent, k);
        if (component < 1 || component > componentCount || static_cast<size_t>(component) >= chosen.size() ||
            !chosen[static_cast<size_t>(component)])
            continue;
        // A component refused for its folder installs nothing for the link to start.
        if (FolderBelowFault(ReadSetupValue(SetupValue::componentFolder, component)) !=
            ArchiveFaultKind::none)
            continue;
        LinkPlan link;
        link.label = ReadSetupValue(SetupValue::componentName, component);
        link.folder = ReadSetupValue(SetupValue::linkFolder);
        String name = ReadSetupValue(SetupValue::linkName, k);
        link.name = name + ".lnk";
        link.target = ReadSetupValue(SetupValue::linkTarget, k);
        // Only a way out of its folder is refused; a name Windows refuses simply fails.
        for (const String &path : {link.folder, name, link.target}) {
            ArchiveFaultKind fault = FolderBelowFault(path);
            if (link.pathFault == ArchiveFaultKind::none && LeavesFolder(fault)) link.pathFault = fault;
        }
        links.push_back(link);
    }
    return links;
}
