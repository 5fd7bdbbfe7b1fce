// What Windows reads from the program files before running them: setup.exe's and the bundle
// launcher's application manifests, the libraries the launcher needs, every file's version
// resource, and PE headers without a build time, read back out of the built files beside this
// test.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::wstring BesideThisTest(const std::wstring &name)
{
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(length);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

std::wstring Wide(const char *text)
{
    return std::wstring(text, text + strlen(text));
}

// The manifest Windows reads when it starts the program: resource 1 of type RT_MANIFEST.
std::string ManifestOf(const std::wstring &file)
{
    HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return "";
    std::string text;
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        const char *bytes = static_cast<const char *>(LockResource(LoadResource(module, found)));
        if (bytes != nullptr) text.assign(bytes, SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

class VersionResource {
public:
    explicit VersionResource(const std::wstring &file)
    {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
        if (size == 0) return;
        data.resize(size);
        if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) data.clear();
    }
    bool Found() const { return !data.empty(); }
    std::wstring Value(const wchar_t *name) const
    {
        void *value = nullptr;
        UINT length = 0;
        std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (data.empty() || !VerQueryValueW(data.data(), path.c_str(), &value, &length) || length == 0)
            return L"";
        return static_cast<const wchar_t *>(value);
    }
    VS_FIXEDFILEINFO Fixed() const
    {
        VS_FIXEDFILEINFO fixed = {};
        void *value = nullptr;
        UINT length = 0;
        if (!data.empty() && VerQueryValueW(data.data(), L"\\", &value, &length) && length >= sizeof(fixed))
            fixed = *static_cast<const VS_FIXEDFILEINFO *>(value);
        return fixed;
    }

private:
    std::vector<char> data;
};

// The four numbers of the fixed part, as "1.0.0.0".
std::wstring FixedVersion(const VS_FIXEDFILEINFO &fixed)
{
    return std::to_wstring(HIWORD(fixed.dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(fixed.dwFileVersionMS)) + L"." +
           std::to_wstring(HIWORD(fixed.dwFileVersionLS)) + L"." +
           std::to_wstring(LOWORD(fixed.dwFileVersionLS));
}

DWORD HeaderTimeStamp(const std::wstring &file)
{
    HMODULE module = LoadLibraryExW(file.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (module == nullptr) return 0xFFFFFFFF;
    auto base = reinterpret_cast<const BYTE *>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    DWORD stamp = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew)->FileHeader.TimeDateStamp;
    FreeLibrary(module);
    return stamp;
}

TEST(ProgramResources, SetupAsksForAdministratorRightsAndNamesItsSystems)
{
    std::string manifest = ManifestOf(BesideThisTest(L"setup.exe"));
    ASSERT_FALSE(manifest.empty()) << "setup.exe carries no manifest";
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"),
              std::string::npos);
    const char *systems[] = {
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};
    for (const char *system : systems)
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + system + "\"/>"), std::string::npos)
            << system;
    std::string version = SETUP_VERSION;
    for (size_t dots = std::count(version.begin(), version.end(), '.'); dots < 3; ++dots) version += ".0";
    EXPECT_NE(manifest.find("name=\"Setup.Installer\" version=\"" + version + "\""), std::string::npos);
    // Laid out in fixed pixels, the wizard must leave scaling to Windows.
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);
    // Another look would change what the user sees.
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
}

TEST(ProgramResources, ABundleAsksForWhatSetupAsksFor)
{
    std::string manifest = ManifestOf(BesideThisTest(L"launcher.exe"));
    ASSERT_FALSE(manifest.empty()) << "launcher.exe carries no manifest";
    std::string level = "<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>";
    EXPECT_NE(manifest.find(level), std::string::npos);
    EXPECT_NE(ManifestOf(BesideThisTest(L"setup.exe")).find(level), std::string::npos);
}

TEST(ProgramResources, OnlySetupAndTheLauncherCarryAManifest)
{
    EXPECT_EQ(ManifestOf(BesideThisTest(L"lumora.dll")), "");
    EXPECT_EQ(ManifestOf(BesideThisTest(L"tsa.exe")), "");
}

// The names of the DLLs a program file imports, in capitals.
std::vector<std::string> ImportedLibraries(const std::wstring &file)
{
    std::vector<std::string> names;
    HMODULE module = LoadLibraryExW(file.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (module == nullptr) return names;
    auto base = reinterpret_cast<const BYTE *>(module);
    auto headers = reinterpret_cast<const IMAGE_NT_HEADERS *>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER *>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY &imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + imports.VirtualAddress);
         imports.VirtualAddress != 0 && entry->Name != 0; ++entry) {
        std::string name = reinterpret_cast<const char *>(base + entry->Name);
        for (char &c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        names.push_back(name);
    }
    FreeLibrary(module);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ProgramResources, TheLauncherNeedsNothingButWindowsOwnLibraries)
{
    EXPECT_EQ(ImportedLibraries(BesideThisTest(L"launcher.exe")),
              (std::vector<std::string>{"ADVAPI32.DLL", "KERNEL32.DLL"}));
}

TEST(ProgramResources, EveryProgramFileCarriesTheKitVersion)
{
    struct Expected {
        const wchar_t *file;
        DWORD type;
    } files[] = {
        {L"setup.exe", VFT_APP}, {L"lumora.dll", VFT_DLL}, {L"tsa.exe", VFT_APP}, {L"launcher.exe", VFT_APP}};
    std::wstring version = Wide(SETUP_VERSION);
    std::wstring fourNumbers = version;
    for (size_t dots = std::count(version.begin(), version.end(), L'.'); dots < 3; ++dots)
        fourNumbers += L".0";
    for (const Expected &expected : files) {
        SCOPED_TRACE(std::string(expected.file, expected.file + wcslen(expected.file)));
        VersionResource resource(BesideThisTest(expected.file));
        ASSERT_TRUE(resource.Found());
        EXPECT_EQ(resource.Value(L"FileVersion"), version);
        EXPECT_EQ(resource.Value(L"ProductVersion"), version);
        EXPECT_EQ(resource.Value(L"ProductName"), L"Setup");
        EXPECT_EQ(resource.Value(L"OriginalFilename"), expected.file);
        EXPECT_FALSE(resource.Value(L"FileDescription").empty());
        VS_FIXEDFILEINFO fixed = resource.Fixed();
        EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(FixedVersion(fixed), fourNumbers);
        EXPECT_EQ(fixed.dwFileType, expected.type);
    }
}

TEST(ProgramResources, LibraryNamesTheVersionSetupChecksFor)
{
    EXPECT_EQ(VersionResource(BesideThisTest(L"lumora.dll")).Value(L"LibraryVersion"), Wide(LUMORA_VERSION));
}

TEST(ProgramResources, HeadersCarryNoBuildTime)
{
    for (const wchar_t *file : {L"setup.exe", L"lumora.dll", L"tsa.exe", L"launcher.exe"})
        EXPECT_EQ(HeaderTimeStamp(BesideThisTest(file)), 0u) << std::string(file, file + wcslen(file));
}

} // namespace
