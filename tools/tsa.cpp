// tsa: makes, lists, checks and extracts component archives.
#include "install/extraction.h"
#include "install/platform_fs.h"
#include "tools/archive_check.h"
#include "tools/archive_writer.h"
#include "tools/terminal_progress.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char usage[] = "usage: tsa COMMAND [OPTIONS] ARGUMENTS\n"
                     "\n"
                     "Commands:\n"
                     "  pack     make an archive from files and folders\n"
                     "  list     show the files an archive holds\n"
                     "  verify   check every group of an archive\n"
                     "  extract  unpack an archive exactly as the installer does\n"
                     "\n"
                     "'tsa COMMAND --help' describes a command.\n";

// Every command reads or writes names, so every one takes the code page they are stored in.
const char codePageHelp[] =
    "\n"
    "  --code-page N  names are stored in Windows code page N: 874, 932, 936, 949, 950 or\n"
    "                 1250 to 1258, the system code page of the machines that will install the\n"
    "                 archive (default: none; only ASCII names can be stored and read)\n";

const char packUsage[] =
    "usage: tsa pack [-j N] [-g SIZE] [--code-page N] OUT.tsa PATH...\n"
    "\n"
    "Makes OUT.tsa from the given files and folders. A file is stored under its own name,\n"
    "the files inside a folder (at every depth) under their paths relative to that folder,\n"
    "with \"/\" between levels. The files are split into groups of about SIZE bytes, each\n"
    "compressed with bzip2 level 9; the archive is the same whatever the number of threads.\n"
    "\n"
    "  -j N     compress N groups at a time (default: the number of processors)\n"
    "  -g SIZE  group size in bytes, or with a K or M suffix (default 8M)\n"
    "\n"
    "Names are read as the system gives them (UTF-8 on Linux) and stored in the code page the\n"
    "installer's system will read them in; a name that code page cannot store exactly, or one the\n"
    "installer would refuse, stops the pack with a line naming the file.\n";

const char listUsage[] = "usage: tsa list [--code-page N] ARCHIVE\n"
                         "\n"
                         "Prints each file's size, group and name, in the order the installer writes them;\n"
                         "a byte of a name that does not decode is shown as \\xNN.\n";

const char verifyUsage[] =
    "usage: tsa verify [--code-page N] ARCHIVE\n"
    "\n"
    "Decompresses every group and checks the bzip2 CRCs, that each group's unpacked length\n"
    "equals the sum of its sizes and its data, that the bzip2 stream fills exactly the packed\n"
    "length, and that every name, decoded as the installer decodes it on a system with that\n"
    "code page, stays inside the target folder. Exits with 1 on any fault.\n";

const char extractUsage[] =
    "usage: tsa extract [--code-page N] ARCHIVE DIR\n"
    "\n"
    "Extracts ARCHIVE into DIR (made if missing; its parent must exist) with the installer's\n"
    "own engine, through \"buffer.temp\" and \"data.temp\" in the current folder (or the\n"
    "temporary folder), names decoded through the code page. Prints the installation report;\n"
    "exits with 1 if it lists any fault.\n";

int Fail(const std::string &message)
{
    std::fprintf(stderr, "tsa: %s\n", message.c_str());
    return 2;
}

bool WantsHelp(const std::vector<std::string> &arguments)
{
    for (const std::string &argument : arguments) {
        if (argument == "--help" || argument == "-h") return true;
    }
    return false;
}

// Takes "--code-page N" out of the arguments, wherever it stands; asciiOnly when it is absent.
bool TakeCodePage(std::vector<std::string> &arguments, int &codePage, std::string &error)
{
    codePage = asciiOnly;
    size_t k = 0;
    while (k < arguments.size()) {
        if (arguments[k] != "--code-page") {
            ++k;
            continue;
        }
        if (k + 1 == arguments.size()) {
            error = "--code-page needs a value";
            return false;
        }
        const std::string &value = arguments[k + 1];
        char *end = nullptr;
        long number = std::strtol(value.c_str(), &end, 10);
        if (end == value.c_str() || *end != '\0' || number < 0 || number > 65535 ||
            !IsWindowsCodePage(static_cast<int>(number))) {
            error = "unknown code page " + value + " (874, 932, 936, 949, 950 or 1250 to 1258)";
            return false;
        }
        codePage = static_cast<int>(number);
        arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(k),
                        arguments.begin() + static_cast<std::ptrdiff_t>(k + 2));
    }
    return true;
}

bool ParseSize(const std::string &text, int64_t &size)
{
    char *end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 10);
    int64_t unit = 1;
    if (*end == 'K' || *end == 'k')
        unit = 1 << 10, ++end;
    else if (*end == 'M' || *end == 'm')
        unit = 1 << 20, ++end;
    if (end == text.c_str() || *end != '\0' || value <= 0 || value > (int64_t(1) << 31) / unit) return false;
    size = value * unit;
    return true;
}

int Pack(std::vector<std::string> arguments)
{
    int codePage = asciiOnly;
    std::string error;
    if (!TakeCodePage(arguments, codePage, error)) return Fail(error);
    unsigned cores = std::thread::hardware_concurrency();
    int jobs = cores == 0 ? 1 : static_cast<int>(cores);
    int64_t groupSize = 8 << 20;
    std::vector<std::string> paths;
    for (size_t k = 0; k < arguments.size(); ++k) {
        const std::string &argument = arguments[k];
        if (argument == "-j" || argument == "-g") {
            if (k + 1 == arguments.size()) return Fail(argument + " needs a value");
            const std::string &value = arguments[++k];
            int64_t number = 0;
            if (!ParseSize(value, number)) return Fail("bad value for " + argument + ": " + value);
            if (argument == "-j") {
                if (number > 256) return Fail("bad value for -j: " + value);
                jobs = static_cast<int>(number);
            } else {
                groupSize = number;
            }
        } else if (!argument.empty() && argument[0] == '-' && paths.empty()) {
            return Fail("unknown option " + argument + " (see 'tsa pack --help')");
        } else {
            paths.push_back(argument);
        }
    }
    if (paths.size() < 2) return Fail("pack needs an output archive and at least one file or folder");
    std::string output = paths.front();
    paths.erase(paths.begin());

    std::vector<PackEntry> entries;
    if (!CollectEntries(paths, entries, error, codePage)) return Fail(error);
    // An archive written into a folder being packed must not pack itself.
    std::error_code code;
    fs::path outputPath = fs::weakly_canonical(output, code);
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const PackEntry &entry) {
                                     std::error_code ignored;
                                     return fs::weakly_canonical(entry.sourcePath, ignored) == outputPath;
                                 }),
                  entries.end());
    TerminalProgress bar("pack");
    bool ok = WriteArchive(
        output, SplitIntoGroups(entries, groupSize), jobs,
        [&](int64_t done, int64_t total) {
            bar.Show(total == 0 ? 100 : static_cast<int>(done * 100 / total));
        },
        error);
    return ok ? 0 : Fail(error);
}

int List(std::vector<std::string> arguments)
{
    int codePage = asciiOnly;
    std::string error;
    if (!TakeCodePage(arguments, codePage, error)) return Fail(error);
    if (arguments.size() != 1) return Fail("list needs exactly one archive");
    std::vector<ListedEntry> entries;
    if (!ListArchive(arguments[0], entries, error, codePage)) return Fail(error);
    for (const ListedEntry &entry : entries) {
        std::printf("%12lld  %4d  %s\n", static_cast<long long>(entry.size), entry.group, entry.name.c_str());
    }
    return 0;
}

int Verify(std::vector<std::string> arguments)
{
    int codePage = asciiOnly;
    std::string error;
    if (!TakeCodePage(arguments, codePage, error)) return Fail(error);
    if (arguments.size() != 1) return Fail("verify needs exactly one archive");
    VerifyResult result = VerifyArchive(arguments[0], codePage);
    for (const std::string &fault : result.faults)
        std::fprintf(stderr, "%s: %s\n", arguments[0].c_str(), fault.c_str());
    if (!result.faults.empty()) return 1;
    std::printf("%s: %d groups, %lld files, %lld bytes: sound\n", arguments[0].c_str(), result.groups,
                static_cast<long long>(result.files), static_cast<long long>(result.unpackedBytes));
    return 0;
}

class BarProgress : public InstallProgress {
public:
    BarProgress() : bar("extract") {}
    void SetFileProgress(int percent) override
    {
        if (percent == 0) ++fileNumber;
        bar.Show(percent, "file " + std::to_string(fileNumber));
    }
    void SetTotalProgress(int) override {}

private:
    TerminalProgress bar;
    int fileNumber = 0;
};

int Extract(std::vector<std::string> arguments)
{
    int codePage = asciiOnly;
    std::string error;
    if (!TakeCodePage(arguments, codePage, error)) return Fail(error);
    if (arguments.size() != 2) return Fail("extract needs an archive and a folder");
    lumora::String archive(arguments[0].c_str());
    lumora::String target(arguments[1].c_str());
    MakeDirectory(target);
    if (!IsDirectory(target)) return Fail("cannot make the folder " + arguments[1]);
    InstallReport report;
    {
        BarProgress progress;
        ExtractArchive(archive, target, progress, report, archive, codePage);
    }
    for (const InstallFault &fault : report.Faults()) {
        std::fprintf(stderr, "%s: %s\n", static_cast<const char *>(fault.file),
                     static_cast<const char *>(fault.what));
    }
    return report.IsEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    std::string command = arguments.front();
    arguments.erase(arguments.begin());
    struct Command {
        const char *name;
        const char *help;
        int (*run)(std::vector<std::string>);
    };
    const Command commands[] = {{"pack", packUsage, Pack},
                                {"list", listUsage, List},
                                {"verify", verifyUsage, Verify},
                                {"extract", extractUsage, Extract}};
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(usage, stdout);
        return 0;
    }
    for (const Command &entry : commands) {
        if (command != entry.name) continue;
        if (WantsHelp(arguments)) {
            std::fputs(entry.help, stdout);
            std::fputs(codePageHelp, stdout);
            return 0;
        }
        return entry.run(arguments);
    }
    return Fail("unknown command " + command + " (see 'tsa --help')");
}
