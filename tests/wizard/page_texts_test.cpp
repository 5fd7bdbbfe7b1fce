// Page texts come from line lists in setup.tsi, read afresh through the platform's profile
// functions on the wide and on the 8-bit path alike.
#include "tests/common/wizard_session.h"

#include <gtest/gtest.h>

using namespace setuptest;

namespace {

const std::string longValue = [] {
    std::string value;
    for (int i = 0; i < 300; i++) value += static_cast<char>('a' + i % 26);
    return value;
}();

// One package exercises every rule of the reader: names in other letter case, missing line
// keys, counts of 0 and 3, and a value longer than 255 characters.
const std::string lineListPackage = "[setup]\ndisplaybackgroundwindow=0\n"
                                    "[INTRODUCTION]\nTITLE=Welcome aboard\nlines=3\n1=First line\n"
                                    "[Summary]\nLines=0\n"
                                    "[Bye]\n1=" +
                                    longValue +
                                    "\n"
                                    "[Directory]\nLines=2\n1=Pick a folder.\n2=Any folder will do.\n"
                                    "[Components]\nLines=-2\n"
                                    "[Reboot]\nLines=2\n2=Second only\n";

struct Expected {
    std::wstring what;
    std::wstring text;
};

const Expected expectedTexts[] = {
    {L"line 1, then the default line for the missing 2 and 3",
     L"First line\nWelcome to the setup.\nWelcome to the setup."},
    {L"the first 255 characters of a longer value", uidriver::Widen(longValue.substr(0, 255))},
    {L"two lines as written", L"Pick a folder.\nAny folder will do."},
    {L"default line for the missing key 1", L"The computer must be rebooted now!\nSecond only"},
    {L"untouched section", L"Do you accept the following agreement?"},
};

class PageTexts : public testing::TestWithParam<bool> {};

TEST_P(PageTexts, FollowLineListsWhateverTheLetterCase)
{
    const bool eightBit = GetParam();
    uidriver::RelayTrace trace(L"kernel32.GetPrivateProfileStringA;kernel32.GetPrivateProfileStringW;"
                               L"advapi32.RegOpenKeyA;advapi32.RegOpenKeyW");
    ASSERT_TRUE(trace.Ready()) << uidriver::Narrow(trace.Error());
    PackagedSession session(lineListPackage, L"Welcome aboard", eightBit, &trace);
    ASSERT_NE(session.Window(), nullptr) << session.Describe();

    // Every read takes the width the library chose, and only that one. Wine itself opens
    // other keys with RegOpenKeyW, so only the Program Files key counts.
    auto programFilesOpens = [&](const std::string &function) {
        int opens = 0;
        for (const std::string &call : trace.Calls(function))
            if (call.find("\\\\CurrentVersion\"") != std::string::npos) opens++;
        return opens;
    };
    const char *used = eightBit ? "A" : "W";
    const char *unused = eightBit ? "W" : "A";
    EXPECT_GT(trace.Calls(std::string("KERNEL32.GetPrivateProfileString") + used).size(), 20u) << trace.Log();
    EXPECT_TRUE(trace.Calls(std::string("KERNEL32.GetPrivateProfileString") + unused).empty());
    EXPECT_EQ(programFilesOpens(std::string("advapi32.RegOpenKey") + used), 1);
    EXPECT_EQ(programFilesOpens(std::string("advapi32.RegOpenKey") + unused), 0);

    for (const Expected &expected : expectedTexts)
        EXPECT_TRUE(session.TextControl(expected.text).has_value()) << uidriver::Narrow(expected.what) << "\n"
                                                                    << session.Describe();

    // Lines=0 and a negative count both give an empty text, and no default line shows.
    EXPECT_FALSE(session.TextControl(L"Setup is now ready to install.").has_value());
    EXPECT_FALSE(session.TextControl(L"Select components to install.").has_value());
}

INSTANTIATE_TEST_SUITE_P(Wizard, PageTexts, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool> &info) {
                             return info.param ? std::string("EightBit") : std::string("Wide");
                         });

} // namespace

namespace {

// A damaged line count would mean billions of file reads; the wizard opens regardless, showing
// a hundred lines, more than any page could hold. (A damaged component count is refused before
// the wizard opens: see the start-up tests.)
TEST(DamagedCounts, StayBoundedSoTheWizardStillOpens)
{
    PackagedSession session("[Setup]\nDisplayBackgroundWindow=0\n"
                            "[Dialogs]\nIntroduction=0\nLicense=0\nDirectory=0\n"
                            "[Components]\nLines=2000000000\n",
                            L"Select components to install");
    ASSERT_NE(session.Window(), nullptr) << session.Describe();

    std::wstring hundredLines = L"Select components to install.";
    for (int line = 2; line <= 100; line++) hundredLines += L"\nSelect components to install.";
    EXPECT_TRUE(session.TextControl(hundredLines).has_value());
}

} // namespace
