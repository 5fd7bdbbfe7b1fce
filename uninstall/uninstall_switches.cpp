#include "uninstall/uninstall_switches.h"

#include "app/command_line.h"

#include <cwchar>

UninstallSwitches ReadUninstallSwitches(const std::wstring &arguments)
{
    static const std::vector<SwitchRule> rules = {
        {L"SILENT", SwitchValue::none},           {L"VERYSILENT", SwitchValue::none},
        {L"SUPPRESSMSGBOXES", SwitchValue::none}, {L"NORESTART", SwitchValue::none},
        {L"LOG", SwitchValue::optional},          {L"CLEANUP", SwitchValue::required},
        {L"WAITFOR", SwitchValue::required},      {L"FOLDERMADE", SwitchValue::none}};
    SwitchList list = ReadSwitches(arguments, rules);
    UninstallSwitches switches;
    switches.error = list.error;
    for (const Switch &given : list.switches) {
        if (given.name == L"SILENT") switches.silent = true;
        if (given.name == L"VERYSILENT") switches.verySilent = true;
        if (given.name == L"SUPPRESSMSGBOXES") switches.suppressMessageBoxes = true;
        if (given.name == L"NORESTART") switches.noRestart = true;
        if (given.name == L"LOG") {
            switches.log = true;
            switches.logFile = given.value;
        }
        if (given.name == L"CLEANUP") {
            switches.cleanup = true;
            switches.cleanupFolder = given.value;
        }
        if (given.name == L"FOLDERMADE") switches.folderMade = true;
        if (given.name == L"WAITFOR")
            switches.waitForProcess = std::wcstoul(given.value.c_str(), nullptr, 10);
    }
    return switches;
}
