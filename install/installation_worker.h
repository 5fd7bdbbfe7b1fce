// The installation itself: the plan's components into the destination, the library copy and
// the Start menu links, with the progress on the two bars.
#ifndef SETUP_INSTALL_INSTALLATION_WORKER_H
#define SETUP_INSTALL_INSTALLATION_WORKER_H

#include "install/install_report.h"
#include "install/installation_plan.h"
#include "install/progress.h"

// Everything the plan names that could not be done is in report afterwards; nothing is ever
// written outside the destination, but for the links in the Start menu's Programs folder.
void InstallPlan(const InstallationPlan &plan, InstallProgress &progress, InstallReport &report);

#endif
