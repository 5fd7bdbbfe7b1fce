// What the command line asks of one run of the wizard or of the installation without a window,
// resolved against the package before anything is shown.
#ifndef SETUP_APP_SETUP_RUN_H
#define SETUP_APP_SETUP_RUN_H

#include "lumora/string.h"

#include <vector>

class InstallationLog;

struct SetupRun {
    bool silent = false;    // only the installation display, which ends the run by itself
    bool noIcons = false;   // no Start menu links
    bool noRestart = false; // Finish never restarts Windows
    lumora::String destination;
    std::vector<bool> chosen;       // chosen[i] for component i, the required ones among them
    InstallationLog *log = nullptr; // the engine's account and the plan go there, when a log is kept
};

#endif
