// What Setup checks before any wizard window exists: the library's version and whether the
// package can be shown at all. Shared by a run without switches and a run with them.
#ifndef SETUP_APP_STARTUP_CHECKS_H
#define SETUP_APP_STARTUP_CHECKS_H

#include "lumora/string.h"

bool LibraryVersionMatches();
// The user's answer when the library's version differs; true means go on.
bool AskToContinueWithOtherLibrary();
// Why the package cannot be shown (no page enabled, a damaged component count), or the empty text.
lumora::String PackageRefusal();
// A message box that says why Setup cannot go on.
void ShowRefusal(const lumora::String &text);

#endif
