// tsa: makes, lists, checks and extracts component archives, and checks whole packages.
#include "bundle/bundle_file.h"
#include "bundle/bundle_writer.h"
#include "install/entry_name.h"
#include "install/extraction.h"
#include "install/platform_fs.h"
#include "lumora/utf8.h"
#include "tools/archive_check.h"
#include "tools/archive_writer.h"
#include "tools/package_check.h"
#include "tools/package_files.h"
#include "tools/package_new.h"
#include "tools/private_folder.h"
#include "tools/program_file.h"
#include "tools/program_files_check.h"
#include "tools/signature_check.h"
#include "tools/terminal_progress.h"
#include "tools/terminal_text.h"
#include "tools/text_in_code_page.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

const char usage[] = "usage: tsa COMMAND [OPTIONS] [--] ARGUMENTS\n"
                     "\n"
                     "Commands:\n"
                     "  pack     make an archive from files and folders\n"
                     "  list     show the files an archive holds\n"
                     "  verify   check every group of an archive\n"
                     "  extract  unpack an archive exactly as the installer does\n"
                     "  check    read a package folder as the installer will and name every fault\n"
                     "  new      make a package folder from an application folder\n"
                     "  bundle   make one signable Windows program of a package folder, or check one\n"
                     "  encode   write a UTF-8 text in a code page, as setup.tsi and the licence are read\n"
                     "\n"
                     "'tsa COMMAND --help' describes a command, 'tsa --version' prints the tool's\n"
                     "version. \"--\" ends the options, so a name after it may start with \"-\". Names\n"
                     "from files are shown with control bytes and bytes from 0x7F up as \\xNN.\n"
                     "\n"
                     "Exit status: 0 done, 1 a fault in the input or an error while working, 2 bad usage.\n";

const char packUsage[] =
    "usage: tsa pack [-j N] [-g SIZE] [--code-page N] [--prefix DIR/] [--exclude PATTERN]... [--] OUT.tsa\n"
    "                PATH...\n"
    "\n"
    "Makes OUT.tsa from the given files and folders. A file is stored under its own name,\n"
    "the files inside a folder (at every depth) under their paths relative to that folder,\n"
    "with \"/\" between levels. The files are split into groups of about SIZE bytes, each\n"
    "compressed with bzip2 level 9; the archive is the same whatever the number of threads.\n"
    "OUT.tsa is written under another name beside it and takes the place of the old one only\n"
    "when complete, so a failed run leaves the old archive as it was.\n"
    "\n"
    "Names the installer would refuse or not keep are refused, one line per file: device\n"
    "names such as CON or LPT1 at any level, a level ending in a dot or space, \":\", control\n"
    "characters, \"\\\" inside a file name, and names that differ only in letter case.\n"
    "Folders left without files are not stored (an archive holds files only) and are named\n"
    "on standard error.\n"
    "\n"
    "  -j N               compress N groups at a time (default: the number of processors)\n"
    "  -g SIZE            group size in bytes, or with a K or M suffix (default 8M)\n"
    "  --prefix DIR/      store every name below the folder DIR\n"
    "  --exclude PATTERN  leave out what matches PATTERN (may be given again): \"*\" matches any\n"
    "                     run of characters and \"?\" any one, but not \"/\", \"[...]\" one of a\n"
    "                     set; a pattern holding \"/\" is matched against the path below the\n"
    "                     folder given, one without against every level's name; one ending\n"
    "                     in \"/\" (\"bin/\") leaves out folders only. Letter case does not\n"
    "                     matter, as on Windows; a pattern that matches nothing is warned of\n"
    "  --code-page N      store names in Windows code page N: 874, 932, 936, 949, 950 or 1250\n"
    "                     to 1258, the system code page of the machines that will install the\n"
    "                     archive (default: none; only ASCII names can be stored)\n"
    "\n"
    "Names are read as the system gives them (UTF-8 on Linux); a name the code page cannot store\n"
    "exactly is refused like the others.\n"
    "\n"
    "Exit status: 0 written, 1 a name refused or a file unreadable (nothing is written), 2 bad usage.\n";

const char listUsage[] =
    "usage: tsa list [--code-page N] [--] ARCHIVE\n"
    "\n"
    "Prints each file's size, group and name, in the order the installer writes them, then\n"
    "the totals. When a group table is damaged, the groups before it are listed, then the fault.\n"
    "Names are decoded through code page N (see 'tsa pack --help'); without it, or where a\n"
    "byte does not decode, bytes beyond ASCII are shown as \\xNN.\n"
    "\n"
    "Exit status: 0 listed, 1 the archive cannot be read in full, 2 bad usage.\n";

const char verifyUsage[] =
    "usage: tsa verify [--code-page N] [--] ARCHIVE\n"
    "\n"
    "Decompresses every group and checks the bzip2 CRCs, that each group's unpacked length\n"
    "equals the sum of its sizes and its data, that the bzip2 stream fills exactly the packed\n"
    "length, and that every name, decoded as the installer decodes it on a system of code page\n"
    "N (see 'tsa pack --help'; without it only ASCII names pass), stays inside the target\n"
    "folder. A damaged group table is one\n"
    "fault, as nothing after it can be found. One byte after the last group is noted: the\n"
    "installer ignores it.\n"
    "\n"
    "Exit status: 0 sound, 1 any fault, 2 bad usage.\n";

const char extractUsage[] =
    "usage: tsa extract [-j N] [--code-page N] [--] ARCHIVE DIR\n"
    "\n"
    "Extracts ARCHIVE into DIR (made if missing; its parent must exist) with the installer's\n"
    "own engine, names decoded through code page N (see 'tsa pack --help'). Up to N groups\n"
    "are unpacked at a time (-j; default: the number of processors), while files are still\n"
    "written in the archive's order, so the result is the installer's. Its temporary\n"
    "files lie in a new folder of the temporary folder that belongs\n"
    "to this run alone, so runs sharing a working folder never meet. Prints nothing when\n"
    "every file is written; otherwise one line per fault on standard error, naming the file.\n"
    "\n"
    "Exit status: 0 every file written, 1 the report lists a fault, 2 bad usage.\n";

const char checkUsage[] =
    "usage: tsa check [--code-page N] [--json] [--plan] [--] PACKAGE_DIR\n"
    "\n"
    "Reads PACKAGE_DIR/setup.tsi as the installer will (sections and keys in any letter case,\n"
    "the installer's defaults, values cut at 255 characters, text in the system code page),\n"
    "verifies every component's archive and the program files, and prints one line per\n"
    "finding, \"error:\" or \"warning:\" with the section and key or the file and entry it\n"
    "concerns, then the number of each. Errors stop the installation or leave it incomplete;\n"
    "warnings are what users would likely not want. setup.exe and lumora.dll must be there,\n"
    "built for one processor and of the library version setup.exe expects; they are warned\n"
    "about when they carry no signature, and an error when they were changed after they were\n"
    "signed (tsa for Windows cannot verify signatures, and says so).\n"
    "\n"
    "  --code-page N  the system code page of the machines that will install the package (see\n"
    "                 'tsa pack --help'): setup.tsi, the licence and the archives' names are\n"
    "                 read in it; without it only ASCII names pass\n"
    "  --json         print each finding and the count as one JSON object per line\n"
    "  --plan         then list what the installation writes with every component ticked,\n"
    "                 in its order: \"file: PATH\" below the destination, \"link: PATH -> TARGET\"\n"
    "                 below the Start menu's Programs folder (with --json: {\"write\": LINE})\n"
    "\n"
    "Exit status: 0 no error (warnings allowed), 1 at least one error, 2 bad usage.\n";

const char newUsage[] =
    "usage: tsa new [--version V] [--company C] [--language L] [--code-page N]\n"
    "               [--arch win32|win64] [--licence FILE] [--runtime DIR] [--bundle OUT.exe]\n"
    "               [--] NAME APP_FOLDER OUT\n"
    "\n"
    "Makes the package folder OUT (new, or empty) for the application in APP_FOLDER, called\n"
    "NAME: the files at the top of APP_FOLDER become the main program, a required component;\n"
    "each top-level folder becomes a component of its own, installed into a folder of its\n"
    "name. Every component's archive is packed; setup.tsi is written with every page and every\n"
    "key, each explained, and a Start menu link for every program at the top; setup.exe and\n"
    "lumora.dll are copied in. Then the package is checked as 'tsa check' does. Read and edit\n"
    "setup.tsi (the texts, which components are ticked, the links), then run 'tsa check'.\n"
    "\n"
    "  --version V      the version shown on the background (default 1.0)\n"
    "  --company C      the company shown on the background (default: none shown)\n"
    "  --language L     the language of the wizard's texts and pages: en (the default), de,\n"
    "                   fr, es (code page 1252), ru (1251), pl (1250), ja (932) or zh-CN\n"
    "                   (936); its code page is taken unless --code-page names one that\n"
    "                   holds its texts too\n"
    "  --code-page N    the system code page of the users' machines (see 'tsa pack --help'):\n"
    "                   setup.tsi, the licence and the archives' names are written in it;\n"
    "                   without it only ASCII names and texts can be written\n"
    "  --arch A         win32 (the 32-bit setup.exe) or win64 (the x86-64 one, which proposes\n"
    "                   the 64-bit Program Files folder); default win64 when the application\n"
    "                   holds a 64-bit program, win32 otherwise\n"
    "  --licence FILE   a licence text the License page shows (default: no License page); UTF-8\n"
    "                   is converted to the code page, other text is taken as written in it\n"
    "  --runtime DIR    the folder to copy setup.exe, lumora.dll and uninstall.exe from (default:\n"
    "                   the kit's win32/ or win64/ folder beside this tool)\n"
    "  --bundle OUT.exe also make the package into one program, as 'tsa bundle' does, when the\n"
    "                   check finds no error\n"
    "\n"
    "Exit status: 0 made and no error found, 1 a fault (nothing is left in OUT when it\n"
    "could not be made), 2 bad usage.\n";

const char bundleUsage[] =
    "usage: tsa bundle [--arch win32|win64] [--code-page N] [--runtime DIR] [--] PACKAGE_DIR OUT.exe\n"
    "       tsa bundle --check [--] BUNDLE.exe\n"
    "\n"
    "Makes OUT.exe, one Windows program that carries the package folder: the kit's launcher,\n"
    "then every file of PACKAGE_DIR at any depth, stored as it is, then the SHA-256 of what it\n"
    "carries. Started, the program checks that SHA-256, unpacks the files into a new folder of\n"
    "its own in the user's temporary folder, runs setup.exe there with its own command line\n"
    "(every switch of setup.exe works on the bundle), waits, removes the folder and ends with\n"
    "setup.exe's exit code. The package is checked first, as 'tsa check' does; a package with\n"
    "an error is refused and nothing is written. Sign OUT.exe as a whole (osslsigncode sign):\n"
    "the signature then covers everything it carries.\n"
    "\n"
    "  --arch A       the launcher's processor, win32 or win64; the one setup.exe is built for\n"
    "                 (the default), as a bundle runs only where both run\n"
    "  --code-page N  the code page of the users' systems, as for 'tsa check'\n"
    "  --runtime DIR  the folder holding launcher.exe (default: the kit's win32/ or win64/\n"
    "                 folder beside this tool)\n"
    "  --check        check BUNDLE.exe instead: its trailer, the SHA-256 of what it carries and\n"
    "                 every name, as the launcher checks them; lists the files it carries\n"
    "\n"
    "Exit status: 0 made, or sound; 1 a fault in the package or the bundle; 2 bad usage.\n";

void Say(const std::string &message)
{
    std::fprintf(stderr, "tsa: %s\n", TerminalText(message).c_str());
}

const char encodeUsage[] =
    "usage: tsa encode --code-page N [--] IN OUT\n"
    "\n"
    "Writes the text of IN to OUT in code page N, the one the installer reads setup.tsi and\n"
    "the licence in on the users' systems: for files a build script writes in UTF-8. A UTF-8\n"
    "text is converted and its byte order mark dropped; any other is taken as written in the\n"
    "code page already, and copied.\n"
    "\n"
    "Exit status: 0 written, 1 a character the code page cannot hold (named with its line) or\n"
    "a file that cannot be read or written, 2 bad usage.\n";

int Usage(const std::string &message)
{
    Say(message);
    return 2;
}

int Fault(const std::string &message)
{
    Say(message);
    return 1;
}

// A command's arguments: options before "--", with their values, and the rest in order.
struct Arguments {
    std::vector<std::pair<std::string, std::string>> options;
    std::vector<std::string> names;
    int codePage = asciiOnly; // of "--code-page N"
    std::string error;        // why the command line is wrong
};

Arguments ParseArguments(const std::vector<std::string> &arguments, const std::vector<std::string> &withValue,
                         const std::vector<std::string> &flags)
{
    Arguments parsed;
    bool optionsEnded = false;
    for (size_t k = 0; k < arguments.size() && parsed.error.empty(); ++k) {
        const std::string &argument = arguments[k];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            parsed.names.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (std::find(withValue.begin(), withValue.end(), argument) != withValue.end()) {
            if (k + 1 == arguments.size())
                parsed.error = argument + " needs a value";
            else
                parsed.options.emplace_back(argument, arguments[++k]);
        } else if (std::find(flags.begin(), flags.end(), argument) != flags.end()) {
            parsed.options.emplace_back(argument, "");
        } else {
            parsed.error = "unknown option " + argument;
        }
    }
    return parsed;
}

// "--code-page N" of the command line, asciiOnly when it is absent; false with `error` for a
// value that names no Windows code page.
bool CodePageOf(const Arguments &arguments, int &codePage, std::string &error)
{
    codePage = asciiOnly;
    for (const auto &option : arguments.options) {
        if (option.first != "--code-page") continue;
        const std::string &value = option.second;
        char *end = nullptr;
        long number = std::strtol(value.c_str(), &end, 10);
        if (end == value.c_str() || *end != '\0' || number < 0 || number > 65535 ||
            !IsWindowsCodePage(static_cast<int>(number))) {
            error = "unknown code page " + value + " (874, 932, 936, 949, 950 or 1250 to 1258)";
            return false;
        }
        codePage = static_cast<int>(number);
    }
    return true;
}

std::string Counted(long long count, const char *thing)
{
    return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
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

// The default for -j: one job for each processor.
int ProcessorCount()
{
    unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

struct PackSettings {
    int jobs = 1;
    int64_t groupSize = 8 << 20;
    PackOptions options;
};

// "--prefix DIR/": the folder every name is stored below, with one "/" after it.
bool ParsePrefix(const std::string &value, std::string &prefix, std::string &error)
{
    std::string given = value;
    std::replace(given.begin(), given.end(), '\\', '/');
    // "x//y/" and "x/./y" name the folder "x/y", and are stored so.
    std::string folder;
    size_t start = 0;
    while (start <= given.size()) {
        size_t end = std::min(given.find('/', start), given.size());
        std::string level = given.substr(start, end - start);
        start = end + 1;
        if (level.empty() || level == ".") continue;
        folder += (folder.empty() ? "" : "/") + level;
    }
    // A leading separator stays, to be refused with the others.
    if (!given.empty() && given[0] == '/') folder.insert(0, "/");
    ArchiveFaultKind fault = PackNameFault(lumora::String(folder.c_str()));
    if (fault != ArchiveFaultKind::none) {
        error = "bad value for --prefix: " + value + ": " + FaultWords(fault);
        return false;
    }
    prefix = folder + "/";
    return true;
}

// The options of `tsa pack`; false with the usage error for a bad value.
bool ReadPackSettings(const Arguments &arguments, PackSettings &settings, std::string &error)
{
    settings.jobs = ProcessorCount();
    settings.options.codePage = arguments.codePage;
    for (const auto &option : arguments.options) {
        const std::string &value = option.second;
        if (option.first == "--code-page") continue;
        if (option.first == "-j" || option.first == "-g") {
            int64_t number = 0;
            if (!ParseSize(value, number) || (option.first == "-j" && number > 256)) {
                error = "bad value for " + option.first + ": " + value;
                return false;
            }
            if (option.first == "-j")
                settings.jobs = static_cast<int>(number);
            else
                settings.groupSize = number;
        } else if (option.first == "--prefix") {
            if (!ParsePrefix(value, settings.options.prefix, error)) return false;
        } else {
            settings.options.excludes.push_back(value);
        }
    }
    return true;
}

// An archive written into a folder being packed must not pack itself.
void LeaveOutArchiveItself(std::vector<PackEntry> &entries, const std::string &output)
{
    std::error_code code;
    fs::path outputPath = fs::weakly_canonical(output, code);
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const PackEntry &entry) {
                                     std::error_code ignored;
                                     return fs::weakly_canonical(entry.sourcePath, ignored) == outputPath;
                                 }),
                  entries.end());
}

int Pack(const Arguments &arguments)
{
    PackSettings settings;
    std::string error;
    if (!ReadPackSettings(arguments, settings, error)) return Usage(error);
    if (arguments.names.size() < 2)
        return Usage("pack needs an output archive and at least one file or folder");
    const std::string &output = arguments.names.front();
    std::vector<fs::path> paths(arguments.names.begin() + 1, arguments.names.end());

    Collection collection = CollectEntries(paths, settings.options);
    for (const std::string &note : collection.notes) Say(note);
    for (const std::string &fault : collection.faults) Say(fault);
    if (!collection.faults.empty()) return Fault("nothing is written");
    LeaveOutArchiveItself(collection.entries, output);
    TerminalProgress bar("pack");
    bool ok = WriteArchive(
        output, SplitIntoGroups(collection.entries, settings.groupSize), settings.jobs,
        [&](int64_t done, int64_t total) {
            bar.Show(total == 0 ? 100 : static_cast<int>(done * 100 / total));
        },
        error);
    return ok ? 0 : Fault(error);
}

int List(const Arguments &arguments)
{
    if (arguments.names.size() != 1) return Usage("list needs exactly one archive");
    const std::string &path = arguments.names[0];
    ArchiveListing listing = ListArchive(lumora::String(path.c_str()), arguments.codePage);
    // An archive that cannot be opened or is none has nothing to total.
    if (listing.groups == 0 && listing.fault.kind != ArchiveFaultKind::none)
        return Fault(path + ": " + FaultText(listing.fault));
    // The names come decoded, with their control characters escaped; the rest as the terminal shows it.
    for (const ListedEntry &entry : listing.entries)
        std::printf("%12lld  %4d  %s\n", static_cast<long long>(entry.size), entry.group,
                    TerminalText(entry.name).c_str());
    std::printf("%s in %s: %s stored, %s packed\n",
                Counted(static_cast<long long>(listing.entries.size()), "file").c_str(),
                Counted(listing.groups, "group").c_str(), Counted(listing.storedBytes, "byte").c_str(),
                Counted(listing.packedBytes, "byte").c_str());
    if (listing.fault.kind != ArchiveFaultKind::none) return Fault(path + ": " + FaultText(listing.fault));
    return 0;
}

int Verify(const Arguments &arguments)
{
    if (arguments.names.size() != 1) return Usage("verify needs exactly one archive");
    const std::string &path = arguments.names[0];
    VerifyResult result = VerifyArchive(lumora::String(path.c_str()), arguments.codePage);
    for (const ArchiveFault &fault : result.faults)
        std::fprintf(stderr, "%s: %s\n", TerminalText(path).c_str(), FaultText(fault).c_str());
    if (result.trailingByte) {
        std::printf(
            "%s\n",
            TerminalText(path + ": note: one byte follows the last group; the installer ignores it").c_str());
    }
    if (!result.faults.empty()) return 1;
    std::printf("%s\n", TerminalText(path + ": " + Counted(result.listing.groups, "group") + ", " +
                                     Counted(static_cast<long long>(result.listing.entries.size()), "file") +
                                     ", " + Counted(result.listing.storedBytes, "byte") + ": sound")
                            .c_str());
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

int Extract(const Arguments &arguments)
{
    if (arguments.names.size() != 2) return Usage("extract needs an archive and a folder");
    int jobs = ProcessorCount();
    for (const auto &option : arguments.options) {
        int64_t number = 0;
        if (option.first != "-j") continue;
        if (!ParseSize(option.second, number) || number > 256)
            return Usage("bad value for -j: " + option.second);
        jobs = static_cast<int>(number);
    }
    const std::string &archiveArgument = arguments.names[0];
    const std::string &targetArgument = arguments.names[1];
    std::error_code code;
    // Both are found from here before the run moves into its private folder.
    fs::path archive = fs::absolute(archiveArgument, code);
    fs::path target = fs::absolute(targetArgument, code);
    fs::path workingFolder = fs::current_path(code);
    if (code) return Fault("the current folder cannot be found: " + code.message());
    lumora::String targetText = EngineText(target);
    MakeDirectory(targetText);
    if (!IsDirectory(targetText)) return Fault(targetArgument + ": the folder cannot be made");
    PrivateFolder temporary;
    if (temporary.Path().empty()) return Fault("no private folder can be made in the temporary folder");
    fs::current_path(temporary.Path(), code);
    if (code) return Fault("the private temporary folder cannot be entered: " + code.message());
    InstallReport report;
    lumora::String archiveText = EngineText(archive);
    {
        BarProgress progress;
        ExtractArchive(archiveText, targetText, progress, report, archiveText, arguments.codePage, jobs);
    }
    fs::current_path(workingFolder, code);
    for (const InstallFault &fault : report.Faults()) {
        std::string file = fault.file == archiveText ? TerminalText(archiveArgument)
                                                     : TerminalText(static_cast<const wchar_t *>(fault.file));
        std::fprintf(stderr, "%s: %s\n", file.c_str(),
                     TerminalText(static_cast<const wchar_t *>(fault.what)).c_str());
    }
    return report.IsEmpty() ? 0 : 1;
}

// plan: list what the installation writes after the findings. setupMachine receives the processor
// of the package's setup.exe.
int PrintCheck(const fs::path &folder, int codePage, bool json, bool plan = false,
               uint16_t *setupMachine = nullptr);

bool HasFlag(const Arguments &arguments, const char *flag)
{
    return std::any_of(arguments.options.begin(), arguments.options.end(),
                       [flag](const auto &option) { return option.first == flag; });
}

int Check(const Arguments &arguments)
{
    if (arguments.names.size() != 1) return Usage("check needs exactly one package folder");
    const std::string &folder = arguments.names[0];
    std::error_code code;
    if (!fs::is_directory(folder, code)) return Usage(folder + ": no such folder");
    return PrintCheck(folder, arguments.codePage, HasFlag(arguments, "--json"), HasFlag(arguments, "--plan"));
}

std::wstring WideArgument(const std::string &argument)
{
    return static_cast<const wchar_t *>(lumora::String(argument.c_str()));
}

fs::path ToolFolder()
{
    std::error_code code;
#ifdef _WIN32
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return fs::path(path).parent_path();
#else
    return fs::read_symlink("/proc/self/exe", code).parent_path();
#endif
}

// The kit's folder of that architecture beside this tool, the one holding file: the tool lies in
// linux-x86_64/, win32/ or win64/ of the kit.
fs::path KitRuntime(const std::string &architecture, const char *file = "setup.exe")
{
    fs::path tool = ToolFolder();
    std::error_code code;
    for (const fs::path &candidate : {tool.parent_path() / architecture, tool / architecture, tool}) {
        if (fs::is_regular_file(candidate / file, code) &&
            (candidate != tool || tool.filename() == architecture))
            return candidate;
    }
    return tool.parent_path() / architecture;
}

int PrintCheck(const fs::path &folder, int codePage, bool json, bool plan, uint16_t *setupMachine)
{
    ProgramFilesFindings programs = CheckProgramFiles(folder);
    if (setupMachine != nullptr) *setupMachine = programs.setupMachine;
    std::vector<Finding> findings = programs.findings;
    std::vector<std::wstring> writes;
    std::vector<Finding> package =
        CheckPackage(folder, CheckOptions{codePage, programs.setupMachine}, &writes);
    findings.insert(findings.end(), package.begin(), package.end());
    // A file that is no program has no signature to speak of; its error says enough.
    for (const Finding &signature : CheckSignatures(folder)) {
        bool named =
            std::any_of(programs.findings.begin(), programs.findings.end(), [&](const Finding &finding) {
                return finding.severity == Severity::error && finding.file == signature.file;
            });
        if (!named) findings.push_back(signature);
    }
    for (const Finding &finding : findings)
        std::printf("%s\n", (json ? FindingJson(finding) : FindingLine(finding)).c_str());
    std::printf("%s\n", CountLine(findings, json).c_str());
    if (plan)
        for (const std::wstring &write : writes)
            std::printf("%s\n", (json ? WriteJson(write) : TerminalText(write)).c_str());
    bool errors = std::any_of(findings.begin(), findings.end(),
                              [](const Finding &finding) { return finding.severity == Severity::error; });
    return errors ? 1 : 0;
}

int WriteBundleOf(const fs::path &folder, const fs::path &out, const std::string &architecture,
                  uint16_t setupMachine, const fs::path &runtime);

int New(const Arguments &arguments)
{
    if (arguments.names.size() != 3)
        return Usage("new needs a name, an application folder and a package folder");
    NewPackageSettings settings;
    settings.name = WideArgument(arguments.names[0]);
    settings.application = arguments.names[1];
    settings.output = arguments.names[2];
    settings.codePage = arguments.codePage;
    settings.jobs = ProcessorCount();
    std::string runtime;
    fs::path bundle;
    for (const auto &option : arguments.options) {
        if (option.first == "--bundle") bundle = option.second;
        if (option.first == "--language") {
            settings.translation = FindTranslation(option.second);
            if (!settings.translation)
                return Usage("unknown language " + option.second + " (" + LanguageList() + ")");
            std::string error;
            if (!ChooseCodePage(*settings.translation, arguments.codePage, settings.codePage, error))
                return Usage(error);
        }
        if (option.first == "--version") settings.version = WideArgument(option.second);
        if (option.first == "--company") settings.company = WideArgument(option.second);
        if (option.first == "--licence" || option.first == "--license") settings.licence = option.second;
        if (option.first == "--runtime") runtime = option.second;
        if (option.first == "--arch") {
            if (option.second != "win32" && option.second != "win64")
                return Usage("bad value for --arch: " + option.second + " (win32 or win64)");
            settings.architecture = option.second;
        }
    }
    if (settings.name.empty()) return Usage("the name must not be empty");
    if (settings.architecture.empty()) settings.architecture = ApplicationArchitecture(settings.application);
    settings.runtime = runtime.empty() ? KitRuntime(settings.architecture) : fs::path(runtime);
    std::string error;
    if (!MakeNewPackage(
            settings, [](const std::string &line) { Say(line); }, error))
        return Fault(error);
    Say(settings.output.string() + ": made for " + settings.architecture + "; checking it:");
    uint16_t setupMachine = 0;
    int checked = PrintCheck(settings.output, settings.codePage, false, false, &setupMachine);
    if (checked != 0 && !bundle.empty())
        Say(bundle.string() + ": the check finds errors (above); no bundle is written");
    if (checked != 0 || bundle.empty()) return checked;
    return WriteBundleOf(settings.output, bundle, settings.architecture, setupMachine, settings.runtime);
}

std::string BundleFaultText(BundleFault fault)
{
    switch (fault) {
    case BundleFault::none:
        break;
    case BundleFault::notAProgram:
        return "no Windows program, or its certificate table lies beyond its end";
    case BundleFault::noTrailer:
        return "ends without a bundle's trailer: cut short, or no bundle";
    case BundleFault::payloadOutside:
        return "its trailer names more bytes than the file holds before it";
    case BundleFault::digestDiffers:
        return "what it carries differs from the SHA-256 its trailer names: changed or cut short";
    case BundleFault::damagedTable:
        return "its table of files is damaged";
    case BundleFault::nameRefused:
        return "it names a file outside its folder, or one Windows allows for no file";
    case BundleFault::nameTwice:
        return "it names one file twice";
    }
    return "sound";
}

std::string Hex(const uint8_t *bytes, size_t size)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (size_t k = 0; k < size; ++k) text += std::string{digits[bytes[k] >> 4], digits[bytes[k] & 15]};
    return text;
}

int CheckBundle(const std::string &path)
{
    BundleContents contents = ReadBundle(path);
    if (contents.fault != BundleFault::none) return Fault(path + ": " + BundleFaultText(contents.fault));
    uint64_t carried = 0;
    bool startable = false;
    for (const BundledFile &file : contents.files) {
        std::wstring name(file.name.begin(), file.name.end());
        std::printf("%12llu  %s\n", static_cast<unsigned long long>(file.size), TerminalText(name).c_str());
        carried += file.size;
        startable = startable || lumora::AsciiUppercase(name) == L"SETUP.EXE";
    }
    if (!startable)
        return Fault(path + ": holds no setup.exe at its top, so the launcher has nothing to start");
    std::string head(static_cast<size_t>(std::min<uint64_t>(contents.payloadStart, programHeadSize)), '\0');
    std::ifstream(path, std::ios::binary).read(&head[0], static_cast<std::streamsize>(head.size()));
    std::printf("%s\n",
                TerminalText(path + ": launcher for " +
                             lumora::Utf8FromWide(MachineName(ReadProgramHeader(head).machine)) + ", " +
                             Counted(static_cast<long long>(contents.files.size()), "file") + " of " +
                             Counted(static_cast<long long>(carried), "byte") + ", SHA-256 " +
                             Hex(contents.trailer.digest, sha256Size) + ", " +
                             (ReadSignatureState(path) == SignatureState::present ? "signed" : "not signed") +
                             ": sound")
                    .c_str());
    return 0;
}

// The launcher of the kit for architecture, from runtime or the kit beside the tool, before
// the package's files as one program; the package has been checked.
int WriteBundleOf(const fs::path &folder, const fs::path &out, const std::string &architecture,
                  uint16_t setupMachine, const fs::path &runtime)
{
    uint16_t machine = architecture == "win64" ? machineAmd64 : machineI386;
    if (setupMachine != machine)
        return Fault("setup.exe is built for " + lumora::Utf8FromWide(MachineName(setupMachine)) +
                     ", not for " + architecture +
                     ": a bundle runs only where both its launcher and setup.exe run");
    fs::path launcherPath =
        (runtime.empty() ? KitRuntime(architecture, "launcher.exe") : runtime) / "launcher.exe";
    std::string launcher = ReadProgramBytes(launcherPath), error;
    if (launcher.empty())
        return Fault(launcherPath.string() + ": the kit's launcher cannot be read (see --runtime)");
    if (ReadProgramHeader(launcher).machine != machine)
        return Fault(launcherPath.string() + ": no launcher for " + architecture);
    std::vector<BundleFile> files;
    if (!BundleLauncher(launcher, error) || !CollectBundleFiles(folder, out, files, error) ||
        !WriteBundle(launcher, files, out, error))
        return Fault(error);
    uint64_t carried = 0;
    for (const BundleFile &file : files) carried += file.size;
    Say(out.string() + ": " + Counted(static_cast<long long>(files.size()), "file") + " of " +
        Counted(static_cast<long long>(carried), "byte") + " behind the " + architecture +
        " launcher; sign it as a whole before publishing it");
    return 0;
}

int Bundle(const Arguments &arguments)
{
    bool check = false;
    std::string architecture;
    fs::path runtime;
    for (const auto &option : arguments.options) {
        if (option.first == "--check") check = true;
        if (option.first == "--runtime") runtime = option.second;
        if (option.first == "--arch") {
            if (option.second != "win32" && option.second != "win64")
                return Usage("bad value for --arch: " + option.second + " (win32 or win64)");
            architecture = option.second;
        }
    }
    if (check) {
        if (arguments.names.size() != 1) return Usage("bundle --check needs exactly one bundle");
        return CheckBundle(arguments.names[0]);
    }
    if (arguments.names.size() != 2) return Usage("bundle needs a package folder and the program to write");
    const fs::path folder = arguments.names[0], out = arguments.names[1];
    std::error_code code;
    if (!fs::is_directory(folder, code)) return Usage(folder.string() + ": no such folder");
    uint16_t setupMachine = 0;
    if (PrintCheck(folder, arguments.codePage, false, false, &setupMachine) != 0)
        return Fault(folder.string() + ": the check finds errors (above); no bundle is written");
    if (architecture.empty()) architecture = setupMachine == machineAmd64 ? "win64" : "win32";
    return WriteBundleOf(folder, out, architecture, setupMachine, runtime);
}

int Encode(const Arguments &arguments)
{
    if (arguments.names.size() != 2) return Usage("encode needs the text to read and the file to write");
    std::string error;
    if (!WriteTextInCodePage(arguments.names[0], arguments.names[1], arguments.codePage, error))
        return Fault(error);
    return 0;
}

int Run(std::vector<std::string> arguments)
{
    if (arguments.empty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    std::string command = arguments.front();
    arguments.erase(arguments.begin());
    struct Command {
        const char *name;
        const char *help;
        std::vector<std::string> withValue;
        std::vector<std::string> flags;
        int (*run)(const Arguments &);
    };
    const Command commands[] = {
        {"pack", packUsage, {"-j", "-g", "--prefix", "--exclude", "--code-page"}, {}, Pack},
        {"list", listUsage, {"--code-page"}, {}, List},
        {"verify", verifyUsage, {"--code-page"}, {}, Verify},
        {"extract", extractUsage, {"-j", "--code-page"}, {}, Extract},
        {"check", checkUsage, {"--code-page"}, {"--json", "--plan"}, Check},
        {"new",
         newUsage,
         {"--version", "--company", "--language", "--code-page", "--arch", "--licence", "--license",
          "--runtime", "--bundle"},
         {},
         New},
        {"bundle", bundleUsage, {"--arch", "--code-page", "--runtime"}, {"--check"}, Bundle},
        {"encode", encodeUsage, {"--code-page"}, {}, Encode}};
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(usage, stdout);
        return 0;
    }
    if (command == "--version") {
        std::printf("tsa %s\n", SETUP_VERSION);
        return 0;
    }
    for (const Command &entry : commands) {
        if (command != entry.name) continue;
        std::vector<std::string> flags = entry.flags;
        flags.insert(flags.end(), {"--help", "-h"});
        Arguments parsed = ParseArguments(arguments, entry.withValue, flags);
        if (!parsed.error.empty()) return Usage(parsed.error + " (see 'tsa " + command + " --help')");
        auto help = std::find_if(parsed.options.begin(), parsed.options.end(), [](const auto &option) {
            return option.first == "--help" || option.first == "-h";
        });
        if (help != parsed.options.end()) {
            std::fputs(entry.help, stdout);
            return 0;
        }
        if (!CodePageOf(parsed, parsed.codePage, parsed.error)) return Usage(parsed.error);
        return entry.run(parsed);
    }
    return Usage("unknown command " + command + " (see 'tsa --help')");
}

} // namespace

int main(int argc, char **argv)
{
    // Every file system failure is meant to be a line of its own; this is the last guard.
    try {
        SetTerminalUtf8(DetectTerminalUtf8());
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception &failure) {
        return Fault(failure.what());
    }
}
