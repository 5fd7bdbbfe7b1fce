// Extraction of component archives (.tsa) and the copy of the library DLL, with progress.
//
// Nothing here stops on a fault: every archive, entry or file that cannot be handled is
// recorded in the InstallReport under the caller's component label, skipped, and the rest
// goes on where it can. Nothing is ever written outside the target directory.
#ifndef SETUP_INSTALL_EXTRACTION_H
#define SETUP_INSTALL_EXTRACTION_H

#include "install/code_page.h"
#include "install/install_report.h"
#include "install/progress.h"
#include "lumora/string.h"

// Extracts every group of the archive named archiveName (opened as given, so a bare name is
// taken from the current directory) into targetDir, which must exist. Each group's
// compressed bytes go to "buffer.temp" and its data to "data.temp" in the current directory
// while those names are free there, otherwise to names of this run's own in TemporaryFolder();
// both belong to this run alone and are removed before the next group and on every way out.
// Sets the file bar (0 at the start of each file, then each new integer percentage) and says
// FileDone after each file written in full; reports each group's unpacking with
// SetUnpackProgress before its files; never touches the total bar.
// Entry names are decoded through codePage (Windows: the system's own by default) before any
// check. Returns true when every file of the archive was written in full.
// jobs above 1 inflates up to that many groups at once on threads of their own, while the
// earliest group's files are written; files, faults and progress still come in the archive's
// order on the calling thread, so the outcome is the same. Their temporary files then take
// names of this run's own in TemporaryFolder() while the working folder's are held.
bool ExtractArchive(const lumora::String &archiveName, const lumora::String &targetDir,
                    InstallProgress &progress, InstallReport &report, const lumora::String &componentLabel,
                    int codePage = systemCodePage, int jobs = 1);

// Makes one folder level, as MakeDirectory does, and tells the report when it was made.
bool MakeReportedDirectory(const lumora::String &path, InstallReport &report);

// Copies sourceName (e.g. "lumora.dll", from the current directory) to
// destinationDir + "\" + sourceName. At each new integer percentage p of the copy it sets
// the file bar to p and the total bar to TotalProgressDuringCopy(p, componentCount); says
// FileDone when the copy is complete, and then returns true.
bool CopyLibrary(const lumora::String &sourceName, const lumora::String &destinationDir, int componentCount,
                 InstallProgress &progress, InstallReport &report);

// The total bar after component `component` (1..componentCount, its number among all
// components, selected or not); copyLibrary is 1 when the DLL copy follows, else 0:
// trunc(100/(N+c) * (i-1) + 100/(N+c)), evaluated in double precision in that order, so
// N = 23 ends at 99 and N = 36 shows 74 after component 27.
int TotalProgressAfterComponent(int component, int componentCount, int copyLibrary);

// The total bar while the DLL is copied, p the copy's own percentage:
// trunc(100/(N+1) * N + p/(N+1)) in double precision.
int TotalProgressDuringCopy(int percent, int componentCount);

#endif
