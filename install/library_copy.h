// The copy of the library DLL into the destination, after the components, with progress.
#ifndef SETUP_INSTALL_LIBRARY_COPY_H
#define SETUP_INSTALL_LIBRARY_COPY_H

#include "install/install_report.h"
#include "install/progress.h"
#include "lumora/string.h"

// Copies sourceName (e.g. "lumora.dll", from the current directory) to
// destinationDir + "\" + sourceName. At each new integer percentage p of the copy it sets
// the file bar to p and the total bar to TotalProgressDuringCopy(p, componentCount); says
// FileDone when the copy is complete, and then returns true.
bool CopyLibrary(const lumora::String &sourceName, const lumora::String &destinationDir, int componentCount,
                 InstallProgress &progress, InstallReport &report);

#endif
