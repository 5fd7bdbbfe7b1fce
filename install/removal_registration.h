// What a package that asks to be removable leaves behind besides its files: the uninstaller,
// the record of exactly what the installation made, and the product's entry in Windows' list
// of installed programs. A package that does not ask gets none of it.
#ifndef SETUP_INSTALL_REMOVAL_REGISTRATION_H
#define SETUP_INSTALL_REMOVAL_REGISTRATION_H

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

// Passes the engine's progress on and notes, before each file and folder is made, whether it
// was there already: only what this installation made is claimed.
class CreationRecorder : public InstallProgress {
public:
    // Looks at the destination, the components' folders and the links before anything is made.
    CreationRecorder(InstallProgress &shown, const InstallationPlan &plan);

    void SetFileProgress(int percent) override { shown.SetFileProgress(percent); }
    void SetTotalProgress(int percent) override { shown.SetTotalProgress(percent); }
    void FileDone() override { shown.FileDone(); }
    void SetUnpackProgress(int percent) override { shown.SetUnpackProgress(percent); }
    void FileStarting(const lumora::String &path) override;

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
    void NoteMissingFolders(const std::wstring &folder);

    InstallProgress &shown;
    std::wstring destination;
    std::wstring menuFolder;
    bool menuFolderIsNew = false;
    // Relative to the destination (links: to the Start menu folder), "\" between levels.
    std::set<std::wstring> newFiles, writtenFiles, newFolders, newLinks, plannedLinks, knownFolders;
};

// After the installation, complete or not: copies the uninstaller from the package folder into
// the destination, merges what this installation made into the record there and writes the
// product's entry. Whatever cannot be done is in report.
void RegisterRemoval(const CreationRecorder &recorder, const RemovalSettings &settings,
                     InstallReport &report);

#endif
