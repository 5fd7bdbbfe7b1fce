// `tsa new`: a package folder made from an application folder, ready to ship once its maker
// has read and edited setup.tsi: one component per top-level folder of the application and the
// files beside them as the main program, their archives packed, every page written out with
// comments, removal turned on, and setup.exe, lumora.dll and uninstall.exe of the kit copied in.
#ifndef SETUP_TOOLS_PACKAGE_NEW_H
#define SETUP_TOOLS_PACKAGE_NEW_H

#include "install/code_page.h"
#include "tools/translations.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct NewPackageSettings {
    std::wstring name; // the application's name: wizard titles, destination and Start menu folder
    std::wstring version = L"1.0";
    std::wstring company; // none: the background shows no company
    int codePage = asciiOnly;
    // The words of the wizard and of its pages; null for English.
    const Translation *translation = nullptr;
    std::string architecture; // "win32", "win64", or "" to follow the application's programs
    std::filesystem::path application;
    std::filesystem::path output;  // must not exist, or be an empty folder
    std::filesystem::path runtime; // the folder of setup.exe, lumora.dll and uninstall.exe
    std::filesystem::path licence; // a licence text to show, or empty
    int jobs = 1;
};

struct NewComponent {
    std::wstring name;
    std::string archive;                      // file name in the package, ASCII
    std::wstring subdirectory;                // below the destination, "." for the destination itself
    std::vector<std::filesystem::path> paths; // what is packed
    bool required = false;
};

// The components of an application folder: the files at its top as the main program, called
// name and required, then one per top-level folder, in name order. Folders without files are
// left out.
std::vector<NewComponent> PlanComponents(const std::filesystem::path &application, const std::wstring &name);

// "win64" when a program file (.exe, .dll) at any depth of the folder is a 64-bit one, else "win32".
std::string ApplicationArchitecture(const std::filesystem::path &application);

// The setup.tsi of the package, every key with its comment; the program files named are the
// main program's .exe files at the application's top, each given a Start menu link.
std::wstring NewSetupText(const NewPackageSettings &settings, const std::vector<NewComponent> &components,
                          const std::vector<std::wstring> &programs, bool hasLicence);

// The code page a package in the translation is written in: the one asked for, or the
// translation's when none was; false with the reason when the one asked for cannot hold its texts.
bool ChooseCodePage(const Translation &translation, int asked, int &chosen, std::string &error);

// Makes the package; say(line) reports what was done and why anything was left out. False
// with the reason in error when nothing usable could be made (the output is then removed).
bool MakeNewPackage(const NewPackageSettings &settings, const std::function<void(const std::string &)> &say,
                    std::string &error);

#endif
