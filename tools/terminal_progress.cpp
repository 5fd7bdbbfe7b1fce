#include "tools/terminal_progress.h"

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

const int barWidth = 30;
const size_t noteWidth = 36;

} // namespace

TerminalProgress::TerminalProgress(const std::string &label)
    : label(label), active(isatty(fileno(stderr)) != 0)
{
}

TerminalProgress::~TerminalProgress()
{
    if (active && shownPercent >= 0) std::fputs("\n", stderr);
}

void TerminalProgress::Show(int percent, const std::string &note)
{
    percent = std::max(0, std::min(100, percent));
    if (!active || (percent == shownPercent && note == shownNote)) return;
    shownPercent = percent;
    shownNote = note;
    std::string bar(static_cast<size_t>(barWidth * percent / 100), '#');
    bar.resize(barWidth, ' ');
    std::string shortNote = note.size() > noteWidth ? "..." + note.substr(note.size() - noteWidth + 3) : note;
    std::fprintf(stderr, "\r%s [%s] %3d%% %-*s", label.c_str(), bar.c_str(), percent,
                 static_cast<int>(noteWidth), shortNote.c_str());
    std::fflush(stderr);
}
