#include "package/plan_reader.h"

#include "package/path_rules.h"

using lumora::String;
using V = SetupValue;

namespace {

const char destinationFolder[] = "the destination";
const char programsFolder[] = "the Start menu's Programs folder";

// Links beyond the last one described belong to no component, so a forged count costs nothing.
void ReadLinks(SetupFile &file, int offered, const std::function<bool(int)> &chosen, InstallationPlan &plan)
{
    const int described = HighestDescribedLink([&file](const String &section) { return file.Keys(section); });
    const int count = file.ReadInt(V::linkCount);
    for (int k = 1; k <= count && k <= described; k++) {
        // A link belongs to one component of this run; one that names no such component has
        // nothing installed to point at and is left out.
        int component = file.ReadInt(V::linkComponent, k);
        LinkLeftOut reason = LinkLeftOut::none;
        if (component < 1 || component > plan.componentCount)
            reason = LinkLeftOut::componentOutsideCount;
        else if (component > offered || !chosen(component))
            reason = LinkLeftOut::componentNotChosen;
        else if (Refusal(file.Read(V::componentFolder, component), destinationFolder).Length() > 0)
            reason = LinkLeftOut::componentRefused;
        if (reason != LinkLeftOut::none) {
            plan.linksLeftOut.push_back(LeftOutLink{k, component, reason});
            continue;
        }
        LinkPlan link;
        link.number = k;
        link.component = component;
        link.label = file.Read(V::componentName, component);
        link.folder = file.Read(V::linkFolder);
        link.folderRefusal = Refusal(link.folder, programsFolder);
        String name = file.Read(V::linkName, k);
        link.nameRefusal = Refusal(name, programsFolder);
        link.name = name + ".lnk";
        link.target = file.Read(V::linkTarget, k);
        plan.links.push_back(link);
    }
}

} // namespace

InstallationPlan ReadInstallationPlan(SetupFile &file, const String &destination, int offered,
                                      const std::function<bool(int)> &chosen)
{
    InstallationPlan plan;
    plan.destination = destination;
    plan.componentCount = file.ReadInt(V::installedComponentCount);
    if (plan.componentCount < 0) plan.componentCount = 0;
    // Only components with a check box can have been chosen.
    const int last = plan.componentCount < offered ? plan.componentCount : offered;
    for (int i = 1; i <= last; i++) {
        if (!chosen(i)) continue;
        ComponentPlan component;
        component.number = i;
        component.label = file.Read(V::componentName, i);
        component.archive = file.Read(V::componentArchive, i);
        component.folder = file.Read(V::componentFolder, i);
        component.refusal = Refusal(component.folder, destinationFolder);
        plan.components.push_back(component);
    }
    // Any non-zero value asks for the one copy; the bar's share follows that one step.
    plan.copyLibrary = file.ReadFlag(V::copyLibrary);
    ReadLinks(file, offered, chosen, plan);
    return plan;
}

bool HasDamagedComponentCount(SetupFile &file, int &count, int &highestDescribed)
{
    count = file.ReadInt(V::offeredComponentCount);
    highestDescribed =
        HighestDescribedComponent([&file](const String &section) { return file.Keys(section); });
    return IsDamagedComponentCount(count, highestDescribed);
}
