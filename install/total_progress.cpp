#include "install/total_progress.h"

// volatile keeps every intermediate a double: the x87 unit of a 32-bit build would otherwise
// carry more precision, and N = 23 would end at 100 instead of 99.

int TotalProgressAfterComponent(int component, int componentCount, int copyLibrary)
{
    int parts = componentCount + copyLibrary;
    if (parts <= 0) return 0;
    volatile double share = 100.0 / parts;
    volatile double done = share * (component - 1);
    volatile double total = done + share;
    return static_cast<int>(total);
}

int TotalProgressDuringCopy(int percent, int componentCount)
{
    int parts = componentCount + 1;
    if (parts <= 0) return percent;
    volatile double share = 100.0 / parts;
    volatile double components = share * componentCount;
    volatile double copy = static_cast<double>(percent) / parts;
    volatile double total = components + copy;
    return static_cast<int>(total);
}
