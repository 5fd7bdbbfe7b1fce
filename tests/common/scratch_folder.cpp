#include "tests/common/scratch_folder.h"

#include "tests/common/remove_tree.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace testsupport {
namespace {

std::atomic<unsigned> folderCounter{0};

long ProcessNumber()
{
#ifdef _WIN32
    return static_cast<long>(GetCurrentProcessId());
#else
    return static_cast<long>(getpid());
#endif
}

// Read from the process's own environment, which a test may change while it runs.
bool KeepFolders()
{
#ifdef _WIN32
    return GetEnvironmentVariableW(L"SETUP_KEEP_PACKAGES", nullptr, 0) > 0;
#else
    return std::getenv("SETUP_KEEP_PACKAGES") != nullptr;
#endif
}

} // namespace

ScratchFolder::ScratchFolder(const std::filesystem::path &prefix)
{
    std::error_code failed;
    std::filesystem::path temp = std::filesystem::temp_directory_path(failed);
    if (failed) return;
    std::filesystem::path name = prefix;
    name += "-" + std::to_string(ProcessNumber()) + "-" + std::to_string(++folderCounter);
    path = temp / name;
    // A folder left by an earlier process with the same id must not leak into this test.
    RemoveTree(path);
    ready = std::filesystem::create_directories(path, failed) && !failed;
}

ScratchFolder::~ScratchFolder()
{
    if (path.empty()) return;
    if (KeepFolders()) {
        std::fprintf(stderr, "kept test folder %s\n", path.u8string().c_str());
        return;
    }
    // A program that has just ended may hold its files for a moment longer.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!RemoveTree(path) && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

} // namespace testsupport
