// What went wrong during an installation, kept so the installer can show it at the end.
#ifndef SETUP_INSTALL_INSTALL_REPORT_H
#define SETUP_INSTALL_INSTALL_REPORT_H

#include "install/archive_fault.h"
#include "lumora/string.h"

#include <vector>

struct InstallFault {
    lumora::String component; // e.g. the component's number or name, as the caller labels it
    lumora::String file;      // the archive, entry or file concerned; may be empty
    lumora::String what;      // one short sentence
    ArchiveFaultKind kind = ArchiveFaultKind::none; // for a fault of an archive, which one
};

// Filled by one thread (the worker) and read after it has ended; not locked.
class InstallReport {
public:
    // attributes
    bool IsEmpty() const { return faults.empty(); }
    int FaultCount() const { return static_cast<int>(faults.size()); }
    const InstallFault &Fault(int index) const { return faults[static_cast<size_t>(index)]; }
    const std::vector<InstallFault> &Faults() const { return faults; }

    // One line per fault, "component: file: what", at most maxLines of them followed by a
    // line saying how many more there are; short enough for a message box.
    lumora::String Summary(int maxLines = 15) const;

    // operations
    void AddFault(const lumora::String &component, const lumora::String &file, const lumora::String &what);
    // An archive's fault, in the installer's words for it.
    void AddFault(const lumora::String &component, const lumora::String &file, const ArchiveFault &fault);
    void Clear() { faults.clear(); }

private:
    std::vector<InstallFault> faults;
};

#endif
