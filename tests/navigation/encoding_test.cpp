// Installations under the system code page the test runs in (Wine takes it from the locale),
// on the wide and on the 8-bit character path: destinations the code page cannot spell, names
// stored in it, names forged to climb out of the target, paths of 300 characters and the
// licence's punctuation.
#include "tests/common/wizard_session.h"
#include "tests/navigation/test_package.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>

using namespace navtest;
using namespace setuptest;
using namespace uidriver;

namespace {

struct StoredName {
    std::string stored;     // the entry's bytes in the code page
    std::wstring installed; // where it lands below the destination, '\'-separated
};

// What each code page under test spells, and how its bytes read.
struct CodePageTexts {
    int codePage;
    std::wstring ownFolder;        // a folder name beyond ASCII that this code page spells
    std::vector<StoredName> names; // non-ASCII levels and files
    std::string subdirectory;      // a component's subdirectory, as setup.tsi holds it
    std::wstring subdirectoryShown;
    std::vector<std::wstring> forgedInstalled; // where ForgedEntries() land, besides good.txt
    std::string licence;
    std::wstring licenceShown;
};

const CodePageTexts codePageTexts[] = {
    {1252,
     L"Pr\u00f6gr\u00e4mme \u00c4",
     {{"Dokumente/\xDC"
       "bersicht.txt",
       L"Dokumente\\\u00dcbersicht.txt"},
      {"\xE9t\xE9\\caf\xE9.txt", L"\u00e9t\u00e9\\caf\u00e9.txt"}},
     "Donn\xE9"
     "es",
     L"Donn\u00e9es",
     {L"\u00a5..\u00a5..\u00a5tsa-escape\\f", L"\u00c2\u00a5..\u00c2\u00a5..\u00c2\u00a5tsa-escape\\g"},
     "\x93Terms\x94 \x96 \x80 5 \x99",
     L"\u201cTerms\u201d \u2013 \u20ac 5 \u2122"},
    {932,
     L"\u30bd\u30d5\u30c8",
     {{"\x95\xB6\x8F\x91/\x90\xE0\x96\xBE.txt", L"\u6587\u66f8\\\u8aac\u660e.txt"},
      {"\x95\x5C/\x94\x5C.txt", L"\u8868\\\u80fd.txt"}},
     "\x83"
     "f\x81[\x83^",
     L"\u30c7\u30fc\u30bf",
     {L"\uff65..\uff65..\uff65tsa-escape\\f", L"\uff82\uff65..\uff82\uff65..\uff82\uff65tsa-escape\\g"},
     "\x81g\x82\xA0\x81h \x81\x5C",
     L"\u201c\u3042\u201d \u2015"},
    {1251,
     L"\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u044b",
     {{"\xC4\xEE\xEA\xF3\xEC\xE5\xED\xF2\xFB/\xCE\xE1\xE7\xEE\xF0.txt",
       L"\u0414\u043e\u043a\u0443\u043c\u0435\u043d\u0442\u044b\\\u041e\u0431\u0437\u043e\u0440.txt"}},
     "\xC4\xE0\xED\xED\xFB\xE5",
     L"\u0414\u0430\u043d\u043d\u044b\u0435",
     {L"\u0490..\u0490..\u0490tsa-escape\\f", L"\u0412\u0490..\u0412\u0490..\u0412\u0490tsa-escape\\g"},
     "\x93Terms\x94 \x96 \x80 5 \x99",
     L"\u201cTerms\u201d \u2013 \u0402 5 \u2122"},
};

// Entries forged to climb out of the target: through the byte that is the yen sign in 1252,
// through its UTF-8 form, through backslashes behind a character that swallows none of them,
// through a lone lead byte and plainly.
const std::vector<PackedFile> forgedEntries = {{"\xA5..\xA5..\xA5tsa-escape/f", "yen"},
                                               {"\xC2\xA5..\xC2\xA5..\xC2\xA5tsa-escape/g", "utf-8 yen"},
                                               {"\x81\x5C..\x5C..\x5Ctsa-escape", "behind a lead byte"},
                                               {"\x82/../../tsa-escape", "lone lead byte"},
                                               {"..\\..\\tsa-escape", "plain"},
                                               {"good.txt", "fine"}};

// A name no code page under test spells, with a letter of each.
const std::wstring beyondEveryCodePage = L"\u8f6f\u4ef6 Pr\u00f6gr\u00e4mme \u041f\u0440\u043e "
                                         L"\u30bd\u30d5\u30c8";

const CodePageTexts *Texts()
{
    for (const CodePageTexts &texts : codePageTexts)
        if (texts.codePage == static_cast<int>(GetACP())) return &texts;
    return nullptr;
}

ComponentSpec Component(const std::string &name, const std::string &subdirectory,
                        std::vector<PackedFile> files)
{
    ComponentSpec component;
    component.name = name;
    component.config = "required";
    component.subdirectory = subdirectory;
    component.groups = {std::move(files)};
    return component;
}

class Encoding : public ::testing::Test {
protected:
    void SetUp() override
    {
        texts = Texts();
        if (texts == nullptr) GTEST_SKIP() << "no texts for code page " << GetACP();
    }

    void Install(const PackagePlan &plan, const std::wstring &destination, const RelayTrace *trace = nullptr)
    {
        ASSERT_TRUE(WritePackage(package, plan)) << Narrow(package.Error());
        StartOptions options = package.ProgramOptions();
        if (trace != nullptr) trace->Apply(options);
        wizard = std::make_unique<WizardSession>(options);
        ASSERT_TRUE(wizard->Open(defaultTitle::directory)) << Narrow(wizard->Process().Error());
        ASSERT_TRUE(wizard->SetDestination(destination));
        ASSERT_TRUE(wizard->Press(L"Next ->"));
        ASSERT_TRUE(wizard->WaitForTitle(defaultTitle::components)) << wizard->Describe();
        ASSERT_TRUE(wizard->Press(L"Next ->"));
    }

    void ExpectNoNotice()
    {
        ASSERT_TRUE(wizard->WaitForPage(defaultTitle::bye, {L"Next ->"}, 120000)) << wizard->Describe();
        std::optional<MessageBoxInfo> box;
        if (HWND dialog = FindDialog(wizard->Pid())) box = ReadMessageBox(dialog);
        EXPECT_FALSE(box.has_value()) << Narrow(box ? box->text : L"");
    }

    const CodePageTexts *texts = nullptr;
    SetupPackage package;
    std::unique_ptr<WizardSession> wizard;
};

// "Directory, Components, Bye and Reboot": the shortest walk that installs.
PackagePlan InstallingPlan()
{
    PackagePlan plan;
    plan.pages = "0011011";
    return plan;
}

std::wstring Joined(const std::vector<std::wstring> &names)
{
    std::wstring text;
    for (const std::wstring &name : names) text += name + L"\n";
    return text;
}

TEST_F(Encoding, RunsUnderTheCodePageItWasStartedFor)
{
    const char *expected = std::getenv("SETUP_EXPECT_CODE_PAGE");
    if (expected == nullptr) GTEST_SKIP() << "no code page asked for";
    EXPECT_EQ(static_cast<int>(GetACP()), std::atoi(expected));
}

TEST_F(Encoding, NamesOfTheCodePageLandUnderADestinationItCannotSpell)
{
    TempFolder root(L"setup-encoding");
    std::wstring destination = root.PathOf(beyondEveryCodePage + L"\\App");
    PackagePlan plan = InstallingPlan();
    std::vector<PackedFile> files;
    for (const StoredName &name : texts->names) files.push_back({name.stored, Narrow(name.installed)});
    plan.components = {Component("Main program", ".", files),
                       Component("Data", texts->subdirectory, {{"readme.txt", "data"}})};
    Install(plan, destination);
    ExpectNoNotice();

    std::vector<std::wstring> expected;
    for (const StoredName &name : texts->names) {
        std::wstring path = beyondEveryCodePage + L"\\App\\" + name.installed;
        expected.push_back(path);
        EXPECT_EQ(root.ReadFile(path), Narrow(name.installed)) << Narrow(path);
    }
    expected.push_back(beyondEveryCodePage + L"\\App\\" + texts->subdirectoryShown + L"\\readme.txt");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Joined(root.Files()), Joined(expected));
}

TEST_F(Encoding, ForgedNamesMakeNothingOutsideTheTarget)
{
    TempFolder root(L"setup-encoding");
    PackagePlan plan = InstallingPlan();
    plan.components = {Component("Main program", ".", forgedEntries)};
    Install(plan, root.PathOf(L"outer\\inner\\target"));
    std::optional<MessageBoxInfo> box = WaitForMessageBox(wizard->Pid(), 120000);
    ASSERT_TRUE(box.has_value()) << "the refused names were not told\n" << wizard->Describe();
    EXPECT_EQ(box->caption, L"Installation incomplete");
    EXPECT_NE(box->text.find(L"leave the target directory"), std::wstring::npos) << Narrow(box->text);
    ASSERT_TRUE(PressButton(*box, L"OK"));
    ASSERT_TRUE(wizard->WaitForPage(defaultTitle::bye, {L"Next ->"})) << wizard->Describe();

    std::vector<std::wstring> expected = {L"outer\\inner\\target\\good.txt"};
    for (const std::wstring &name : texts->forgedInstalled)
        expected.push_back(L"outer\\inner\\target\\" + name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Joined(root.Files()), Joined(expected));
    EXPECT_FALSE(root.DirExists(L"tsa-escape"));
    EXPECT_FALSE(root.DirExists(L"outer\\tsa-escape"));
}

TEST_F(Encoding, PathOfThreeHundredCharactersInstallsThroughTheLongForm)
{
    TempFolder root(L"setup-encoding");
    std::wstring destination =
        root.PathOf(std::wstring(120, L'd') + L"\\" + texts->ownFolder + std::wstring(90, L'e'));
    std::string file = "sub/" + std::string(60, 'f') + ".txt";
    ASSERT_GT(destination.size() + 1 + file.size(), 300u);
    PackagePlan plan = InstallingPlan();
    plan.components = {Component("Main program", ".", {{file, "long"}})};
    // Wine takes long paths in either form; the calls show that the program hands them on in the
    // form Windows needs, and that no 8-bit call names a file of the destination.
    RelayTrace trace(L"kernel32.CreateFileW;kernel32.CreateDirectoryW;kernel32.CreateFileA;"
                     L"kernel32.CreateDirectoryA;kernel32.GetFileAttributesA;msvcrt._mkdir;msvcrt._stat");
    ASSERT_TRUE(trace.Ready()) << Narrow(trace.Error());
    Install(plan, destination, &trace);
    ExpectNoNotice();
    EXPECT_EQ(root.ReadFile(destination.substr(root.Dir().size() + 1) + L"\\sub\\" +
                            Widen(std::string(60, 'f')) + L".txt"),
              std::optional<std::string>("long"));

    // Every path through the last level of the destination is beyond the plain form's length.
    const std::string lastLevel(20, 'e');
    int longCalls = 0;
    for (const char *function : {"KERNEL32.CreateFileW", "KERNEL32.CreateDirectoryW"}) {
        for (const std::string &arguments : trace.CallArguments(function)) {
            if (arguments.find(lastLevel) == std::string::npos) continue;
            ++longCalls;
            EXPECT_NE(arguments.find("L\"\\\\\\\\?\\\\"), std::string::npos)
                << function << "(" << arguments << ")";
        }
    }
    EXPECT_GT(longCalls, 0) << "no file call named the destination's last level";
    for (const char *function : {"KERNEL32.CreateFileA", "KERNEL32.CreateDirectoryA",
                                 "KERNEL32.GetFileAttributesA", "msvcrt._mkdir", "msvcrt._stat"})
        for (const std::string &call : trace.Calls(function))
            EXPECT_EQ(call.find(std::string(120, 'd')), std::string::npos) << call;
}

TEST_F(Encoding, ShortcutToAPathTheCodePageCannotSpellIsToldAndNotMade)
{
    TempFolder root(L"setup-encoding");
    PackagePlan plan = InstallingPlan();
    plan.components = {Component("Main program", ".", {{"app.exe", "MZ"}})};
    std::wstring linkFolder =
        L"EncLinks" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
    plan.startmenuDirectory = Narrow(linkFolder);
    plan.links = {{"1", "Application", "app.exe"}};
    wchar_t programs[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, programs, CSIDL_PROGRAMS, FALSE));
    std::wstring linkFile = std::wstring(programs) + L"\\" + linkFolder + L"\\Application.lnk";

    Install(plan, root.PathOf(beyondEveryCodePage));
    std::optional<MessageBoxInfo> box = WaitForMessageBox(wizard->Pid(), 120000);
    ASSERT_TRUE(box.has_value()) << "a shortcut that cannot be right was not told\n" << wizard->Describe();
    EXPECT_NE(box->text.find(L"system code page cannot write"), std::wstring::npos) << Narrow(box->text);
    ASSERT_TRUE(PressButton(*box, L"OK"));
    EXPECT_EQ(GetFileAttributesW(linkFile.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(root.FileExists(beyondEveryCodePage + L"\\app.exe"));
    RemoveTree(std::wstring(programs) + L"\\" + linkFolder);
}

TEST_F(Encoding, LicenceShowsTheCodePagesPunctuation)
{
    PackagePlan plan;
    plan.pages = "0111111";
    plan.licenseText = texts->licence;
    ASSERT_TRUE(WritePackage(package, plan)) << Narrow(package.Error());
    WizardSession wizard(package);
    ASSERT_TRUE(wizard.Open(L"License")) << Narrow(wizard.Process().Error());
    std::wstring shown;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (const Control &control : Controls(wizard.Window()))
                if (control.IsEdit() && (control.style & ES_MULTILINE)) shown = control.text;
            return shown == texts->licenceShown;
        },
        10000))
        << Narrow(shown);
}

} // namespace
