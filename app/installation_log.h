// The installation engine's account of what it makes and cannot make, written into the run's log
// as it happens: each phase, folder, file with its size, link, and each fault in the words of
// the notice.
#ifndef SETUP_APP_INSTALLATION_LOG_H
#define SETUP_APP_INSTALLATION_LOG_H

#include "app/setup_log.h"
#include "install/install_report.h"
#include "install/installation_plan.h"

class InstallationLog : public InstallObserver {
public:
    explicit InstallationLog(SetupLog &log) : log(log) {}

    // What the installation is about to do: the destination, the components, the library copy
    // and the links.
    void PlanRead(const InstallationPlan &plan);

    void PhaseStarted(const lumora::String &what) override;
    void FolderMade(const lumora::String &path) override;
    void FileWritten(const lumora::String &path, int64_t size) override;
    void LinkMade(const lumora::String &path) override;
    void FaultAdded(const InstallFault &fault) override;

private:
    SetupLog &log;
};

// Wide text of the library's string, as the log takes it.
std::wstring WideText(const lumora::String &text);

#endif
