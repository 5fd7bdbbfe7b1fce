// The installation plan read from setup.tsi and the user's choices: which components are
// installed from which archive into which folder, whether the library is copied, and which
// Start menu links are made where. setup.exe executes this plan and `tsa check` judges the same
// one, so what the check promises is what the installation does.
#ifndef SETUP_PACKAGE_PLAN_READER_H
#define SETUP_PACKAGE_PLAN_READER_H

#include "install/installation_plan.h"
#include "package/setup_file.h"

#include <functional>

// offered: the components the wizard offers (its check boxes); chosen(i), for i from 1 to
// offered, whether component i is ticked. Values that would have Setup write outside their
// folder, or under a name Windows does not allow, are refused in the plan with the reason.
InstallationPlan ReadInstallationPlan(SetupFile &file, const lumora::String &destination, int offered,
                                      const std::function<bool(int)> &chosen);

// Whether the component count the wizard offers is one no package means (package/setup_rules.h);
// count and highestDescribed receive the count and the highest component the keys describe.
bool HasDamagedComponentCount(SetupFile &file, int &count, int &highestDescribed);

#endif
