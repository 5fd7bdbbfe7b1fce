// The total bar's arithmetic: each component's share of the bar, and the library copy's.
#ifndef SETUP_INSTALL_TOTAL_PROGRESS_H
#define SETUP_INSTALL_TOTAL_PROGRESS_H

// The total bar after component `component` (1..componentCount, its number among all
// components, selected or not); copyLibrary is 1 when the DLL copy follows, else 0:
// trunc(100/(N+c) * (i-1) + 100/(N+c)), evaluated in double precision in that order, so
// N = 23 ends at 99 and N = 36 shows 74 after component 27.
int TotalProgressAfterComponent(int component, int componentCount, int copyLibrary);

// The total bar while the DLL is copied, p the copy's own percentage:
// trunc(100/(N+1) * N + p/(N+1)) in double precision.
int TotalProgressDuringCopy(int percent, int componentCount);

#endif
