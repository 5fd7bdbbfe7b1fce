// libFuzzer target: any bytes as setup.tsi of a package folder that holds one sound archive,
// through the tool's check. Whatever the file holds, every finding stays on one line of
// printable text, as plain text and as JSON.
#include "tools/archive_writer.h"
#include "tools/package_check.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path &path, const void *data, size_t size)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

// Made once per process inside the temporary folder the fuzzer was started with: the package
// folder with "data.tsa", the default archive, packed from "README.txt" and "docs/index.html".
const fs::path &PackageFolder()
{
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "tsa-check-fuzz-XXXXXX").string();
        if (mkdtemp(&pattern[0]) == nullptr) std::abort();
        fs::path made(pattern);
        fs::create_directories(made / "content/docs");
        WriteFile(made / "content/README.txt", "read me", 7);
        WriteFile(made / "content/docs/index.html", "<p>", 3);
        Collection collection = CollectEntries({(made / "content").string()}, PackOptions());
        std::string error;
        if (!collection.faults.empty() ||
            !WriteArchive((made / "data.tsa").string(), SplitIntoGroups(collection.entries, 1 << 20), 1,
                          [](int64_t, int64_t) {}, error))
            std::abort();
        return made;
    }();
    return folder;
}

bool Printable(const std::string &line)
{
    for (char c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f) return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fs::path &folder = PackageFolder();
    WriteFile(folder / "setup.tsi", data, size);
    std::vector<Finding> findings = CheckPackage(folder);
    for (const Finding &finding : findings) {
        if (!Printable(FindingLine(finding)) || !Printable(FindingJson(finding))) __builtin_trap();
    }
    if (!Printable(CountLine(findings, false)) || !Printable(CountLine(findings, true))) __builtin_trap();
    return 0;
}
