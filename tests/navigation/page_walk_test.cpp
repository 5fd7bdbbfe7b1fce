// Back and Next through every combination of enabled pages, seen as a user sees them: the
// title, the button row and the page icon after every step.
#include "tests/common/wizard_session.h"
#include "tests/navigation/test_package.h"

#include <gtest/gtest.h>

using namespace navtest;
using namespace setuptest;
using namespace uidriver;

namespace {

using namespace defaultTitle;

const std::wstring back = L"<- Back";
const std::wstring cancel = L"Cancel";
const std::wstring next = L"Next ->";
const std::wstring finish = L"Finish";

enum class Action { Next, Back, Press, ClearDestination, Untick };

struct Step {
    Action action;
    std::wstring title; // of the page reached
    std::vector<std::wstring> buttons;
    bool icon;
    std::wstring argument = L""; // button or check box text for Press and Untick
};

struct Walk {
    const char *name;
    std::string pages;
    std::wstring firstTitle;
    std::vector<std::wstring> firstButtons;
    std::vector<Step> steps;
    bool endsClosed = false; // the last step closes the wizard
    int installedFiles = -1; // files in the destination at the end; -1: not looked at
};

ComponentSpec SmallComponent()
{
    ComponentSpec component;
    component.name = "Main program";
    component.groups = {{{"readme.txt", "Read me.\r\n"}, {"bin/tool.dat", GeneratedContent(5000, 1)}}};
    return component;
}

class PageWalk : public ::testing::TestWithParam<Walk> {};

TEST_P(PageWalk, ShowsTheRightTitleButtonsAndIconAfterEveryStep)
{
    const Walk &walk = GetParam();
    SetupPackage package;
    TempFolder destination(L"setup-dest");
    PackagePlan plan;
    plan.pages = walk.pages;
    plan.components = {SmallComponent()};
    ASSERT_TRUE(WritePackage(package, plan)) << Narrow(package.Error());

    WizardSession wizard(package);
    ASSERT_TRUE(wizard.Open(walk.firstTitle)) << Narrow(wizard.Process().Error());
    ASSERT_TRUE(wizard.WaitForPage(walk.firstTitle, walk.firstButtons)) << wizard.Describe();

    for (size_t i = 0; i < walk.steps.size(); i++) {
        const Step &step = walk.steps[i];
        SCOPED_TRACE("step " + std::to_string(i + 1) + " towards \"" + Narrow(step.title) + "\"");
        // Installations land in a folder of the test's own, not in Program Files.
        if (wizard.View().title == directory) {
            ASSERT_TRUE(wizard.SetDestination(destination.Dir()));
        }
        switch (step.action) {
        case Action::Next: {
            std::vector<std::wstring> row = wizard.View().buttons;
            ASSERT_FALSE(row.empty()) << wizard.Describe();
            ASSERT_TRUE(wizard.Press(row.back())) << wizard.Describe();
            break;
        }
        case Action::Back:
            ASSERT_TRUE(wizard.Press(back)) << wizard.Describe();
            break;
        case Action::Press:
            ASSERT_TRUE(wizard.Press(step.argument)) << wizard.Describe();
            break;
        case Action::ClearDestination:
            ASSERT_TRUE(wizard.SetDestination(L"")) << wizard.Describe();
            ASSERT_TRUE(wizard.Press(next)) << wizard.Describe();
            break;
        case Action::Untick:
            ASSERT_TRUE(wizard.Click(step.argument)) << wizard.Describe();
            ASSERT_TRUE(WaitUntil([&] {
                auto box = FindControl(wizard.Window(), step.argument);
                return box && !box->IsChecked();
            }));
            ASSERT_TRUE(wizard.Press(next)) << wizard.Describe();
            break;
        }
        if (walk.endsClosed && i + 1 == walk.steps.size()) break;
        ASSERT_TRUE(wizard.WaitForPage(step.title, step.buttons, 60000)) << wizard.Describe();
        EXPECT_EQ(wizard.View().icon, step.icon) << wizard.Describe();
    }

    if (walk.endsClosed) {
        DWORD exitCode = 1;
        ASSERT_TRUE(wizard.Process().WaitForExit(kDefaultTimeoutMs, &exitCode));
        EXPECT_EQ(exitCode, 0u);
        EXPECT_TRUE(package.FileExists(L"setup.temp"));
    }
    if (walk.installedFiles >= 0) {
        EXPECT_EQ(destination.Files().size(), static_cast<size_t>(walk.installedFiles));
    }
}

const std::vector<std::wstring> firstRow = {cancel, next};
const std::vector<std::wstring> middleRow = {back, cancel, next};
const std::vector<std::wstring> licenseRow = {back, L"No", L"Yes"};

// Next from the Introduction through every page up to the Summary, every page on.
const std::vector<Step> nextToSummary = {{Action::Next, license, licenseRow, true},
                                         {Action::Next, directory, middleRow, true},
                                         {Action::Next, components, middleRow, true},
                                         {Action::Next, summary, middleRow, true}};

std::vector<Step> Then(std::vector<Step> steps, const std::vector<Step> &more)
{
    steps.insert(steps.end(), more.begin(), more.end());
    return steps;
}

INSTANTIATE_TEST_SUITE_P(
    Navigation, PageWalk,
    ::testing::Values(Walk{"DefaultWalkInstallsAndEndsOnByeAndReboot", "1111111", introduction, firstRow,
                           Then(nextToSummary, {{Action::Next, bye, {next}, true},
                                                {Action::Next, reboot, {back, finish}, false},
                                                {Action::Back, bye, {next}, true},
                                                {Action::Next, reboot, {back, finish}, false}}),
                           false, 2},
                      Walk{"BackWalksDownToTheIntroduction", "1111111", introduction, firstRow,
                           Then(nextToSummary, {{Action::Back, components, middleRow, true},
                                                {Action::Back, directory, middleRow, true},
                                                {Action::Back, license, licenseRow, true},
                                                {Action::Back, introduction, firstRow, true}})},
                      Walk{"LicenseAndComponentsOffAreSkippedBothWays",
                           "1010111",
                           introduction,
                           firstRow,
                           {{Action::Next, directory, middleRow, true},
                            {Action::Next, summary, middleRow, true},
                            {Action::Back, directory, middleRow, true},
                            {Action::Back, introduction, firstRow, true},
                            {Action::Next, directory, middleRow, true}}},
                      Walk{"NextValidatesNeitherDestinationNorChoice",
                           "0011111",
                           directory,
                           {cancel, next},
                           {{Action::ClearDestination, components, middleRow, true},
                            {Action::Untick, summary, middleRow, true, L"Main program"},
                            {Action::Back, components, middleRow, true}}},
                      Walk{"ByeOffInstallsIntoRebootWithIconAndNoBack", "1111101", introduction, firstRow,
                           Then(nextToSummary, {{Action::Next, reboot, {finish}, true}}), false, 2},
                      Walk{"RebootOffFinishesOnByeAndCloses",
                           "0011110",
                           directory,
                           {cancel, next},
                           {{Action::Next, components, middleRow, true},
                            {Action::Next, summary, middleRow, true},
                            {Action::Next, bye, {finish}, true},
                            {Action::Press, L"", {}, false, finish}},
                           true,
                           2},
                      Walk{"ByeAndRebootOffFinishWithoutInstalling",
                           "1010100",
                           introduction,
                           firstRow,
                           {{Action::Next, directory, middleRow, true},
                            {Action::Next, summary, {back, cancel, finish}, true},
                            {Action::Back, directory, middleRow, true},
                            {Action::Next, summary, {back, cancel, finish}, true},
                            {Action::Press, L"", {}, false, finish}},
                           true,
                           0},
                      Walk{"LicenseAsLastPageReadsFinishAndNo",
                           "1100000",
                           introduction,
                           firstRow,
                           {{Action::Next, license, {back, L"No", finish}, true},
                            {Action::Back, introduction, firstRow, true}}}),
    [](const ::testing::TestParamInfo<Walk> &info) { return std::string(info.param.name); });

} // namespace
