// libFuzzer target: any bytes as a component archive, through the tool's reader and checker
// and through the installer's extraction engine. Everything happens inside a private
// folder, which is also the temporary folder; the target traps if anything is left behind
// or appears outside the extraction folder.
#include "install/extraction.h"
#include "tools/archive_check.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class SilentProgress : public InstallProgress {
public:
    void SetFileProgress(int percent) override { Check(percent); }
    void SetTotalProgress(int percent) override { Check(percent); }

private:
    static void Check(int percent)
    {
        if (percent < 0 || percent > 100) __builtin_trap();
    }
};

// Made once per process inside the temporary folder the fuzzer was started with (libFuzzer
// ends without running exit handlers, so whoever starts it clears that folder): the working
// folder, with "tmp" inside it as the engine's temporary folder.
const fs::path &WorkFolder()
{
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "tsa-fuzz-XXXXXX").string();
        if (mkdtemp(&pattern[0]) == nullptr) std::abort();
        fs::path made(pattern);
        fs::create_directory(made / "tmp");
        setenv("TMPDIR", (made / "tmp").c_str(), 1);
        fs::current_path(made);
        return made;
    }();
    return folder;
}

// Names go through one of these, chosen by the input's length so that a corpus entry keeps its
// code page: single-byte, double-byte and the ones whose marks combine with the letter before.
const int codePages[] = {asciiOnly, 1252, 932, 1251, 936, 949, 950, 1258, 874, 1255};

void WriteInput(const uint8_t *data, size_t size)
{
    FILE *file = std::fopen("input.tsa", "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fs::path &folder = WorkFolder();
    WriteInput(data, size);
    fs::create_directory(folder / "out");

    const int codePage = codePages[size % (sizeof codePages / sizeof codePages[0])];
    ListArchive("input.tsa", codePage);
    VerifyArchive("input.tsa", codePage);

    SilentProgress progress;
    InstallReport report;
    bool complete = ExtractArchive("input.tsa", "out", progress, report, "fuzz", codePage);
    if (complete != report.IsEmpty()) __builtin_trap();

    for (const auto &item : fs::directory_iterator(folder)) {
        std::string name = item.path().filename().string();
        if (name != "input.tsa" && name != "out" && name != "tmp") __builtin_trap();
    }
    if (!fs::is_empty(folder / "tmp")) __builtin_trap();
    fs::remove_all(folder / "out");
    return 0;
}
