// The installation itself: the plan's components into the destination, the library copy and
// the links, with the progress on the two bars.
#ifndef SETUP_INSTALL_INSTALLATION_WORKER_H
#define SETUP_INSTALL_INSTALLATION_WORKER_H

#include "install/install_report.h"
#include "install/installation_plan.h"
#include "install/progress.h"

#include <functional>
#include <vector>

// Makes the plan's links, each that cannot be made in the report: on Windows in the Start
// menu (windows/shortcuts.h).
using LinkMaker = std::function<void(const std::vector<LinkPlan> &links, const lumora::String &destination,
                                     InstallReport &report)>;

// Everything the plan names that could not be done is in report afterwards; nothing is ever
// written outside the destination, but for what makeLinks writes.
void InstallPlan(const InstallationPlan &plan, InstallProgress &progress, InstallReport &report,
                 const LinkMaker &makeLinks);

#endif
