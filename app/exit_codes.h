// What Setup tells whoever started it, once any switch is on its command line. A run without
// switches keeps its own codes (0, or -1 when the user declined at the library warning).
#ifndef SETUP_APP_EXIT_CODES_H
#define SETUP_APP_EXIT_CODES_H

namespace exitCode {

const int complete = 0;
const int couldNotStart = 1; // a bad command line, a missing or damaged package, a refused library, no log
const int cancelled = 2;     // by the user, before anything was installed
const int incomplete = 4;    // a file, folder or link could not be made
const int restartNeeded = 3010;

} // namespace exitCode

// How a run that got as far as the wizard or the installation ended.
struct RunOutcome {
    bool installed = false;      // the installation ran to its end
    bool faults = false;         // and could not make everything
    bool finished = false;       // the wizard ended through Finish (or no window: the run's own end)
    bool restartWanted = false;  // the package asks for a restart after installing (its Reboot page)
    bool restartStarted = false; // and Windows was asked to restart
};

// The code for an outcome: an incomplete installation says so before anything else, since a
// restart cannot mend it; one that never ran was cancelled unless the wizard had nothing to install.
inline int ExitCodeOf(const RunOutcome &outcome)
{
    if (!outcome.installed) return outcome.finished ? exitCode::complete : exitCode::cancelled;
    if (outcome.faults) return exitCode::incomplete;
    if (outcome.restartWanted && !outcome.restartStarted) return exitCode::restartNeeded;
    return exitCode::complete;
}

#endif
