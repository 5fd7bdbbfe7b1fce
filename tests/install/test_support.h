// Shared helpers of the engine tests: raw archive bytes (sound or damaged on purpose), files
// read and written whole, and a progress recorder. Each test works in a ScratchTest folder.
#ifndef SETUP_TESTS_INSTALL_TEST_SUPPORT_H
#define SETUP_TESTS_INSTALL_TEST_SUPPORT_H

#include "install/progress.h"
#include "lumora/string.h"
#include "tests/common/scratch_test.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

struct RawFile {
    std::string name;
    std::string data;
};

std::string LittleEndian(uint64_t value, int width);
std::string Bzip2(const std::string &data);

// A group exactly as the format lays it out. The other form takes the stream and the
// stored unpacked length as given, for damaged groups.
std::string GroupBytes(const std::vector<RawFile> &files);
std::string GroupBytes(const std::vector<RawFile> &files, const std::string &stream, uint64_t unpackedSize);
std::string ArchiveBytes(const std::vector<std::string> &groups);

void WriteBytes(const fs::path &path, const std::string &bytes);
std::string ReadBytes(const fs::path &path);
// Every regular file below folder, as "relative/path" (with "/"), in UTF-8.
std::vector<std::string> FilesBelow(const fs::path &folder);

class RecordingProgress : public InstallProgress {
public:
    void SetFileProgress(int percent) override
    {
        fileValues.push_back(percent);
        if (onFileProgress) onFileProgress(percent);
    }
    void SetTotalProgress(int percent) override { totalValues.push_back(percent); }
    void FileDone() override { ++filesDone; }
    void SetUnpackProgress(int percent) override { unpackValues.push_back(percent); }

    std::vector<int> fileValues;
    std::vector<int> totalValues;
    int filesDone = 0;
    std::vector<int> unpackValues;
    std::function<void(int)> onFileProgress;
};

#endif
