// The installation's wall-clock and processor time for the benchmark's breakdown
// (install/phase_times.h), measured around the whole installation by the thread that waits for
// it; nothing when the breakdown is not asked for.
#ifndef SETUP_INSTALL_INSTALLATION_CLOCK_H
#define SETUP_INSTALL_INSTALLATION_CLOCK_H

#include "install/phase_times.h"

#include <chrono>

class InstallationClock {
public:
    InstallationClock();
    // Writes the breakdown with the times since construction.
    void Stop();

private:
    std::chrono::steady_clock::time_point start;
    double processStart = 0;
    double threadStart = 0;
};

#endif
