// libFuzzer target: any text as Setup's command line, read as 16-bit units the way Windows hands
// it over, then its /COMPONENTS list against a package's names. Whatever the line holds, the
// reader ends, a destination it accepts is one it accepts again unchanged, and an error quotes
// the argument short.
#include "app/command_line.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::wstring line;
    for (size_t k = 0; k + 1 < size; k += 2) line += static_cast<wchar_t>(data[k] | (data[k + 1] << 8));

    SetupSwitches switches = ReadSetupSwitches(ArgumentsAfterProgramName(line));
    if (switches.given != !SplitArguments(ArgumentsAfterProgramName(line)).empty()) __builtin_trap();
    if (switches.error.size() > 1000) __builtin_trap();
    if (switches.error.empty() && switches.hasDestination) {
        std::wstring again;
        if (!DestinationFault(switches.destination, again).empty() || again != switches.destination)
            __builtin_trap();
    }
    for (const std::wstring &item : switches.components)
        if (item.empty() || item.find(L',') != std::wstring::npos) __builtin_trap();

    static const std::vector<std::wstring> names = {L"Main", L"\u00c9crans", L"12", L""};
    ComponentList list = ResolveComponents(switches.components, names);
    if (list.chosen.size() != names.size() + 1 || list.error.size() > 1000) __builtin_trap();
    return 0;
}
