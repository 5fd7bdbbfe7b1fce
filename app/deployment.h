// A run with switches on its command line, as a deployment tool starts Setup: the same checks,
// wizard and engine as a run without them, but told by the switches what to install and how
// much to show, answered with an exit code of app/exit_codes.h and, when asked, a log.
#ifndef SETUP_APP_DEPLOYMENT_H
#define SETUP_APP_DEPLOYMENT_H

#include "app/command_line.h"

// Called once the library is started; returns the exit code.
int RunWithSwitches(const SetupSwitches &switches);

#endif
