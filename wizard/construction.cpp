// Building the wizard window with every page at once, its own paint and background handlers,
// and tearing it all down again. Pages differ only in which widgets are shown.
#include "wizard/setup.h"

#include "background/background_painter.h"
#include "package/plan_reader.h"
#include "windows/native_calls.h"
#include "windows/setup_config.h"

#include <windows.h>

using namespace lumora;
using namespace lumora::GUI;

namespace {

// Posted to the background window to hand the activation on to the wizard.
const UINT bringWizardForward = WM_APP + 1;

const int sideBitmapId = 200;
const int iconBitmapId = 201;
const int iconExtent = 32;
const COLORREF iconKeyColour = RGB(0, 255, 255);

const int windowWidth = 480;
const int windowHeight = 355;

template <class T> void Connect(Signal<> &signal, T *object, void (T::*handler)())
{
    signal.Connect(new Instance<T>(object), new Method<T, void>(handler));
}

} // namespace

bool tSetup::EnablesAnyPage()
{
    return ::EnablesAnyPage(ProgramSetup());
}

bool tSetup::HasDamagedComponentCount(int &count, int &highestDescribed)
{
    return ::HasDamagedComponentCount(ProgramSetup(), count, highestDescribed);
}

int tSetup::ReadComponentCount()
{
    return ReadSetupInt(SetupValue::offeredComponentCount);
}

int tSetup::BuiltComponentCount() const
{
    return componentCheckBoxes.Length();
}

tSetup::tSetup(const SetupRun *run) : Application(String()), run(run)
{
    // Asked before anything exists, so a restart at the end is allowed whatever the pages.
    RequestShutdownPrivilege();
    rebootChoice = 1;
    ReadPageFlags();
    ChoosePages();
    LoadArtwork();
    BuildWindowFrame();
    BuildPageContents();
    BuildDestinationWidgets();
    BuildProgressWidgets();
    BuildComponentWidgets();
    ListPageWidgets();
    iconImage = new Image(*iconBitmap, Point(141, 14), Size(0, 0));
    BuildButtonRow();
    AttachWidgets();
    PlaceWindows();

    // The library's own quit handler is replaced, never chained: AllowQuit alone decides.
    mainWindow->doQuit.Disconnect();
    mainWindow->doQuit.Connect(new Instance<tSetup>(this), new Method<tSetup, bool>(&tSetup::AllowQuit));
    Connect(mainWindow->onPaint, this, &tSetup::PaintFrame);
    mainWindow->onEvent.Connect(new Instance<tSetup>(this),
                                new Method<tSetup, void, int, int, int>(&tSetup::OnWindowEvent));

    if (run && run->silent) {
        RunSilently();
        return;
    }
    ShowOnlyFirstPage();
    // The first page's buttons read as they will whenever the page is reached again: "Yes"
    // and "No" on the License page, "Finish" when it is also the last page.
    SetButtonTexts();
    PrepareKeyboard();
}

// The widgets were made in the order the pages need them built; Tab visits each page from
// top to bottom and then the button row, left to right. Enter moves on, Esc cancels.
void tSetup::PrepareKeyboard()
{
    browseButton->SetTabPosition(directoryEdit);
    Widget *last = componentList;
    if (!last && BuiltComponentCount() > 0) last = componentCheckBoxes.GetEntry(BuiltComponentCount());
    if (!last) last = totalProgress;
    backButton->SetTabPosition(last);
    cancelButton->SetTabPosition(backButton);
    nextButton->SetTabPosition(cancelButton);
    mainWindow->SetDefaultButton(nextButton);
    mainWindow->SetCancelButton(cancelButton);
    nextButton->Focus();
}

void tSetup::ReadPageFlags()
{
    displayBackgroundWindow = ReadSetupFlag(SetupValue::displayBackgroundWindow);
    for (const PageDescription &page : pageDescriptions)
        enabledPages.Enable(page.page, ReadSetupFlag(page.flag));
}

void tSetup::ChoosePages()
{
    // The start-up refuses a package without pages; Page::none keeps the object defined regardless.
    currentPage = enabledPages.First();
    firstPage = currentPage;
    lastPage = enabledPages.Last();
    afterInstallPage = enabledPages.AfterInstallation();
    if (!enabledPages.IsEnabled(Page::reboot)) rebootChoice = 2;
}

void tSetup::LoadArtwork()
{
    sideBitmap = new Bitmap(LoadBitmapResource(sideBitmapId));
    iconBitmap = new Bitmap(LoadBitmapResource(iconBitmapId));

    // The icon's cyan ground takes the button-face colour so that it blends with the window.
    COLORREF buttonFace = GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < iconExtent; y++)
        for (int x = 0; x < iconExtent; x++)
            if (iconBitmap->GetPixel(x, y) == iconKeyColour) iconBitmap->SetPixel(x, y, buttonFace);
}

void tSetup::BuildWindowFrame()
{
    String title = ReadPageTitle(currentPage);

    if (displayBackgroundWindow)
        backgroundWindow = new Window(ReadSetupValue(SetupValue::textBackgroundTitle));
    mainWindow = new Window(title);
    titlebar = new Titlebar(TB_CLOSE);
    pageLayer = new Layer(String());
    // Between the page area (the side picture's frame ends at 298) and the button row.
    divider = new Divider(309, DIV_HORIZONTAL | DIV_FROM_START);
    sideImage = new Image(*sideBitmap, Point(10, 10), Size(0, 0));
}

void tSetup::BuildButtonRow()
{
    backButton = new Button(ReadSetupValue(SetupValue::textBack), nullptr, Point(9, 31), Size(0, 0));
    Connect(backButton->onClick, this, &tSetup::OnBack);
    backButton->SetOrientation(OR_LOWERLEFT);

    cancelButton = new Button(ReadSetupValue(SetupValue::textCancel), nullptr, Point(179, 31), Size(0, 0));
    Connect(cancelButton->onClick, this, &tSetup::OnCancel);
    cancelButton->SetOrientation(OR_LOWERRIGHT);

    nextButton = new Button(ReadSetupValue(SetupValue::textNext), nullptr, Point(89, 31), Size(0, 0));
    Connect(nextButton->onClick, this, &tSetup::OnNext);
    nextButton->SetOrientation(OR_LOWERRIGHT);
}

void tSetup::AttachWidgets()
{
    if (backgroundWindow) RegisterObject(backgroundWindow);
    RegisterObject(mainWindow);

    mainWindow->RegisterObject(titlebar);
    mainWindow->RegisterObject(pageLayer);
    mainWindow->RegisterObject(divider);

    for (Widget *widget : PageLayerWidgets()) pageLayer->RegisterObject(widget);
    Container *boxes = pageLayer;
    if (componentList) {
        pageLayer->RegisterObject(componentList);
        boxes = componentList;
    }
    for (int i = 1; i <= BuiltComponentCount(); i++) boxes->RegisterObject(componentCheckBoxes.GetEntry(i));
}

std::vector<Widget *> tSetup::PageLayerWidgets() const
{
    return {sideImage,     introductionText,   byeText,        rebootText,       componentsText,
            licenseText,   licenseEdit,        directoryText,  directoryGroup,   browseButton,
            directoryEdit, summaryText,        iconImage,      backButton,       cancelButton,
            nextButton,    rebootYesOption,    rebootNoOption, installationText, fileProgressLabel,
            fileProgress,  totalProgressLabel, totalProgress,  componentsGroup};
}

void tSetup::ListPageWidgets()
{
    pageWidgets[IndexOf(Page::introduction)] = {introductionText};
    pageWidgets[IndexOf(Page::license)] = {licenseText, licenseEdit};
    pageWidgets[IndexOf(Page::directory)] = {directoryText, directoryGroup, browseButton, directoryEdit};
    pageWidgets[IndexOf(Page::components)] = {componentsText, componentsGroup};
    if (componentList) pageWidgets[IndexOf(Page::components)].push_back(componentList);
    pageWidgets[IndexOf(Page::summary)] = {summaryText};
    pageWidgets[IndexOf(Page::bye)] = {byeText};
    pageWidgets[IndexOf(Page::reboot)] = {rebootText, rebootYesOption, rebootNoOption};
    installationWidgets = {installationText, fileProgressLabel, fileProgress, totalProgressLabel,
                           totalProgress};
}

void tSetup::PlaceWindows()
{
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);

    if (displayBackgroundWindow) {
        backgroundWindow->SetMetrics(Point(0, 0), Size(screenWidth, screenHeight));
        Connect(backgroundWindow->onPaint, this, &tSetup::PaintBackground);
        backgroundWindow->onEvent.Connect(
            new Instance<tSetup>(this), new Method<tSetup, void, int, int, int>(&tSetup::OnBackgroundEvent));
        backgroundWindow->doQuit.Connect(new Instance<tSetup>(this),
                                         new Method<tSetup, bool>(&tSetup::AllowBackgroundQuit));
        // Keeps the wizard standing in front of the full-screen background.
        backgroundWindow->SetFlags(WF_APPGROUP);
        mainWindow->SetFlags(WF_APPGROUP);
    }

    mainWindow->SetMetrics(Point((screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 2),
                           Size(windowWidth, windowHeight));
}

void tSetup::ShowOnlyFirstPage()
{
    backButton->Hide();
    // The licence is shown, never edited.
    licenseEdit->Deactivate();
    for (Widget *widget : installationWidgets) widget->Hide();
    HideAllPageWidgets();
    ShowPageWidgets(firstPage);
}

tSetup::~tSetup()
{
    mainWindow->UnregisterObject(titlebar);
    mainWindow->UnregisterObject(pageLayer);
    mainWindow->UnregisterObject(divider);

    const std::vector<Widget *> pageLayerWidgets = PageLayerWidgets();
    for (Widget *widget : pageLayerWidgets) pageLayer->UnregisterObject(widget);
    // Every box that was built is taken down, even if the file's count changed meanwhile.
    const int builtComponents = componentCheckBoxes.Length();
    for (int i = 1; i <= builtComponents; i++) {
        CheckBox *box = componentCheckBoxes.GetEntry(i);
        if (Container *holder = box ? box->GetContainer() : nullptr) holder->UnregisterObject(box);
    }
    if (componentList) pageLayer->UnregisterObject(componentList);

    if (displayBackgroundWindow) UnregisterObject(backgroundWindow);
    UnregisterObject(mainWindow);

    DeleteObject(sideBitmap->GetSystemBitmap());
    DeleteObject(iconBitmap->GetSystemBitmap());
    delete sideBitmap;
    delete iconBitmap;

    if (displayBackgroundWindow) delete backgroundWindow;
    delete mainWindow;
    delete titlebar;
    delete pageLayer;
    delete divider;
    for (Widget *widget : pageLayerWidgets) delete widget;

    delete componentList;
    for (int i = 1; i <= builtComponents; i++) {
        delete componentCheckBoxes.GetEntry(i);
        delete componentSelected.GetEntry(i);
    }
    componentCheckBoxes.RemoveAll();
    componentSelected.RemoveAll();
}

void tSetup::PaintFrame()
{
    // The sunken frame around the side picture.
    if (Surface *surface = mainWindow->GetDrawSurface()) surface->Frame(Rect(12, 37, 133, 298), FRAME_DOWN);
}

void tSetup::PaintBackground()
{
    if (!displayBackgroundWindow || backgroundWindow == nullptr) return;
    ::PaintBackground(backgroundWindow->GetSystemWindow(), backgroundWindow->GetUpdateRect());
}

void tSetup::OnBackgroundEvent(int message, int wParam, int)
{
    // Clicking the background brings the wizard back to the front. The background's own
    // deactivation is left alone: answering it too would pull the activation back and forth
    // and leave the wizard looking inactive. An activation handed on from inside the one in
    // progress is undone by it, so the wizard is activated once that one has settled.
    HWND background = backgroundWindow->GetSystemWindow();
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
        lumora::native::Post(background, bringWizardForward, 0, 0);
    } else if (message == static_cast<int>(bringWizardForward)) {
        SetActiveWindow(mainWindow->GetSystemWindow());
    }
}
