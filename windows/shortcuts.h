// Shell links (.lnk files), written through the shell's own link object.
#ifndef SETUP_WINDOWS_SHORTCUTS_H
#define SETUP_WINDOWS_SHORTCUTS_H

#include "install/install_report.h"
#include "install/installation_plan.h"

#include <vector>

// The current user's Start-menu Programs folder, or the empty text when the shell has none.
lumora::String ProgramsFolder();

// Writes the link file linkFile pointing at target, started in workingDirectory, with the
// description (null: none). All texts are 8-bit, in the system code page. Returns 1 when
// the link was saved, 0 when the link object could not be made, filled or saved, or when
// linkFile does not fit 259 characters.
int CreateShortcut(const char *target, const char *linkFile, const char *workingDirectory,
                   const char *description);

// Makes each planned link below the current user's Programs folder, every level of its folder
// made, pointing at its target joined to destination and started there; each link that is
// refused or cannot be made is in report.
void CreateStartMenuLinks(const std::vector<LinkPlan> &links, const lumora::String &destination,
                          InstallReport &report);

#endif
