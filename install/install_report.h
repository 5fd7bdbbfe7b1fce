// What went wrong during an installation, kept so the installer can show it at the end.
#ifndef SETUP_INSTALL_INSTALL_REPORT_H
#define SETUP_INSTALL_INSTALL_REPORT_H

#include "install/archive_fault.h"
#include "lumora/string.h"

#include <cstdint>
#include <vector>

struct InstallFault {
    lumora::String component; // e.g. the component's number or name, as the caller labels it
    lumora::String file;      // the archive, entry or file concerned; may be empty
    lumora::String what;      // one short sentence
    ArchiveFaultKind kind = ArchiveFaultKind::none; // for a fault of an archive, which one
};

// "component: file: what", the fault's line in the notice and in the log.
lumora::String FaultLine(const InstallFault &fault);

// What an installation makes and cannot make, told as it happens, so a log follows the work.
// Called on the thread that runs the engine.
class InstallObserver {
public:
    virtual ~InstallObserver() = default;
    virtual void PhaseStarted(const lumora::String &) {} // a component, the library copy, the links
    virtual void FolderMade(const lumora::String &) {}
    virtual void FileWritten(const lumora::String &, int64_t) {} // its path and size, once written in full
    virtual void LinkMade(const lumora::String &) {}
    virtual void FaultAdded(const InstallFault &) {}
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

    // What is made, for the observer; nothing is kept.
    void Observe(InstallObserver *newObserver) { observer = newObserver; }
    void PhaseStarted(const lumora::String &what)
    {
        if (observer) observer->PhaseStarted(what);
    }
    void FolderMade(const lumora::String &path)
    {
        if (observer) observer->FolderMade(path);
    }
    void FileWritten(const lumora::String &path, int64_t size)
    {
        if (observer) observer->FileWritten(path, size);
    }
    void LinkMade(const lumora::String &path)
    {
        if (observer) observer->LinkMade(path);
    }

private:
    void Add(const InstallFault &fault);

    std::vector<InstallFault> faults;
    InstallObserver *observer = nullptr;
};

#endif
