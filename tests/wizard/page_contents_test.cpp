// The widgets inside the pages: component check boxes with their starting states, the
// licence box filled byte for byte, the restart options and the hidden progress display.
#include "tests/common/wizard_session.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace setuptest;

namespace {

const std::string componentsFirst =
    "[Setup]\nDisplayBackgroundWindow=0\n[Dialogs]\nIntroduction=0\nLicense=0\nDirectory=0\n";

struct ComponentBox {
    std::wstring name;
    int top; // in the page layer
    bool ticked;
    bool changeable;
};

struct ComponentsCase {
    const char *name;
    std::string tsi;
    RECT group; // in the page layer
    std::vector<ComponentBox> boxes;
};

void PrintTo(const ComponentsCase &test, std::ostream *out)
{
    *out << test.name;
}

class Components : public testing::TestWithParam<ComponentsCase> {};

TEST_P(Components, StackUpwardsFromTheGroupsFixedBottomInTheirStartingStates)
{
    const ComponentsCase &page = GetParam();
    PackagedSession session(componentsFirst + page.tsi, L"Select components to install");
    ASSERT_NE(session.Window(), nullptr) << session.Describe();
    ASSERT_TRUE(session.LayerOrigin().has_value()) << session.Describe();

    std::optional<uidriver::Control> group = uidriver::FindControl(session.Window(), L"Available components");
    ASSERT_TRUE(group.has_value()) << session.Describe();
    RECT groupRect = session.InLayer(*group);
    EXPECT_EQ(groupRect.left, page.group.left);
    EXPECT_EQ(groupRect.top, page.group.top);
    EXPECT_EQ(groupRect.right, page.group.right);
    EXPECT_EQ(groupRect.bottom, page.group.bottom);

    // The group's inside, beside the boxes, looks like the empty page around it.
    RECT window = uidriver::ClientRect(session.Window());
    POINT origin = *session.LayerOrigin();
    auto pixel = [&](int x, int y) {
        return uidriver::ScreenPixel(window.left + origin.x + x, window.top + origin.y + y);
    };
    const COLORREF pageColour = pixel(300, 120);
    uidriver::WaitUntil([&] { return pixel(144, page.group.bottom - 12) == pageColour; }, 3000);
    EXPECT_EQ(pixel(144, page.group.bottom - 12), pageColour) << "left of the boxes";
    EXPECT_EQ(pixel(462, page.group.bottom - 12), pageColour) << "right of the boxes";

    int checkBoxes = 0;
    for (const uidriver::Control &control : session.Controls())
        if (control.IsCheckBox()) checkBoxes++;
    EXPECT_EQ(checkBoxes, static_cast<int>(page.boxes.size())) << session.Describe();

    for (const ComponentBox &expected : page.boxes) {
        std::optional<uidriver::Control> box = uidriver::FindControl(session.Window(), expected.name);
        ASSERT_TRUE(box.has_value()) << uidriver::Narrow(expected.name) << "\n" << session.Describe();
        SCOPED_TRACE(uidriver::Narrow(expected.name));
        EXPECT_TRUE(box->IsCheckBox());
        EXPECT_TRUE(box->visible);
        RECT r = session.InLayer(*box);
        EXPECT_EQ(r.left, 149);
        EXPECT_EQ(r.top, expected.top);
        EXPECT_EQ(r.right - r.left, 307);
        EXPECT_EQ(box->IsChecked(), expected.ticked);
        EXPECT_EQ(box->enabled, expected.changeable);
    }
}

const ComponentsCase componentsCases[] = {
    {"OneByDefault", "", RECT{139, 231, 467, 271}, {{L"Main program", 244, true, true}}},
    {"ThreeRequiredDefaultAndOptional",
     "[Component Setup]\nNumberOfComponents=3\n1=Core files\n2=Help\n3=Examples\n"
     "[Component Config]\n1=required always\n3=optional\n",
     RECT{139, 181, 467, 271},
     {{L"Core files", 194, true, false}, {L"Help", 219, true, true}, {L"Examples", 244, false, true}}},
    {"EmptyStateLeavesUnticked",
     "[Component Setup]\nNumberOfComponents=2\n1=Tools\n[Component Config]\n1=\n2=defaults\n",
     RECT{139, 206, 467, 271},
     {{L"Tools", 219, false, true}, {L"Main program", 244, true, true}}},
};

INSTANTIATE_TEST_SUITE_P(Wizard, Components, testing::ValuesIn(componentsCases),
                         [](const testing::TestParamInfo<ComponentsCase> &info) { return info.param.name; });

struct LicenseCase {
    const char *name;
    std::string licenseKey; // the [License] section's LicenseFile line, if any
    std::string fileName;   // a file written into the package, if any
    std::string fileBytes;
    bool makeFolder; // the name is a folder, which cannot be read as a licence
    bool eightBit;
    std::wstring shown;
};

void PrintTo(const LicenseCase &test, std::ostream *out)
{
    *out << test.name;
}

class License : public testing::TestWithParam<LicenseCase> {};

TEST_P(License, BoxShowsTheFileByteForByteAndTakesNoInput)
{
    const LicenseCase &license = GetParam();
    std::string tsi = "[Setup]\nDisplayBackgroundWindow=0\n[Dialogs]\nIntroduction=0\n";
    if (!license.licenseKey.empty()) tsi += "[License]\nLicenseFile=" + license.licenseKey + "\n";

    SetupPackage package;
    ASSERT_TRUE(package.Ready());
    ASSERT_TRUE(package.WriteConfig(tsi));
    if (!license.fileName.empty()) {
        if (license.makeFolder)
            ASSERT_TRUE(package.MakeDir(uidriver::Widen(license.fileName)));
        else
            ASSERT_TRUE(package.WriteFile(uidriver::Widen(license.fileName), license.fileBytes));
    }
    uidriver::Process process(WithCharacterWidth(package.ProgramOptions(), license.eightBit));
    HWND window = uidriver::WaitForWindow(process.Pid(), L"License", 20000);
    ASSERT_NE(window, nullptr);

    std::optional<uidriver::Control> box;
    for (const uidriver::Control &control : uidriver::Controls(window))
        if (control.IsEdit() && (control.style & ES_MULTILINE)) box = control;
    ASSERT_TRUE(box.has_value()) << uidriver::DumpControls(window);
    EXPECT_TRUE(box->visible);
    EXPECT_TRUE(box->readOnly || !box->enabled);
    EXPECT_EQ(box->text, license.shown) << uidriver::Narrow(box->text);
    EXPECT_EQ(box->Width(), 324);
    EXPECT_EQ(box->Height(), 215);
}

const std::string licenseBytes = "Terms of use\r\n\r\n1. Be kind.\r\n\t2. Caf\xe9 \xa9 2026\r\nEnd";

const LicenseCase licenseCases[] = {
    {"EveryByteOneCharacter", "terms.txt", "terms.txt", licenseBytes, false, false,
     L"Terms of use\r\n\r\n1. Be kind.\r\n\t2. Caf\u00e9 \u00a9 2026\r\nEnd"},
    {"EightBitPath", "terms.txt", "terms.txt", "Line one\r\nLine two\r\n", false, true,
     L"Line one\r\nLine two\r\n"},
    {"NoLicenseKeyword", "nolicense", "nolicense", "this file is never read", false, false, L""},
    {"KeyAbsent", "", "", "", false, false, L""},
    {"MissingFile", "absent.txt", "", "", false, false, L""},
    {"FolderInsteadOfFile", "legal", "legal", "", true, false, L""},
    {"EmptyFile", "empty.txt", "empty.txt", "", false, false, L""},
};

INSTANTIATE_TEST_SUITE_P(Wizard, License, testing::ValuesIn(licenseCases),
                         [](const testing::TestParamInfo<LicenseCase> &info) { return info.param.name; });

TEST(RebootPage, StartsOnRestartNowWithTheProgressDisplayBuiltButHidden)
{
    PackagedSession session(
        "[Setup]\nDisplayBackgroundWindow=0\n"
        "[Dialogs]\nIntroduction=0\nLicense=0\nDirectory=0\nComponents=0\nSummary=0\nBye=0\n",
        L"Reboot");
    ASSERT_NE(session.Window(), nullptr) << session.Describe();

    std::optional<uidriver::Control> text = session.TextControl(L"The computer must be rebooted now!");
    ASSERT_TRUE(text.has_value()) << session.Describe();
    EXPECT_EQ(session.InLayer(*text).left, 141);
    EXPECT_EQ(session.InLayer(*text).top, 14);

    struct Option {
        std::wstring text;
        int top;
        bool selected;
    };
    for (const Option &option : {Option{L"Yes, restart the computer now!", 92, true},
                                 Option{L"No, I will restart my computer later!", 115, false}}) {
        std::optional<uidriver::Control> box = uidriver::FindControl(session.Window(), option.text);
        ASSERT_TRUE(box.has_value()) << uidriver::Narrow(option.text);
        EXPECT_TRUE(box->IsRadio());
        EXPECT_TRUE(box->visible);
        EXPECT_EQ(box->IsChecked(), option.selected) << uidriver::Narrow(option.text);
        RECT r = session.InLayer(*box);
        EXPECT_EQ(r.left, 169);
        EXPECT_EQ(r.top, option.top);
        // At least the width asked for; wider where the system's font would cut the label.
        EXPECT_GE(r.right - r.left, 200);
    }

    struct Label {
        std::wstring text;
        int top;
    };
    for (const Label &label :
         {Label{L"Current file progress:", 181}, Label{L"Total installation progress:", 230}}) {
        std::optional<uidriver::Control> control = session.TextControl(label.text);
        ASSERT_TRUE(control.has_value()) << uidriver::Narrow(label.text);
        EXPECT_FALSE(control->visible);
        EXPECT_EQ(session.InLayer(*control).left, 141);
        EXPECT_EQ(session.InLayer(*control).top, label.top);
    }
    std::vector<int> barTops;
    for (const uidriver::Control &control : session.Controls()) {
        if (!control.IsProgress()) continue;
        EXPECT_FALSE(control.visible);
        EXPECT_EQ(control.progress, 0);
        EXPECT_EQ(uidriver::ProgressRange(control.hwnd), std::make_pair(0, 100));
        RECT r = session.InLayer(control);
        EXPECT_EQ(r.left, 141);
        EXPECT_EQ(r.right - r.left, 323);
        barTops.push_back(r.top);
    }
    EXPECT_EQ(barTops.size(), 2u);
    EXPECT_NE(std::find(barTops.begin(), barTops.end(), 202), barTops.end());
    EXPECT_NE(std::find(barTops.begin(), barTops.end(), 251), barTops.end());
    std::optional<uidriver::Control> installation =
        session.TextControl(L"Copying the files to your computer.");
    ASSERT_TRUE(installation.has_value());
    EXPECT_FALSE(installation->visible);
}

} // namespace
