// Removing what the record names, and nothing else.
#ifndef SETUP_UNINSTALL_REMOVAL_H
#define SETUP_UNINSTALL_REMOVAL_H

#include "removal/removal_record.h"

#include <functional>
#include <string>
#include <vector>

struct RemovalOutcome {
    std::vector<std::wstring> changed;     // kept: their content changed since they were installed
    std::vector<std::wstring> atRestart;   // in use: removed when Windows restarts
    std::vector<std::wstring> notRemoved;  // could not be removed, nor left for the restart
    std::vector<std::wstring> foldersKept; // still hold files the installations did not make
};

// Why the record's roots are none the uninstaller may touch, or nothing: the destination must
// be the folder the uninstaller lies in, and the Start menu folder one of the Programs folders
// or below one.
std::wstring RecordRootsFault(const RemovalRecord &record, const std::wstring &uninstallerFolder,
                              const std::vector<std::wstring> &programsFolders);

// Removes every recorded file that is as it was installed, then every recorded folder that is
// empty then, but the destination itself, which holds the uninstaller. log hears each step.
RemovalOutcome RemoveRecordedItems(const RemovalRecord &record,
                                   const std::function<void(const std::wstring &)> &log);

// The absolute path of a recorded item.
std::wstring RecordedPath(const RemovalRecord &record, RecordRoot root, const std::wstring &relative);

#endif
