// The wizard: one object that owns every window and widget from start to end.
#ifndef SETUP_WIZARD_SETUP_H
#define SETUP_WIZARD_SETUP_H

#include "install/install_report.h"
#include "install/installation_plan.h"
#include "lumora/lumora.h"
#include "package/exit_codes.h"
#include "package/pages.h"
#include "package/setup_run.h"

#include <vector>

class ProgressBars;

class tSetup : public lumora::Application {
public:
    // run: what the command line asks, or null for a run without switches, which is left as it was.
    explicit tSetup(const SetupRun *run = nullptr);
    ~tSetup() override;

    // How the wizard ended, once its loop has returned.
    RunOutcome Outcome() const;
    const InstallReport &Report() const { return installationReport; }

    // For a run without the wizard: the destination the Directory page proposes, whether a
    // component starts ticked (required ones always, and fixed so), and the plan of an
    // installation into destination of the components chosen[i] names.
    static lumora::String DefaultDestination();
    static bool StartsTicked(int component, bool &required);
    static InstallationPlan PlanInstallation(const lumora::String &destination,
                                             const std::vector<bool> &chosen, bool makeLinks);
    // The "Installation incomplete" notice for a report.
    static lumora::String IncompleteNotice(const InstallReport &report);

    // Whether setup.tsi switches on at least one page; without one there is no wizard to show.
    static bool EnablesAnyPage();
    // Whether the component count of setup.tsi is one no package means (package/plan_reader.h);
    // the wizard would stall building its rows. highestDescribed receives what the keys describe.
    static bool HasDamagedComponentCount(int &count, int &highestDescribed);

    // Button and window handlers, connected by the constructor.
    void OnBack();
    void OnNext();
    void OnCancel();
    void OnBrowse();
    bool AllowQuit();
    bool AllowBackgroundQuit();
    void PaintFrame();
    void PaintBackground();
    void OnBackgroundEvent(int message, int wParam, int lParam);
    void OnWindowEvent(int message, int wParam, int lParam);

    // The installation worker: the body of installThread.
    long InstallComponents(lumora::Threads::Thread *thread);

private:
    // construction
    void ReadPageFlags();
    void ChoosePages();
    void LoadArtwork();
    void BuildWindowFrame(); // windows, title bar, layer, divider, side picture
    void BuildButtonRow();
    void AttachWidgets();
    void PlaceWindows();
    void ShowOnlyFirstPage();
    void PrepareKeyboard();
    void BuildPageContents();       // licence box, page texts, restart options
    void BuildDestinationWidgets(); // group box, edit box, Browse
    void BuildProgressWidgets();
    void BuildComponentWidgets();
    void ListPageWidgets();
    // Every widget of the page layer, in the order they are attached.
    std::vector<lumora::GUI::Widget *> PageLayerWidgets() const;
    static lumora::String ReadProgramFilesDirectory();
    static int ReadComponentCount(); // N as offered, read again at every call
    int BuiltComponentCount() const; // the check boxes made at construction
    void RequestShutdownPrivilege();
    // With /SILENT: the installation display alone, installing once the loop runs (the message
    // that starts it is taken by StartsSilentInstallation), then the end of the run.
    void RunSilently();
    bool StartsSilentInstallation(int message);

    // navigation
    void HideAllPageWidgets();
    void ShowPageWidgets(Page page);
    void ShowWidgetsOf(const PageDescription &page, const std::vector<lumora::GUI::Widget *> &widgets);
    void SetComponentBoxesShown(bool shown);
    void SetPageTitle(Page page);
    void SetButtonTexts();
    // After an installation that could not install everything, the completion page says so first.
    void ShowCompletedInPart();
    static lumora::String ReadTitle(const PageDescription &page);
    static lumora::String ReadPageTitle(Page page); // empty for no page
    void RunInstallation();
    void ReportInstallationFaults();
    // The worker's plan: the destination and the choices as they are now, and setup.tsi.
    InstallationPlan ReadInstallationPlan() const;
    bool IsChosen(int component) const;

    Page currentPage;
    Page firstPage;
    Page lastPage;
    Page afterInstallPage;
    int rebootChoice;

    bool displayBackgroundWindow;
    EnabledPages enabledPages;
    // The widgets each page shows besides the icon, in the order shown; the component check
    // boxes follow them on their page, as many as the file names at the time.
    std::vector<lumora::GUI::Widget *> pageWidgets[pageCount];
    std::vector<lumora::GUI::Widget *> installationWidgets;

    lumora::GUI::Bitmap *sideBitmap = nullptr;
    lumora::GUI::Bitmap *iconBitmap = nullptr;

    lumora::GUI::Window *backgroundWindow = nullptr;
    lumora::GUI::Window *mainWindow = nullptr;
    lumora::GUI::Titlebar *titlebar = nullptr;
    lumora::GUI::Layer *pageLayer = nullptr;
    lumora::GUI::Divider *divider = nullptr;

    lumora::GUI::Button *backButton = nullptr;
    lumora::GUI::Button *cancelButton = nullptr;
    lumora::GUI::Button *nextButton = nullptr;

    lumora::GUI::Image *sideImage = nullptr;
    lumora::GUI::Image *iconImage = nullptr;

    lumora::GUI::Text *introductionText = nullptr;
    lumora::GUI::Text *byeText = nullptr;
    lumora::GUI::Text *summaryText = nullptr;
    lumora::GUI::Text *directoryText = nullptr;

    lumora::GUI::GroupBox *directoryGroup = nullptr;
    lumora::GUI::EditBox *directoryEdit = nullptr;
    lumora::GUI::Button *browseButton = nullptr;

    lumora::GUI::Text *componentsText = nullptr;
    lumora::GUI::GroupBox *componentsGroup = nullptr;
    // Holds the check boxes when there are more than the page has rows for; null otherwise.
    lumora::GUI::ScrollLayer *componentList = nullptr;
    lumora::Array<lumora::GUI::CheckBox *> componentCheckBoxes;
    lumora::Array<bool *> componentSelected;

    lumora::GUI::Text *licenseText = nullptr;
    lumora::GUI::EditBox *licenseEdit = nullptr;

    lumora::GUI::Text *rebootText = nullptr;
    lumora::GUI::OptionBox *rebootYesOption = nullptr;
    lumora::GUI::OptionBox *rebootNoOption = nullptr;

    lumora::GUI::Text *installationText = nullptr;
    lumora::GUI::Text *fileProgressLabel = nullptr;
    lumora::GUI::Progressbar *fileProgress = nullptr;
    lumora::GUI::Text *totalProgressLabel = nullptr;
    lumora::GUI::Progressbar *totalProgress = nullptr;

    lumora::Threads::Thread *installThread = nullptr;
    // The worker's bars, set while it runs.
    ProgressBars *installationBars = nullptr;
    // A close asked for while the worker runs is held until it ends: nothing may hide a
    // running installation.
    bool installing = false;
    bool closeAfterInstallation = false;
    // The user has agreed to leave; the other window's request needs no second question.
    bool leaving = false;

    // What the last installation could not do, written by the worker and shown by
    // navigation once the worker has stopped.
    InstallReport installationReport;

    const SetupRun *run;         // null without switches
    bool installed = false;      // the installation has run to its end
    bool finished = false;       // Finish was pressed, or the silent run has ended
    bool restartStarted = false; // Windows agreed to restart
};

#endif
