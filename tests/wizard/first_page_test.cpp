// The wizard opens on the first enabled page, titled from that page's section, with only that
// page's widgets showing.
#include "tests/common/wizard_session.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace setuptest;

namespace {

struct FirstPageCase {
    const char *name;
    std::string tsi;
    std::wstring title;
    std::wstring pageText;
    bool iconShown;
    std::vector<std::wstring> otherVisible; // further controls of the page, by text
    // The License page's buttons answer its question; the last page's Next finishes.
    std::wstring nextText = L"Next ->";
    std::wstring cancelText = L"Cancel";
};

const std::string noBackground = "[Setup]\nDisplayBackgroundWindow=0\n";

void PrintTo(const FirstPageCase &test, std::ostream *out)
{
    *out << test.name;
}

class FirstPage : public testing::TestWithParam<FirstPageCase> {};

bool Contains(const std::vector<std::wstring> &texts, const std::wstring &text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST_P(FirstPage, OpensTitledWithOnlyItsWidgetsShowing)
{
    const FirstPageCase &page = GetParam();
    PackagedSession session(page.tsi, page.title);
    ASSERT_NE(session.Window(), nullptr) << session.Describe();

    std::vector<std::wstring> statics = session.VisibleTexts(L"Static");
    EXPECT_TRUE(Contains(statics, page.pageText)) << session.Describe();
    for (const std::wstring &line : defaultPageLines) {
        if (line == page.pageText) continue;
        EXPECT_FALSE(Contains(statics, line)) << uidriver::Narrow(line);
    }

    std::vector<std::wstring> buttons = session.VisibleTexts(L"Button");
    EXPECT_TRUE(Contains(buttons, page.cancelText)) << session.Describe();
    EXPECT_TRUE(Contains(buttons, page.nextText)) << session.Describe();
    EXPECT_FALSE(Contains(buttons, L"<- Back"));
    ASSERT_TRUE(uidriver::FindControl(session.Window(), L"<- Back").has_value())
        << "Back is built, only hidden";

    for (const std::wstring &text : page.otherVisible)
        EXPECT_TRUE(Contains(buttons, text) || Contains(statics, text)) << uidriver::Narrow(text);
    const std::wstring pageOnly[] = {L"Browse",
                                     L"Destination Directory",
                                     L"Available components",
                                     L"Yes, restart the computer now!",
                                     L"No, I will restart my computer later!",
                                     L"Current file progress:",
                                     L"Total installation progress:"};
    for (const std::wstring &text : pageOnly) {
        bool expected =
            std::find(page.otherVisible.begin(), page.otherVisible.end(), text) != page.otherVisible.end();
        EXPECT_EQ(Contains(buttons, text) || Contains(statics, text), expected) << uidriver::Narrow(text);
    }

    std::optional<uidriver::Control> side = session.Picture(120, 260);
    ASSERT_TRUE(side.has_value()) << session.Describe();
    EXPECT_TRUE(side->visible);
    std::optional<uidriver::Control> icon = session.Picture(32, 32);
    ASSERT_TRUE(icon.has_value()) << session.Describe();
    EXPECT_EQ(icon->visible, page.iconShown);
}

const FirstPageCase firstPageCases[] = {
    {"NoConfigurationFile", "", L"Setup", L"Welcome to the setup.", true, {}},
    {"LicenseFirst",
     noBackground + "[Dialogs]\nIntroduction=0\n",
     L"License",
     L"Do you accept the following agreement?",
     true,
     {},
     L"Yes",
     L"No"},
    {"DirectoryAfterTwoSwitchedOff",
     noBackground + "[Dialogs]\nIntroduction=0\nLicense=0\n",
     L"Select destination directory",
     L"Choose the destination directory.",
     true,
     {L"Browse", L"Destination Directory"}},
    {"ComponentsFirst",
     noBackground + "[Dialogs]\nIntroduction=0\nLicense=0\nDirectory=0\n",
     L"Select components to install",
     L"Select components to install.",
     true,
     {L"Available components", L"Main program"}},
    {"SummaryWithOwnTitle",
     noBackground +
         "[Dialogs]\nIntroduction=0\nLicense=0\nDirectory=0\nComponents=0\n[Summary]\nTitle=Almost there\n",
     L"Almost there",
     L"Setup is now ready to install.",
     true,
     {}},
    {"ByeWithOtherPagesTitlesIgnored",
     noBackground + "[Dialogs]\nIntroduction=0\nLicense=0\nDirectory=0\nComponents=0\nSummary=0\n"
                    "[Introduction]\nTitle=Not this\n[Reboot]\nTitle=Nor this\n",
     L"Setup complete",
     L"The setup has been completed!",
     true,
     {}},
    {"OnlyRebootShowsNoIcon",
     noBackground + "[Dialogs]\nIntroduction=0\nLicense=0\nDirectory=0\nComponents=0\nSummary=0\nBye=0\n",
     L"Reboot",
     L"The computer must be rebooted now!",
     false,
     {L"Yes, restart the computer now!", L"No, I will restart my computer later!"},
     L"Finish"},
    {"FlagOtherThanZeroCountsAsOn",
     noBackground + "[Dialogs]\nIntroduction=0\nLicense=7\n",
     L"License",
     L"Do you accept the following agreement?",
     true,
     {},
     L"Yes",
     L"No"},
};

INSTANTIATE_TEST_SUITE_P(Wizard, FirstPage, testing::ValuesIn(firstPageCases),
                         [](const testing::TestParamInfo<FirstPageCase> &info) { return info.param.name; });

} // namespace
