// The contents of the pages: their texts, the licence, the restart choice, the installation
// progress display and the component check boxes. All of it is built once, hidden or not.
#include "wizard/setup.h"

#include "windows/setup_config.h"

#include <string>
#include <vector>
#include <windows.h>

using namespace lumora;
using namespace lumora::GUI;

namespace {

// Page texts stand right of the page icon; a page without the icon starts its text where the
// icon would stand.
const Point iconPosition(141, 14);
const Point pageTextPosition(181, 14);

Text *NewPageText(const PageDescription &page, const String &text)
{
    return new Text(text, page.showsIcon ? pageTextPosition : iconPosition);
}

String ReadPageLines(const PageDescription &page)
{
    return ReadSetupLines(page.lines, page.line);
}

Text *NewPageText(const PageDescription &page)
{
    return NewPageText(page, ReadPageLines(page));
}

// A licence is a few kilobytes; a larger file is not one, and only its start is shown so that
// a wrong name cannot exhaust the memory of the process.
const int64_t mostLicenseBytes = 16 * 1024 * 1024;

// The licence is 8-bit text in the system code page, as every other 8-bit text of the
// program, so its bytes become characters through that code page: 0x93 is a quotation mark
// under 1252 and a letter under 1251. Line ends stay as the file holds them. A file that
// cannot be opened gives an empty licence.
String ReadLicenseFile(const String &name)
{
    InStream file(STREAM_FILE, name, STREAM_READ);
    if (!file.IsOpen()) return String();
    const int length = static_cast<int>(file.Size() < mostLicenseBytes ? file.Size() : mostLicenseBytes);
    std::string bytes;
    bytes.reserve(static_cast<size_t>(length));
    for (int i = 0; i < length; i++) {
        const uint64_t byte = file.InputNumber(1);
        if (file.AtEnd()) break; // the file shrank meanwhile
        bytes += static_cast<char>(byte);
    }
    if (bytes.empty()) return String();
    const int count = static_cast<int>(bytes.size());
    int characters = MultiByteToWideChar(CP_ACP, 0, bytes.data(), count, nullptr, 0);
    if (characters <= 0) return String();
    std::vector<wchar_t> text(static_cast<size_t>(characters));
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), count, text.data(), characters);
    return String(text.data(), characters);
}

} // namespace

void tSetup::BuildPageContents()
{
    String licenseFile = ReadSetupValue(SetupValue::licenseFile);
    String license;
    if (licenseFile.Compare(noLicense) != 0) license = ReadLicenseFile(licenseFile);
    licenseEdit = new EditBox(license, Point(141, 56), Size(324, 215), 0);

    introductionText = NewPageText(DescriptionOf(Page::introduction));
    componentsText = NewPageText(DescriptionOf(Page::components));
    installationText = NewPageText(installationDisplay);
    directoryText = NewPageText(DescriptionOf(Page::directory));
    summaryText = NewPageText(DescriptionOf(Page::summary));
    byeText = NewPageText(DescriptionOf(Page::bye));
    licenseText = NewPageText(DescriptionOf(Page::license));
    rebootText = NewPageText(DescriptionOf(Page::reboot));

    rebootYesOption = new OptionBox(ReadSetupValue(SetupValue::textRebootNow), Point(169, 92), Size(200, 0),
                                    &rebootChoice, 1);
    rebootNoOption = new OptionBox(ReadSetupValue(SetupValue::textRebootLater), Point(169, 115), Size(200, 0),
                                   &rebootChoice, 2);
}

void tSetup::ShowCompletedInPart()
{
    String text = ReadSetupValue(SetupValue::textCompletedInPart);
    String lines = ReadPageLines(DescriptionOf(Page::bye));
    if (lines.Length() > 0) text.Append("\n\n").Append(lines);
    byeText->SetText(text);
}

void tSetup::BuildProgressWidgets()
{
    fileProgressLabel = new Text(ReadSetupValue(SetupValue::textFileProgress), Point(141, 181));
    fileProgress = new Progressbar(Point(141, 202), Size(323, 0), PB_HORIZONTAL, PB_PERCENT, 0, 100, 0);
    totalProgressLabel = new Text(ReadSetupValue(SetupValue::textTotalProgress), Point(141, 230));
    totalProgress = new Progressbar(Point(141, 251), Size(323, 0), PB_HORIZONTAL, PB_PERCENT, 0, 100, 0);
}

void tSetup::BuildComponentWidgets()
{
    // The group's bottom edge stays at 271; it grows upwards by one row per component while
    // it stays clear of the page icon and text (which end at 46). Beyond that many rows the
    // same box holds a scrolling list.
    const int rowHeight = 25;
    const int mostRows = 8;
    int count = ReadComponentCount();
    int rows = count < mostRows ? count : mostRows;
    componentsGroup = new GroupBox(ReadSetupValue(SetupValue::textAvailableComponents),
                                   Point(139, 256 - rowHeight * rows), Size(328, rowHeight * rows + 15));

    Point firstBox(149, 269 - rowHeight * rows);
    int boxWidth = 307;
    if (count > mostRows) {
        // Inside the frame, the rows as the fixed ones would stand, less the bar's width.
        componentList = new ScrollLayer(Point(141, firstBox.y - 2), Size(324, rowHeight * rows), rowHeight);
        firstBox = Point(firstBox.x - 141, 2);
        boxWidth = 290;
    }

    int y = firstBox.y;
    for (int i = 1; i <= ReadComponentCount(); i++) {
        bool *selected = new bool(false);
        componentSelected.Add(selected, i);
        String name = ReadSetupValue(SetupValue::componentName, i);
        CheckBox *box = new CheckBox(name, Point(firstBox.x, y), Size(boxWidth, 0), selected);
        componentCheckBoxes.Add(box, i);

        bool required = false;
        *selected = StartsTicked(i, required);
        // Always installed: ticked, and the user cannot untick it.
        if (required) box->Deactivate();
        // The command line's choice, which holds the required ones too.
        if (run && static_cast<size_t>(i) < run->chosen.size())
            *selected = run->chosen[static_cast<size_t>(i)];
        y += rowHeight;
    }
}

bool tSetup::StartsTicked(int component, bool &required)
{
    String state = ReadSetupValue(SetupValue::componentState, component);
    required = state.CompareN("required", 8) == 0;
    return required || state.CompareN("default", 7) == 0;
}
