// Where the engine reports how far it has come; the wizard binds it to its two bars.
#ifndef SETUP_INSTALL_PROGRESS_H
#define SETUP_INSTALL_PROGRESS_H

// Both values are percentages, 0 to 100. The engine calls a setter only when the integer
// value changes (and once with 0 at the start of each file), so a setter may be as costly
// as a window message. Calls come from the thread that runs the engine.
class InstallProgress {
public:
    virtual ~InstallProgress() = default;
    virtual void SetFileProgress(int percent) = 0;
    virtual void SetTotalProgress(int percent) = 0;
    // The file whose progress was reported last is written in full, an empty one too.
    virtual void FileDone() {}
    // How far a group's data is unpacked before its first file is written: the share of its
    // packed bytes read, at each new integer percentage.
    virtual void SetUnpackProgress(int) {}
};

#endif
