// Package folders for wizard runs: component archives written from in-memory files and the
// setup.tsi that describes them.
#pragma once

#include "tests/common/setup_package.h"
#include "tests/common/wizard_session.h"

#include <string>
#include <vector>

namespace navtest {

struct PackedFile {
    std::string name; // relative, "/" or "\" separated
    std::string content;
};

// One group per inner list, each with its own bzip2 stream, in the archive layout the
// installer reads.
std::string MakeArchive(const std::vector<std::vector<PackedFile>> &groups);

// Deterministic, moderately compressible text of exactly `size` bytes.
std::string GeneratedContent(size_t size, unsigned seed);

struct ComponentSpec {
    std::string name;
    std::string config = "default"; // "required", "default" or anything else for optional
    std::string subdirectory = ".";
    std::vector<std::vector<PackedFile>> groups; // the archive's groups
    bool writeArchive = true;                    // false: the archive is missing from the package
};

ComponentSpec Component(const std::string &name, const std::string &config, const std::string &subdirectory,
                        std::vector<std::vector<PackedFile>> groups, bool writeArchive = true);

struct LinkSpec {
    std::string component; // as written in the file, so "", "0" or a too large number can be tried
    std::string name;
    std::string file;
};

struct PackagePlan {
    std::string pages =
        "1111111"; // flags of Introduction, License, Directory, Components, Summary, Bye, Reboot
    bool background = false;
    std::vector<ComponentSpec> components;
    std::string startmenuDirectory;
    std::vector<LinkSpec> links;
    bool copyLibrary = false;
    std::string licenseText;   // non-empty: written to licence.txt and named in [License]
    std::string extraSections; // appended to setup.tsi as written
};

std::string ConfigText(const PackagePlan &plan);
// Writes setup.tsi, the archives ("component<i>.tsa") and the licence into the package.
bool WritePackage(const setuptest::SetupPackage &package, const PackagePlan &plan);

// Every file below `root` with its content, names '\'-separated and sorted, as packed:
// the expected installed tree of the given components under their subdirectories.
std::vector<std::pair<std::wstring, std::string>> ExpectedTree(const std::vector<ComponentSpec> &components,
                                                               const std::vector<int> &installed);

// From the completion page on to the Reboot page, restart later, Finish: a normal end, exit
// code 0. Call it inside ASSERT_NO_FATAL_FAILURE.
void FinishNormally(setuptest::WizardSession &wizard, const setuptest::SetupPackage &package);

} // namespace navtest
