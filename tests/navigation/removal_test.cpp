// Removal of an installed package through its uninstaller: the entry in the list of installed
// programs, the quiet and the asking removal, a second installation, a file held open, and
// records that would lead the uninstaller elsewhere.
#include "removal/file_digest.h"
#include "removal/removal_record.h"
#include "tests/common/wizard_session.h"
#include "tests/navigation/test_package.h"

#include <gtest/gtest.h>

#include <shlobj.h>

using namespace navtest;
using namespace setuptest;
using namespace uidriver;

namespace {

const wchar_t uninstallRoot[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const DWORD removalTimeout = 120000;

std::wstring ProgramsFolder()
{
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, CSIDL_PROGRAMS, FALSE);
    return path;
}

bool Exists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The entry's values as text (a number in decimal); nothing when the entry does not exist.
std::optional<std::map<std::wstring, std::wstring>> EntryValues(const std::wstring &displayName)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, (uninstallRoot + UninstallKeyName(displayName)).c_str(), 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    std::map<std::wstring, std::wstring> values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0, size = 0;
        BYTE data[4096] = {};
        size = sizeof data - 2;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        values[name] = type == REG_DWORD ? std::to_wstring(*reinterpret_cast<DWORD *>(data))
                                         : std::wstring(reinterpret_cast<wchar_t *>(data));
    }
    RegCloseKey(key);
    return values;
}

// Runs the uninstaller and waits for it; its exit code, or nothing when it did not end.
std::optional<DWORD> RunUninstaller(const std::wstring &program, const std::wstring &arguments)
{
    Process process(program, arguments);
    DWORD code = 0;
    if (!process.WaitForExit(removalTimeout, &code)) return std::nullopt;
    return code;
}

// A removable package of its own, installed through the wizard into a folder that does not
// exist yet, with a link in a Start menu folder of its own.
class RemovableInstallation : public ::testing::Test {
protected:
    void SetUp() override
    {
        name = L"Removal " + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
        target = destination.Dir() + L"\\App";
        menuFolder = ProgramsFolder() + L"\\" + name;
        plan.pages = "0011011";
        ComponentSpec main;
        main.name = "Main program";
        main.config = "required";
        main.groups = {{{"readme.txt", "Read me first.\r\n"}, {"bin/tool.dat", GeneratedContent(30000, 2)}}};
        ComponentSpec docs;
        docs.name = "Documentation";
        docs.subdirectory = "docs";
        docs.groups = {{{"manual.txt", GeneratedContent(250000, 3)}, {"deep/er/page.html", "<p>"}}};
        plan.components = {main, docs};
        plan.startmenuDirectory = Narrow(name);
        plan.links = {{"1", "Tool", "bin\\tool.dat"}};
        plan.extraSections =
            "[Uninstall]\r\nEnabled=1\r\nDisplayName=" + Narrow(name) +
            "\r\nDisplayVersion=2.1\r\nPublisher=Quorvell\r\nHelpLink=https://example.invalid/help\r\n";
        ASSERT_TRUE(WritePackage(package, plan)) << Narrow(package.Error());
        ASSERT_TRUE(package.CopyIn(ProgramFolder() + L"uninstall.exe", L"uninstall.exe"));
    }
    void TearDown() override
    {
        RemoveTree(menuFolder);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, (uninstallRoot + UninstallKeyName(name)).c_str());
    }

    void Install()
    {
        WizardSession wizard;
        ASSERT_TRUE(wizard.Start(package.ProgramOptions())) << Narrow(wizard.Process().Error());
        ASSERT_TRUE(wizard.Open(defaultTitle::directory)) << wizard.Describe();
        ASSERT_TRUE(wizard.SetDestination(target));
        ASSERT_TRUE(wizard.Press(L"Next ->"));
        ASSERT_TRUE(wizard.WaitForTitle(defaultTitle::components)) << wizard.Describe();
        ASSERT_TRUE(wizard.Press(L"Next ->"));
        ASSERT_TRUE(wizard.WaitForPage(defaultTitle::bye, {L"Next ->"}, 120000)) << wizard.Describe();
        EXPECT_EQ(FindDialog(wizard.Pid()), nullptr) << "the installation reported a fault";
        ASSERT_NO_FATAL_FAILURE(FinishNormally(wizard, package));
    }
    // As a deployment tool installs: no window, the engine on setup.exe's main thread.
    void InstallWithoutWindow()
    {
        StartOptions options = package.ProgramOptions();
        options.arguments = L"/VERYSILENT \"/DIR=" + target + L"\"";
        Process setup;
        ASSERT_TRUE(setup.Start(options)) << Narrow(setup.Error());
        DWORD code = 0xDEADBEEF;
        ASSERT_TRUE(setup.WaitForExit(kDefaultTimeoutMs, &code));
        EXPECT_EQ(code, 3010u) << "the package's Reboot page asks for a restart";
    }
    std::wstring At(const std::wstring &relative) const { return target + L"\\" + relative; }
    std::wstring Uninstaller() const { return At(L"uninstall.exe"); }
    // The uninstaller's copy removes the uninstaller a moment after it has ended.
    bool WaitForUninstallerGone() const
    {
        return WaitUntil([&] { return !Exists(Uninstaller()); }, 20000);
    }

    SetupPackage package;
    TempFolder destination{L"setup-removal"};
    PackagePlan plan;
    std::wstring name, target, menuFolder;
};

} // namespace

TEST_F(RemovableInstallation, EntryHoldsEveryValueAndTheQuietRemovalTakesOnlyWhatWasInstalled)
{
    // A file that was there before the installation is never the installation's to remove.
    ASSERT_TRUE(destination.WriteFile(L"App\\readme.txt", "the user's own readme"));
    // Installed first without a window, as a deployment tool does, then again through the
    // wizard: both leave the uninstaller, the record and the entry, and the second merges into
    // them, still without the user's readme.
    ASSERT_NO_FATAL_FAILURE(InstallWithoutWindow());
    ASSERT_TRUE(Exists(At(L"uninstall.dat")) && EntryValues(name).has_value());
    ASSERT_NO_FATAL_FAILURE(Install());

    auto values = EntryValues(name);
    ASSERT_TRUE(values.has_value());
    const std::wstring quoted = L"\"" + Uninstaller() + L"\"";
    std::map<std::wstring, std::wstring> expected = {{L"DisplayName", name},
                                                     {L"DisplayVersion", L"2.1"},
                                                     {L"Publisher", L"Quorvell"},
                                                     {L"InstallLocation", target},
                                                     {L"UninstallString", quoted},
                                                     {L"QuietUninstallString", quoted + L" /VERYSILENT"},
                                                     {L"DisplayIcon", Uninstaller()},
                                                     {L"NoModify", L"1"},
                                                     {L"NoRepair", L"1"},
                                                     {L"HelpLink", L"https://example.invalid/help"}};
    for (const auto &[key, value] : expected) EXPECT_EQ((*values)[key], value) << Narrow(key);
    // tool.dat, manual.txt and the rest: 280 KB at least, counted in whole KB.
    EXPECT_GE(std::stoul((*values)[L"EstimatedSize"]), 274u);
    EXPECT_EQ((*values)[L"InstallDate"].size(), 8u);
    EXPECT_EQ(values->count(L"URLInfoAbout"), 0u) << "an address the package does not give is not written";

    ASSERT_TRUE(destination.WriteFile(L"App\\docs\\notes.txt", "the user's notes"));
    ASSERT_TRUE(destination.WriteFile(L"App\\bin\\tool.dat", "changed by the user"));
    EXPECT_EQ(RunUninstaller(Uninstaller(), L"/VERYSILENT"), 0u);
    ASSERT_TRUE(WaitForUninstallerGone());
    EXPECT_EQ(destination.Files(), (std::vector<std::wstring>{L"App\\bin\\tool.dat", L"App\\docs\\notes.txt",
                                                              L"App\\readme.txt"}));
    EXPECT_FALSE(destination.DirExists(L"App\\docs\\deep"));
    EXPECT_FALSE(Exists(menuFolder));
    EXPECT_FALSE(EntryValues(name).has_value());

    // Started where no record lies, as after a removal, it says so, touches nothing, ends well.
    ASSERT_TRUE(package.CopyIn(ProgramFolder() + L"uninstall.exe", L"again\\uninstall.exe"));
    EXPECT_EQ(RunUninstaller(package.PathOf(L"again\\uninstall.exe"), L"/VERYSILENT"), 0u);
    EXPECT_EQ(destination.Files().size(), 3u);
}

TEST_F(RemovableInstallation, AsksFirstAndNoChangesNothing)
{
    ASSERT_NO_FATAL_FAILURE(Install());
    const std::vector<std::wstring> installed = destination.Files();
    for (const wchar_t *answer : {L"No", L"Yes"}) {
        Process process(Uninstaller());
        auto question = WaitForMessageBox(process.Pid());
        ASSERT_TRUE(question.has_value());
        EXPECT_EQ(question->text, L"Remove " + name + L" and all of its components?");
        EXPECT_EQ(question->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
        ASSERT_TRUE(PressButton(*question, answer));
        ASSERT_TRUE(WaitForWindowGone(question->hwnd));
        if (std::wstring(answer) == L"Yes") {
            auto closing = WaitForMessageBox(process.Pid(), removalTimeout);
            ASSERT_TRUE(closing.has_value());
            EXPECT_EQ(closing->text, name + L" was removed from your computer.");
            ASSERT_TRUE(PressButton(*closing, L"OK"));
        }
        DWORD code = 0;
        ASSERT_TRUE(process.WaitForExit(removalTimeout, &code));
        if (std::wstring(answer) == L"No") {
            EXPECT_EQ(code, 2u);
            EXPECT_EQ(destination.Files(), installed);
            EXPECT_TRUE(Exists(menuFolder + L"\\Tool.lnk"));
            EXPECT_TRUE(EntryValues(name).has_value());
        } else {
            EXPECT_EQ(code, 0u);
        }
    }
    ASSERT_TRUE(WaitForUninstallerGone());
    EXPECT_TRUE(WaitUntil([&] { return !Exists(target); }, 20000)) << "the destination it made stays";
    EXPECT_FALSE(Exists(menuFolder));
    EXPECT_FALSE(EntryValues(name).has_value());
}

TEST_F(RemovableInstallation, AFileInUseIsLeftForTheRestartAndTheRestIsRemoved)
{
    ASSERT_NO_FATAL_FAILURE(Install());
    const std::wstring held = At(L"docs\\manual.txt");
    HANDLE file =
        CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunUninstaller(Uninstaller(), L"/VERYSILENT"), 3010u);
    CloseHandle(file);
    EXPECT_TRUE(Exists(held));
    EXPECT_FALSE(Exists(At(L"readme.txt")));
    EXPECT_FALSE(EntryValues(name).has_value());
    // Windows removes it when it restarts, from the list the system keeps of such files.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0,
                            KEY_READ, &key),
              ERROR_SUCCESS);
    std::vector<wchar_t> pending(1 << 16);
    DWORD size = static_cast<DWORD>(pending.size() * sizeof(wchar_t)) - 4, type = 0;
    LONG read = RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, &type,
                                 reinterpret_cast<BYTE *>(pending.data()), &size);
    RegCloseKey(key);
    ASSERT_EQ(read, ERROR_SUCCESS);
    std::wstring list(pending.data(), size / sizeof(wchar_t));
    EXPECT_NE(list.find(L"\\manual.txt"), std::wstring::npos);
}

namespace {

struct HostileRecord {
    const char *name;
    // The record's lines between its destination and its end; {victim} is the absolute path of
    // a file outside the destination, {size} and {hash} are that file's, {outside} its folder.
    std::string items;
    bool truncated = false;
    std::string destination = "{folder}"; // the folder the record claims
    DWORD exitCode = 1;
};

std::string Replaced(std::string text, const std::string &name, const std::string &value)
{
    for (size_t at; (at = text.find(name)) != std::string::npos;) text.replace(at, name.size(), value);
    return text;
}

class HostileRecords : public ::testing::TestWithParam<HostileRecord> {};

} // namespace

TEST_P(HostileRecords, DeleteNothingOutsideTheDestination)
{
    TempFolder root{L"setup-hostile"};
    ASSERT_TRUE(root.WriteFile(L"victim\\precious.dll", "not the uninstaller's"));
    ASSERT_TRUE(root.WriteFile(L"app\\own.txt", "installed"));
    ASSERT_TRUE(root.CopyIn(ProgramFolder() + L"uninstall.exe", L"app\\uninstall.exe"));
    uint64_t size = 0;
    std::string hash;
    ASSERT_TRUE(FileDigest(root.PathOf(L"victim\\precious.dll"), size, hash));
    const HostileRecord &record = GetParam();
    std::string text;
    if (std::string(record.name) != "NoRecord") {
        std::string body =
            "Setup removal record\t1\nkey\tHostile_0000000000000000\nname\tHostile\ndestination\t" +
            record.destination + "\n" + record.items;
        size_t lines = static_cast<size_t>(std::count(body.begin(), body.end(), '\n'));
        text = body + "end\t" + std::to_string(lines) + "\n";
        text = Replaced(text, "{outside}", Narrow(root.PathOf(L"victim")));
        text = Replaced(
            Replaced(Replaced(Replaced(text, "{victim}", Narrow(root.PathOf(L"victim\\precious.dll"))),
                              "{size}", std::to_string(size)),
                     "{hash}", hash),
            "{folder}", Narrow(root.PathOf(L"app")));
        if (record.truncated) text.resize(text.size() - 6);
        ASSERT_TRUE(root.WriteFile(L"app\\uninstall.dat", text));
    }
    EXPECT_EQ(RunUninstaller(root.PathOf(L"app\\uninstall.exe"), L"/VERYSILENT"), record.exitCode);
    EXPECT_TRUE(root.FileExists(L"victim\\precious.dll"));
    EXPECT_TRUE(root.FileExists(L"app\\own.txt"));
    EXPECT_TRUE(root.FileExists(L"app\\uninstall.exe"));
    EXPECT_EQ(root.ReadFile(L"app\\uninstall.dat").value_or(""), text);
}

INSTANTIATE_TEST_SUITE_P(
    Removal, HostileRecords,
    ::testing::Values(HostileRecord{"OutsidePath", "file\tdestination\t{size}\t{hash}\t{victim}\n"},
                      HostileRecord{"ParentLevels",
                                    "file\tdestination\t{size}\t{hash}\t..\\victim\\precious.dll\n"},
                      HostileRecord{"Truncated", "file\tdestination\t{size}\t{hash}\town.txt\n", true},
                      HostileRecord{"AnotherDestination", "file\tdestination\t{size}\t{hash}\tprecious.dll\n",
                                    false, "{outside}"},
                      HostileRecord{"MenuFolderOutsideTheStartMenu",
                                    "menu\t{outside}\nfile\tmenu\t{size}\t{hash}\tprecious.dll\n"},
                      HostileRecord{"NoRecord", "", false, "{folder}", 0}),
    [](const ::testing::TestParamInfo<HostileRecord> &info) { return std::string(info.param.name); });
