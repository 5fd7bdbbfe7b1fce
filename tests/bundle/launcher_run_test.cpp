// The launcher as users start it, under Windows: bundles whose setup.exe is a stand-in that
// reports what it was given, so that a run proves the command line, the working folder, the
// unpacked bytes and the whole exit code; damaged and hostile bundles refused with the one
// message, quietly when asked; and the temporary folder left as it was found, every time.
#include "bundle/bundle_writer.h"
#include "bundle_bytes.h"
#include "tests/driver/ui_driver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace uidriver;
namespace fs = std::filesystem;

namespace {

const std::wstring damagedDownload = L"The download is damaged; please download it again.";

std::string ReadAll(const std::wstring &path)
{
    std::ifstream stream(fs::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

std::wstring ReadWide(const std::wstring &path)
{
    std::string bytes = ReadAll(path);
    return std::wstring(reinterpret_cast<const wchar_t *>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

// What a folder holds directly, files and folders alike.
std::vector<std::wstring> Contents(const std::wstring &folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

class LauncherRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.Ready()) << Narrow(work.Error());
        ASSERT_TRUE(work.MakeDir(L"tmp") && work.MakeDir(L"cwd"));
        std::string data;
        for (uint32_t k = 0; k < 2500000; ++k) data += static_cast<char>((k * 7919u) >> 5);
        ASSERT_TRUE(work.CopyIn(ProgramFolder() + L"setup_stub.exe", L"package\\setup.exe") &&
                    work.WriteFile(L"package\\setup.tsi", "[Setup]\r\n") &&
                    work.WriteFile(L"package\\data\\payload.bin", data) &&
                    work.WriteFile(L"package\\empty.txt", ""));
    }
    std::string Launcher() const { return ReadAll(ProgramFolder() + L"launcher.exe"); }
    // The bundle of the package folder, as tsa makes it.
    std::wstring MakeBundle()
    {
        std::string launcher = Launcher(), error;
        std::vector<BundleFile> files;
        std::wstring out = work.PathOf(L"bundle.exe");
        EXPECT_TRUE(BundleLauncher(launcher, error) &&
                    CollectBundleFiles(work.PathOf(L"package"), out, files, error) &&
                    WriteBundle(launcher, files, out, error))
            << error;
        return out;
    }
    // Started from the cwd folder, with tmp as the user's temporary folder.
    StartOptions Options(const std::wstring &bundle, const std::wstring &arguments,
                         std::vector<std::pair<std::wstring, std::wstring>> environment = {}) const
    {
        StartOptions options;
        options.program = bundle;
        options.arguments = arguments;
        options.workingDirectory = work.PathOf(L"cwd");
        options.environment = {{L"TMP", work.PathOf(L"tmp")}, {L"TEMP", work.PathOf(L"tmp")}};
        options.environment.insert(options.environment.end(), environment.begin(), environment.end());
        return options;
    }

    TempFolder work{L"launcher-run"};
};

TEST_F(LauncherRun, TwoBundlesAtOnceEachRunSetupInAFolderOfItsOwnAndPassEverythingThrough)
{
    std::wstring bundle = MakeBundle();
    // Everything after the program name as it stands, but the relative log, which would be
    // written into the folder that is removed.
    std::wstring arguments =
        L"/SILENT \"/DIR=C:\\Program Files\\Caf\u00e9\"  -x=\\\"q\\\" /LOG=relative.log /c=1";
    std::wstring passed = L" /SILENT \"/DIR=C:\\Program Files\\Caf\u00e9\"  -x=\\\"q\\\" /LOG=\"" +
                          work.PathOf(L"cwd") + L"\\relative.log\" /c=1";
    const struct {
        const wchar_t *report;
        DWORD exitCode;
    } runs[] = {{L"first", 3010}, {L"second", 4294967294u}};
    std::vector<Process> started;
    for (const auto &run : runs)
        started.emplace_back(Options(bundle, arguments,
                                     {{L"SETUP_STUB_REPORT", work.PathOf(run.report)},
                                      {L"SETUP_STUB_EXIT", std::to_wstring(run.exitCode)},
                                      {L"SETUP_STUB_WAIT", L"2000"}}));
    std::vector<std::wstring> folders;
    for (size_t k = 0; k < started.size(); ++k) {
        DWORD exitCode = 0;
        ASSERT_TRUE(started[k].WaitForExit(kDefaultTimeoutMs * 2, &exitCode));
        EXPECT_EQ(exitCode, runs[k].exitCode);
        std::wstring report = work.PathOf(runs[k].report);
        std::wstring folder = ReadWide(report + L"\\working-folder.txt");
        folders.push_back(folder);
        std::wstring prefix = work.PathOf(L"tmp") + L"\\setup-";
        EXPECT_EQ(folder.substr(0, prefix.size()), prefix);
        EXPECT_EQ(folder.size(), prefix.size() + 16) << "sixteen random hexadecimal digits";
        EXPECT_EQ(ReadWide(report + L"\\command-line.txt"), L"\"" + folder + L"\\setup.exe\"" + passed);
        for (const wchar_t *name : {L"setup.exe", L"setup.tsi", L"data\\payload.bin", L"empty.txt"})
            EXPECT_EQ(ReadAll(report + L"\\files\\" + name), ReadAll(work.PathOf(L"package\\") + name))
                << Narrow(name);
    }
    EXPECT_NE(folders[0], folders[1]);
    EXPECT_EQ(Contents(work.PathOf(L"tmp")), std::vector<std::wstring>()) << "both folders removed";
}

TEST_F(LauncherRun, DamagedAndHostileBundlesAreRefusedQuietlyAndLeaveNothing)
{
    std::string sound = ReadAll(MakeBundle()), launcher = Launcher(),
                stub = ReadAll(ProgramFolder() + L"setup_stub.exe");
    auto carrying = [&](const std::u16string &name) {
        return testsupport::BundleBytes(launcher,
                                        testsupport::PayloadBytes({{u"setup.exe", stub}, {name, "evil"}}));
    };
    std::string changed = sound, outside = sound;
    changed[launcher.size() + 2000000] ^= 0x20;
    PutNumber(reinterpret_cast<uint8_t *>(&outside[outside.size() - 16]), outside.size(), 8);
    struct Case {
        const char *what;
        std::string bytes;
        std::wstring arguments;
        std::wstring message;
    };
    std::wstring log = work.PathOf(L"launcher.log");
    const Case cases[] = {
        {"one byte changed", changed, L"/VERYSILENT /LOG=" + log, damagedDownload},
        {"cut short", sound.substr(0, sound.size() - 1000), L"/suppressmsgboxes /LOG", damagedDownload},
        {"a trailer pointing outside the file", outside, L"-VERYSILENT /LOG=" + log, damagedDownload},
        {"a name leading out", carrying(u"..\\evil.txt"), L"/VERYSILENT /LOG=" + log, damagedDownload},
        {"an absolute name", carrying(u"C:\\evil.txt"), L"/VERYSILENT /LOG=" + log, damagedDownload},
        {"one name twice", carrying(u"SETUP.EXE"), L"/VERYSILENT /LOG=" + log, damagedDownload},
        {"no setup.exe",
         testsupport::BundleBytes(launcher, testsupport::PayloadBytes({{u"readme.txt", "x"}})),
         L"/VERYSILENT \"/LOG=" + log + L"\"", L"Setup cannot start " + work.PathOf(L"tmp") + L"\\setup-"},
    };
    for (const Case &sample : cases) {
        SCOPED_TRACE(sample.what);
        std::wstring bundle = work.PathOf(L"damaged.exe");
        ASSERT_TRUE(work.WriteFile(L"damaged.exe", sample.bytes));
        Process run(Options(bundle, sample.arguments));
        DWORD exitCode = 0;
        ASSERT_TRUE(run.WaitForExit(kDefaultTimeoutMs, &exitCode)) << "a box waits for an answer";
        EXPECT_EQ(exitCode, 1u);
        std::vector<std::wstring> left = Contents(work.PathOf(L"tmp"));
        std::wstring logged = log;
        // /LOG alone writes the log into the temporary folder, and nothing else is left there.
        if (sample.arguments.find(L"/LOG=") == std::wstring::npos) {
            ASSERT_EQ(left.size(), 1u);
            EXPECT_EQ(left[0].substr(0, 10), L"Setup Log ");
            logged = work.PathOf(L"tmp\\") + left[0];
        } else {
            EXPECT_EQ(left, std::vector<std::wstring>());
        }
        std::string text = ReadAll(logged);
        EXPECT_NE(text.find(Narrow(sample.message)), std::string::npos) << text;
        EXPECT_NE(text.find("Exit code: 1\r\n"), std::string::npos) << text;
        DeleteFileW(logged.c_str());
        EXPECT_FALSE(work.FileExists(L"evil.txt"));
        EXPECT_EQ(GetFileAttributesW(L"C:\\evil.txt"), INVALID_FILE_ATTRIBUTES);
    }
}

TEST_F(LauncherRun, ADamagedDownloadSaysSoInABox)
{
    std::string sound = ReadAll(MakeBundle());
    ASSERT_TRUE(work.WriteFile(L"cut.exe", sound.substr(0, sound.size() / 2)));
    Process run(Options(work.PathOf(L"cut.exe"), L"/SILENT"));
    std::optional<MessageBoxInfo> box = WaitForMessageBox(run.Pid());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Setup");
    EXPECT_EQ(box->text, damagedDownload);
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
    PressButton(*box, L"OK");
    DWORD exitCode = 0;
    ASSERT_TRUE(run.WaitForExit(kDefaultTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 1u);
    EXPECT_EQ(Contents(work.PathOf(L"tmp")), std::vector<std::wstring>());
}

} // namespace
