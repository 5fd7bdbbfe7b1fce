// Start and end of setup.exe: the library version check, the marker file in the working
// directory, the configuration beside the program, and a package without any page.
#include "tests/common/wizard_session.h"

#include <gtest/gtest.h>

using namespace setuptest;

namespace {

const DWORD declined = 0xFFFFFFFF; // -1
const std::string onlyLastPage =
    "[Setup]\nDisplayBackgroundWindow=0\n"
    "[Dialogs]\nIntroduction=0\nLicense=0\nDirectory=0\nComponents=0\nSummary=0\n"
    "Reboot=0\n";

std::wstring OtherVersionLibrary()
{
    return uidriver::ProgramFolder() + L"..\\other-version\\lumora.dll";
}

class VersionWarning : public testing::TestWithParam<bool> {};

TEST_P(VersionWarning, AnotherLibraryVersionLetsTheUserDecide)
{
    const bool goOn = GetParam();
    SetupPackage package;
    ASSERT_TRUE(package.Ready());
    ASSERT_TRUE(package.WriteConfig(onlyLastPage));
    ASSERT_TRUE(package.CopyIn(OtherVersionLibrary(), L"lumora.dll")) << "is lumora_other_version built?";

    uidriver::Process process = package.StartProgram();
    std::optional<uidriver::MessageBoxInfo> box = uidriver::WaitForMessageBox(process.Pid(), 20000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Warning");
    EXPECT_EQ(Lines(box->text),
              L"This program might not be compatible with the LUMORA library\ninstalled on your "
              L"system. Continue execution?");
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    EXPECT_EQ(box->icon, uidriver::MessageIcon::Question);
    EXPECT_EQ(uidriver::FindWindowOf(process.Pid(), L"Setup complete"), nullptr)
        << "the wizard waits for the answer";

    ASSERT_TRUE(uidriver::PressButton(*box, goOn ? L"Yes" : L"No"));
    if (goOn) {
        HWND window = uidriver::WaitForWindow(process.Pid(), L"Setup complete", 20000);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(uidriver::CloseWindow(window));
    }
    DWORD exitCode = 1234;
    ASSERT_TRUE(process.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, goOn ? 0u : declined);
    EXPECT_EQ(package.FileExists(L"setup.temp"), goOn);
}

INSTANTIATE_TEST_SUITE_P(Startup, VersionWarning, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool> &info) {
                             return info.param ? std::string("YesOpensTheWizard")
                                               : std::string("NoEndsWithMinusOne");
                         });

TEST(Startup, ClosingTheLastPageLeavesAnEmptyMarkerInTheWorkingDirectory)
{
    SetupPackage package;
    ASSERT_TRUE(package.Ready());
    ASSERT_TRUE(package.WriteConfig(onlyLastPage + "[Bye]\nTitle=From the package\n"));
    // Another folder to start from, with a configuration and a marker of its own.
    uidriver::TempFolder workingFolder(L"setup-work");
    ASSERT_TRUE(workingFolder.Ready());
    ASSERT_TRUE(workingFolder.WriteFile(L"setup.tsi", "[Bye]\nTitle=From the working folder\n"));
    ASSERT_TRUE(workingFolder.WriteFile(L"setup.temp", "left over from an earlier run"));

    uidriver::Process process = package.StartProgram(workingFolder.Dir());
    HWND window = uidriver::WaitForWindow(process.Pid(), L"From the package", 20000);
    ASSERT_NE(window, nullptr) << "setup.tsi is read beside the program";
    EXPECT_EQ(workingFolder.FileSize(L"setup.temp"), std::optional<uint64_t>(29))
        << "the marker comes at the end";

    ASSERT_TRUE(uidriver::CloseWindow(window));
    DWORD exitCode = 1234;
    ASSERT_TRUE(process.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(workingFolder.FileSize(L"setup.temp"), std::optional<uint64_t>(0));
    EXPECT_FALSE(package.FileExists(L"setup.temp"));
}

TEST(Startup, ClosingAnEarlierPageAsksFirstThenEndsWithZeroAndTheMarker)
{
    SetupPackage package;
    ASSERT_TRUE(package.Ready());
    uidriver::Process process = package.StartProgram();
    HWND window = uidriver::WaitForWindow(process.Pid(), L"Setup", 20000);
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(uidriver::CloseWindow(window));
    std::optional<uidriver::MessageBoxInfo> box = uidriver::WaitForMessageBox(process.Pid(), 20000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Exit Setup");
    EXPECT_FALSE(package.FileExists(L"setup.temp"));
    ASSERT_TRUE(uidriver::PressButton(*box, L"Yes"));

    DWORD exitCode = 1234;
    ASSERT_TRUE(process.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(package.FileSize(L"setup.temp"), std::optional<uint64_t>(0));
}

TEST(Startup, LicenceIsReadFromTheWorkingDirectory)
{
    SetupPackage package;
    ASSERT_TRUE(package.Ready());
    ASSERT_TRUE(package.WriteConfig("[Setup]\nDisplayBackgroundWindow=0\n[Dialogs]\nIntroduction=0\n"
                                    "[License]\nLicenseFile=terms.txt\n"));
    ASSERT_TRUE(package.WriteFile(L"terms.txt", "package copy"));
    uidriver::TempFolder workingFolder(L"setup-work");
    ASSERT_TRUE(workingFolder.WriteFile(L"terms.txt", "working folder copy"));

    uidriver::Process process = package.StartProgram(workingFolder.Dir());
    HWND window = uidriver::WaitForWindow(process.Pid(), L"License", 20000);
    ASSERT_NE(window, nullptr);
    std::vector<uidriver::Control> shown = uidriver::FindControls(window, L"working folder copy", L"Edit");
    EXPECT_EQ(shown.size(), 1u) << uidriver::DumpControls(window);
}

TEST(Startup, PackageWithoutAnyPageSaysSoAndEnds)
{
    SetupPackage package;
    ASSERT_TRUE(package.Ready());
    ASSERT_TRUE(package.WriteConfig(onlyLastPage + "Bye=0\n"));

    uidriver::Process process = package.StartProgram();
    std::optional<uidriver::MessageBoxInfo> box = uidriver::WaitForMessageBox(process.Pid(), 20000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Setup");
    EXPECT_NE(box->text.find(L"no page"), std::wstring::npos) << uidriver::Narrow(box->text);
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_EQ(box->icon, uidriver::MessageIcon::Error);
    for (HWND window : uidriver::TopLevelWindows(process.Pid()))
        EXPECT_EQ(window, box->hwnd) << "only the message shows, no wizard";

    ASSERT_TRUE(uidriver::PressButton(*box, L"OK"));
    DWORD exitCode = 1234;
    ASSERT_TRUE(process.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
    EXPECT_EQ(package.FileSize(L"setup.temp"), std::optional<uint64_t>(0));
}

class DamagedCount : public testing::TestWithParam<const char *> {};

// A count no package means is refused at once, with the count as written; never a stalled start.
TEST_P(DamagedCount, IsRefusedBeforeTheWizardOpens)
{
    SetupPackage package;
    ASSERT_TRUE(package.Ready());
    ASSERT_TRUE(package.WriteConfig(std::string("[Component Setup]\nNumberOfComponents=") + GetParam() +
                                    "\n1=Main\n2=Docs\n[Component Config]\n3=required\n"));

    uidriver::Process process = package.StartProgram();
    std::optional<uidriver::MessageBoxInfo> box = uidriver::WaitForMessageBox(process.Pid(), 20000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Setup");
    EXPECT_NE(box->text.find(L"NumberOfComponents is " + uidriver::Widen(GetParam()) +
                             L", but the keys of setup.tsi describe only components 1 to 3."),
              std::wstring::npos)
        << uidriver::Narrow(box->text);
    for (HWND window : uidriver::TopLevelWindows(process.Pid()))
        EXPECT_EQ(window, box->hwnd) << "only the message shows, no wizard";
    ASSERT_TRUE(uidriver::PressButton(*box, L"OK"));
    DWORD exitCode = 1234;
    ASSERT_TRUE(process.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
}

INSTANTIATE_TEST_SUITE_P(Startup, DamagedCount, testing::Values("36", "2000000000", "99999999999"));

} // namespace
