// The uninstaller's switches: those of setup.exe that make sense for a removal, read by the
// same reader, so a deployment tool gives both programs the same words.
#ifndef SETUP_UNINSTALL_UNINSTALL_SWITCHES_H
#define SETUP_UNINSTALL_UNINSTALL_SWITCHES_H

#include <string>

struct UninstallSwitches {
    bool silent = false;
    bool verySilent = false;
    bool suppressMessageBoxes = false;
    bool noRestart = false; // the uninstaller never restarts Windows; accepted for the same command lines
    bool log = false;
    std::wstring logFile; // empty with log: a new file in the temporary folder
    // The copy of the uninstaller that removes the original once it has ended (see main.cpp).
    bool cleanup = false;
    std::wstring cleanupFolder;
    bool folderMade = false; // the folder is removed too when it is empty
    unsigned long waitForProcess = 0;
    std::wstring error; // not empty: a switch this program does not take, and why

    bool Unattended() const { return silent || verySilent; }
    bool QuietNotices() const { return verySilent || suppressMessageBoxes; }
};

UninstallSwitches ReadUninstallSwitches(const std::wstring &arguments);

#endif
