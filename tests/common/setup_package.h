// A package folder holding setup.exe and lumora.dll from the build, ready for a setup.tsi.
#ifndef SETUP_TESTS_COMMON_SETUP_PACKAGE_H
#define SETUP_TESTS_COMMON_SETUP_PACKAGE_H

#include "tests/driver/ui_driver.h"

#include <string>

namespace setuptest {

class SetupPackage : public uidriver::Package {
public:
    SetupPackage() : Package(L"setup.exe", L"lumora.dll") {}

    bool WriteConfig(const std::string &tsi) const { return WriteFile(L"setup.tsi", tsi); }
};

} // namespace setuptest

#endif
