// Where an installation's time goes, for the installation benchmark. Collected only when the
// environment variable SETUP_PHASE_TIMES names a file; the breakdown is then written to that
// file once the installation has ended. Otherwise every clock here is a single test of a flag,
// and nothing is written anywhere.
#ifndef SETUP_INSTALL_PHASE_TIMES_H
#define SETUP_INSTALL_PHASE_TIMES_H

#include "lumora/string.h"

#include <chrono>
#include <cstdint>

enum class Phase {
    storePacked,  // the group's compressed bytes copied into "buffer.temp"
    inflate,      // bzip2 decompression itself
    inflateRead,  // reading "buffer.temp" back
    inflateWrite, // writing "data.temp"
    folders,      // making the entries' folder levels
    fileCreate,   // creating each output file
    fileCopy,     // reading "data.temp" and writing the file's bytes
    fileClose,    // closing each output file
    bars,         // the worker's bar updates, also counted in the phases they happen in
    waitPeek,     // the window thread's PeekMessage calls while it waits
    waitDispatch, // the window thread's Translate and Dispatch calls
    waitOther,    // the rest of the waiting loop: the status and the held bar value
    count
};

enum class Tally {
    files,
    folderCalls,   // folder levels handed to the system
    fileBarValues, // values the worker gave the file bar
    waitPasses,    // passes of the waiting loop
    messages,      // messages the waiting loop dispatched
    count
};

namespace PhaseTimes {

// True when SETUP_PHASE_TIMES is set; read once.
bool Enabled();
void Add(Phase phase, std::chrono::steady_clock::duration spent);
void Count(Tally tally, int64_t amount = 1);
// Forgets what was collected; the start of an installation.
void Reset();
// Writes the breakdown into the file SETUP_PHASE_TIMES names: every phase in milliseconds with the
// tallies, and the wall-clock and processor seconds the caller measured.
void Write(double wallSeconds, double processSeconds, double waitThreadSeconds);

} // namespace PhaseTimes

// Adds the time from its construction to its end to a phase, when collection is on; Switch
// closes one phase and opens the next, so consecutive steps need one clock.
class PhaseClock {
public:
    explicit PhaseClock(Phase phase) : phase(phase), start(Now()) {}
    ~PhaseClock() { Switch(phase); }
    PhaseClock(const PhaseClock &) = delete;
    PhaseClock &operator=(const PhaseClock &) = delete;

    void Switch(Phase next)
    {
        if (!PhaseTimes::Enabled()) return;
        std::chrono::steady_clock::time_point now = Now();
        PhaseTimes::Add(phase, now - start);
        phase = next;
        start = now;
    }

private:
    static std::chrono::steady_clock::time_point Now()
    {
        return PhaseTimes::Enabled() ? std::chrono::steady_clock::now()
                                     : std::chrono::steady_clock::time_point();
    }

    Phase phase;
    std::chrono::steady_clock::time_point start;
};

#endif
