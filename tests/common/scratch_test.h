// The fixture of the portable tests: each test runs in a scratch folder of its own, which is
// also the current directory; the user's temporary folder points to its "tmp" subfolder.
// Everything is removed afterwards.
#ifndef SETUP_TESTS_COMMON_SCRATCH_TEST_H
#define SETUP_TESTS_COMMON_SCRATCH_TEST_H

#include "lumora/string.h"
#include "tests/common/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The full name of a file in the scratch folder, with the platform's separator.
    std::filesystem::path PathOf(const std::string &name) const { return root / name; }
    // That name as the library takes it, from its wide form.
    lumora::String NameOf(const std::string &name) const;

    std::filesystem::path root;   // the current directory during the test
    std::filesystem::path temp;   // what TemporaryFolder() gives during the test
    std::filesystem::path target; // an empty folder to extract into

private:
    std::unique_ptr<testsupport::ScratchFolder> folder;
    std::filesystem::path previousDirectory;
    std::string previousTemp;
};

// A path as the engine takes it: the wide name on Windows, the UTF-8 one elsewhere.
lumora::String PathText(const std::filesystem::path &path);

#endif
