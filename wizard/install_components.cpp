// The installation worker, the body of installThread: it reads the destination, the choices
// and setup.tsi into a plan once at its start, so later typing or ticking cannot change a
// running installation, and hands the plan to the engine.
#include "install/installation_log.h"
#include "package/plan_reader.h"
#include "windows/progress_bars.h"
#include "windows/removal_registration.h"
#include "windows/setup_config.h"
#include "wizard/setup.h"

using lumora::String;

long tSetup::InstallComponents(lumora::Threads::Thread *thread)
{
    installationReport.Clear();
    const InstallationPlan plan = ReadInstallationPlan();
    if (run && run->log) run->log->PlanRead(plan);
    InstallPackagePlan(plan, *installationBars, installationReport);
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
    const int offered = chosen.empty() ? 0 : static_cast<int>(chosen.size()) - 1;
    InstallationPlan plan =
        ::ReadInstallationPlan(ProgramSetup(), destination, offered,
                               [&chosen](int component) { return chosen[static_cast<size_t>(component)]; });
    // A run asked for no links makes none, and leaves none out for a reason of the package's.
    if (!makeLinks) {
        plan.links.clear();
        plan.linksLeftOut.clear();
    }
    return plan;
}
