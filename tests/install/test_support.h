// Shared helpers of the engine tests: the archive bytes of tests/common, files read and
// written whole, and a progress recorder. Each test works in a ScratchTest folder.
#ifndef SETUP_TESTS_INSTALL_TEST_SUPPORT_H
#define SETUP_TESTS_INSTALL_TEST_SUPPORT_H

#include "install/progress.h"
#include "lumora/string.h"
#include "tests/common/archive_bytes.h"
#include "tests/common/scratch_test.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

using testsupport::ArchiveBytes;
using testsupport::Bzip2;
using testsupport::EntryBytes;
using testsupport::GroupBytes;
using testsupport::LittleEndian;
using testsupport::RawFile;
using testsupport::StreamHeadBytes;
using testsupport::TableBytes;

// A kind as the failure messages show it: its number and its words.
inline void PrintTo(ArchiveFaultKind kind, std::ostream *out)
{
    *out << static_cast<int>(kind) << " (" << FaultWords(kind) << ")";
}

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
