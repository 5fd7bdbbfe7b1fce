// What one installation does, read from the wizard and setup.tsi before it starts: the
// engine installs exactly this and nothing else, so it needs to know nothing of the wizard.
#ifndef SETUP_INSTALL_INSTALLATION_PLAN_H
#define SETUP_INSTALL_INSTALLATION_PLAN_H

#include "install/archive_fault.h"
#include "lumora/string.h"

#include <vector>

// A chosen component.
struct ComponentPlan {
    int number = 0;       // 1..componentCount: its place among all components, for the total bar
    lumora::String label; // its name, in the notices
    lumora::String archive;
    lumora::String folder; // below the destination; "." is the destination itself
    // Not none when folder would lead out of the destination: the component is not installed.
    ArchiveFaultKind folderFault = ArchiveFaultKind::none;
};

// A Start menu link of a chosen component.
struct LinkPlan {
    lumora::String label;  // the component's name, in the notices
    lumora::String folder; // below the Start menu's Programs folder; empty for that folder itself
    lumora::String name;   // the link file's name, ".lnk" included
    lumora::String target; // below the destination
    // Not none when folder, name or target would lead out of its folder: the link is not made.
    ArchiveFaultKind pathFault = ArchiveFaultKind::none;
};

struct InstallationPlan {
    lumora::String destination;
    int componentCount = 0; // N, chosen or not, for the total bar
    std::vector<ComponentPlan> components;
    bool copyLibrary = false; // lumora.dll from the working directory into the destination
    std::vector<LinkPlan> links;
};

#endif
