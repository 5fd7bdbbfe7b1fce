// What one installation does, read from setup.tsi and the wizard's choices before it starts
// (package/plan_reader.h): the engine installs exactly this and nothing else, so it needs to know
// nothing of the wizard, and `tsa check` judges the same plan.
#ifndef SETUP_INSTALL_INSTALLATION_PLAN_H
#define SETUP_INSTALL_INSTALLATION_PLAN_H

#include "lumora/string.h"

#include <vector>

// A chosen component.
struct ComponentPlan {
    int number = 0;       // 1..componentCount: its place among all components, for the total bar
    lumora::String label; // its name, in the notices
    lumora::String archive;
    lumora::String folder; // below the destination, every level made; "." is the destination itself
    // Why the component is not installed, in the notice's words; empty when it is.
    lumora::String refusal;
};

// A Start menu link of a chosen component.
struct LinkPlan {
    int number = 0;        // its number in setup.tsi
    int component = 0;     // the component whose choice made it
    lumora::String label;  // the component's name, in the notices
    lumora::String folder; // below the Start menu's Programs folder, every level made; empty for that folder
    lumora::String name;   // the link file's name, ".lnk" included
    // Relative to the destination. Nothing is written there, so it may lead out of it.
    lumora::String target;
    // Why the link is not made, for its folder or for its name, in the notice's words; empty when it is.
    lumora::String folderRefusal;
    lumora::String nameRefusal;
};

// Why a described link has no place in the plan. None of these is a fault of the installation.
enum class LinkLeftOut {
    none,
    componentOutsideCount, // its component is missing, 0, or beyond the installed count
    componentNotChosen,
    componentRefused, // the component's folder is refused, so nothing is installed to point at
};

struct LeftOutLink {
    int number = 0;
    int component = 0;
    LinkLeftOut reason = LinkLeftOut::none;
};

struct InstallationPlan {
    lumora::String destination;
    int componentCount = 0; // N, chosen or not, for the total bar
    std::vector<ComponentPlan> components;
    bool copyLibrary = false; // lumora.dll from the working directory into the destination
    std::vector<LinkPlan> links;
    std::vector<LeftOutLink> linksLeftOut;
};

#endif
