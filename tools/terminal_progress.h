// A one-line progress bar on a terminal; nothing at all when the output is not a terminal.
#ifndef SETUP_TOOLS_TERMINAL_PROGRESS_H
#define SETUP_TOOLS_TERMINAL_PROGRESS_H

#include <string>

class TerminalProgress {
public:
    explicit TerminalProgress(const std::string &label);
    ~TerminalProgress(); // ends the line, so later messages start on their own

    // Redraws only when the integer percentage or the note changes.
    void Show(int percent, const std::string &note = std::string());

private:
    std::string label;
    bool active;
    int shownPercent = -1;
    std::string shownNote;
};

#endif
