// A private scratch folder per test, removed with everything in it afterwards.
#ifndef TESTS_LUMORA_TEMP_FILES_H
#define TESTS_LUMORA_TEMP_FILES_H

#include "lumora/string.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

class TempFiles : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The full name of a file in the scratch folder, with the platform's separator.
    std::filesystem::path PathOf(const std::string &name) const { return folder / name; }
    lumora::String NameOf(const std::string &name) const;

    void WriteBytes(const std::string &name, const std::vector<unsigned char> &bytes) const;
    std::vector<unsigned char> ReadBytes(const std::string &name) const;

    std::filesystem::path folder;
};

// Bytes that differ from their neighbours and do not repeat with any power of two.
std::vector<unsigned char> PatternBytes(size_t count);

#endif
