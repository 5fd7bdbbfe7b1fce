// What a package that asks to be removable leaves behind besides its files: the uninstaller,
// the record of exactly what the installation made, and the product's entry in Windows' list
// of installed programs. A package that does not ask gets none of it.
#ifndef SETUP_WINDOWS_REMOVAL_REGISTRATION_H
#define SETUP_WINDOWS_REMOVAL_REGISTRATION_H

#include "install/install_report.h"
#include "install/installation_plan.h"
#include "install/progress.h"
#include "lumora/string.h"

#include <set>
#include <string>

struct RemovalSettings {
    lumora::String displayName;
    lumora::String displayVersion;
    lumora::String publisher;
    lumora::String helpLink;
    lumora::String urlInfoAbout;
};

// Hears what the engine makes and passes it on to the next observer (the run's log, or none),
// and notes, before each file is made, whether it was there already: only what this
// installation made is claimed.
class CreationRecorder : public InstallObserver {
public:
    // Looks at the destination and the links before anything is made.
    CreationRecorder(const InstallationPlan &plan, InstallObserver *next);

    void PhaseStarted(const lumora::String &what) override;
    void FileStarting(const lumora::String &path) override;
    void FolderMade(const lumora::String &path) override;
    void FileWritten(const lumora::String &path, int64_t size) override;
    void LinkMade(const lumora::String &path) override;
    void FaultAdded(const InstallFault &fault) override;

    // attributes
    const std::wstring &Destination() const { return destination; } // absolute; empty when unknown
    const std::wstring &MenuFolder() const { return menuFolder; }   // empty: no links planned
    const std::set<std::wstring> &NewFiles() const { return newFiles; }
    const std::set<std::wstring> &WrittenFiles() const { return writtenFiles; }
    const std::set<std::wstring> &NewFolders() const { return newFolders; }
    const std::set<std::wstring> &NewLinks() const { return newLinks; }
    const std::set<std::wstring> &PlannedLinks() const { return plannedLinks; }
    bool MenuFolderIsNew() const { return menuFolderIsNew; }

private:
    // path's place below the destination in the record's form; false when it lies elsewhere.
    bool BelowDestination(const lumora::String &path, std::wstring &relative) const;

    InstallObserver *next;
    std::wstring destination;
    std::wstring menuFolder;
    bool menuFolderIsNew = false;
    // Relative to the destination (links: to the Start menu folder), "\" between levels.
    std::set<std::wstring> newFiles, writtenFiles, newFolders, newLinks, plannedLinks;
};

// After the installation, complete or not: copies the uninstaller from the package folder into
// the destination, merges what this installation made into the record there and writes the
// product's entry. Whatever cannot be done is in report.
void RegisterRemoval(const CreationRecorder &recorder, const RemovalSettings &settings,
                     InstallReport &report);

// The installation of the plan with the links of the Start menu, as the wizard's worker and a
// run without a window make it; a package with [Uninstall] Enabled=1 is also made removable.
void InstallPackagePlan(const InstallationPlan &plan, InstallProgress &progress, InstallReport &report);

#endif
