#include "install/install_report.h"

void InstallReport::AddFault(const lumora::String &component, const lumora::String &file,
                             const lumora::String &what)
{
    Add(InstallFault{component, file, what});
}

void InstallReport::AddFault(const lumora::String &component, const lumora::String &file,
                             const ArchiveFault &fault)
{
    Add(InstallFault{component, file, lumora::String(InstallerWords(fault).c_str()), fault.kind});
}

void InstallReport::Add(const InstallFault &fault)
{
    faults.push_back(fault);
    if (observer) observer->FaultAdded(fault);
}

lumora::String FaultLine(const InstallFault &fault)
{
    lumora::String text = fault.component;
    text.Append(": ");
    if (fault.file.Length() > 0) text.Append(fault.file).Append(": ");
    return text.Append(fault.what);
}

lumora::String InstallReport::Summary(int maxLines) const
{
    lumora::String text;
    int shown = 0;
    for (const InstallFault &fault : faults) {
        if (shown == maxLines) break;
        if (shown > 0) text.Append("\n");
        text.Append(FaultLine(fault));
        ++shown;
    }
    int hidden = FaultCount() - shown;
    if (hidden > 0) {
        text.Append("\n").Append(lumora::String::FromInt(hidden));
        text.Append(hidden == 1 ? " more problem." : " more problems.");
    }
    return text;
}
