#include "tools/program_files_check.h"

#include "tools/package_files.h"
#include "tools/program_file.h"

const wchar_t expectedLibraryVersionKey[] = L"ExpectedLibraryVersion";
const wchar_t libraryVersionKey[] = L"LibraryVersion";

namespace {

using Text = std::wstring;

struct ProgramFile {
    bool found = false;
    ProgramHeader header;
    std::string bytes;
};

ProgramFile Open(const std::filesystem::path &folder, const Text &name)
{
    ProgramFile file;
    std::optional<std::filesystem::path> path = FindInPackage(folder, name);
    if (!path) return file;
    file.found = true;
    file.bytes = ReadProgramBytes(*path);
    file.header = ReadProgramHeader(file.bytes);
    return file;
}

bool IsSetupMachine(uint16_t machine)
{
    return machine == machineI386 || machine == machineAmd64;
}

class ProgramFilesCheck {
public:
    explicit ProgramFilesCheck(const std::filesystem::path &folder)
        : setup(Open(folder, L"setup.exe")), library(Open(folder, L"lumora.dll"))
    {
    }

    ProgramFilesFindings Run()
    {
        bool setupSound = CheckSetup();
        bool librarySound = CheckLibrary();
        if (setupSound && librarySound) CheckTheyMatch();
        return result;
    }

private:
    void Add(Severity severity, const Text &file, const Text &message)
    {
        result.findings.push_back(Finding{severity, L"", L"", 0, file, L"", message});
    }

    bool CheckSetup()
    {
        if (!setup.found) {
            Add(Severity::error, L"setup.exe",
                L"is not in the package folder, so the user has nothing to start; copy it from the kit");
        } else if (!setup.header.isProgram || setup.header.isLibrary) {
            Add(Severity::error, L"setup.exe", L"is not a Windows program; copy setup.exe from the kit");
        } else if (!IsSetupMachine(setup.header.machine)) {
            Add(Severity::error, L"setup.exe",
                L"is a program for " + MachineName(setup.header.machine) + L", which Setup is not built for");
        } else {
            result.setupMachine = setup.header.machine;
            return true;
        }
        return false;
    }

    bool CheckLibrary()
    {
        if (!library.found) {
            Add(Severity::error, L"lumora.dll",
                L"is not in the package folder; setup.exe cannot start without it");
        } else if (!library.header.isProgram || !library.header.isLibrary) {
            Add(Severity::error, L"lumora.dll",
                L"is not a Windows library, so setup.exe cannot start; copy lumora.dll from the kit");
        } else {
            return true;
        }
        return false;
    }

    void CheckTheyMatch()
    {
        if (library.header.machine != setup.header.machine) {
            Add(Severity::error, L"lumora.dll",
                L"is a " + MachineName(library.header.machine) + L" library, but setup.exe is a " +
                    MachineName(setup.header.machine) +
                    L" program; Windows does not load it, so setup.exe cannot start; copy both from one kit "
                    L"folder");
            return;
        }
        Text expected = VersionResourceText(setup.bytes, expectedLibraryVersionKey);
        Text reported = VersionResourceText(library.bytes, libraryVersionKey);
        if (expected.empty() || reported.empty()) {
            Add(Severity::warning, expected.empty() ? L"setup.exe" : L"lumora.dll",
                expected.empty()
                    ? L"does not name the library version it expects, so lumora.dll cannot be "
                      L"matched to it; copy both from one kit folder"
                    : L"does not name its version, so it cannot be matched to setup.exe; copy both "
                      L"from one kit folder");
        } else if (expected != reported) {
            Add(Severity::error, L"lumora.dll",
                L"is version " + reported + L", but setup.exe expects " + expected +
                    L"; Setup warns at start that the library might not be compatible and stops when the "
                    L"user "
                    L"says No; copy both from one kit folder");
        }
    }

    ProgramFile setup;
    ProgramFile library;
    ProgramFilesFindings result;
};

} // namespace

ProgramFilesFindings CheckProgramFiles(const std::filesystem::path &folder)
{
    return ProgramFilesCheck(folder).Run();
}
