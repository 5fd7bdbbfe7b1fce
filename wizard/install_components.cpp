// The installation worker, the body of installThread: it reads the destination, the choices
// and setup.tsi into a plan once at its start, so later typing or ticking cannot change a
// running installation, and hands the plan to the engine.
#include "install/installation_worker.h"
#include "package/plan_reader.h"
#include "windows/progress_bars.h"
#include "windows/setup_config.h"
#include "windows/shortcuts.h"
#include "wizard/setup.h"

long tSetup::InstallComponents(lumora::Threads::Thread *thread)
{
    installationReport.Clear();
    InstallPlan(ReadInstallationPlan(), *installationBars, installationReport, CreateStartMenuLinks);
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
    return ::ReadInstallationPlan(ProgramSetup(), directoryEdit->GetText(), BuiltComponentCount(),
                                  [this](int component) { return IsChosen(component); });
}
