#include "app/deployment.h"

#include "app/exit_codes.h"
#include "app/installation_log.h"
#include "app/log_file.h"
#include "app/setup_config.h"
#include "app/startup_checks.h"
#include "install/installation_clock.h"
#include "install/installation_worker.h"
#include "wizard/setup.h"

#include "lumora/application.h"
#include "lumora/dialogs.h"
#include "lumora/process.h"

#include <memory>
#include <windows.h>

using lumora::String;

namespace {

const int informationIcon = 32516; // IDI_INFORMATION

#ifdef _WIN64
const wchar_t build[] = L"win64";
#else
const wchar_t build[] = L"win32";
#endif

// Nobody watches a run without a window; the log follows it instead.
class NoProgress : public InstallProgress {
public:
    void SetFileProgress(int) override {}
    void SetTotalProgress(int) override {}
};

class Deployment {
public:
    explicit Deployment(const SetupSwitches &switches) : switches(switches) {}
    int Run();

private:
    void Log(const std::wstring &line)
    {
        if (log) log->Line(line);
    }
    void LogLines(const String &text); // each line of a notice
    int CannotStart(const std::wstring &why);
    bool ChooseComponents(std::wstring &error);
    void DescribeMode();
    RunOutcome InstallWithoutWindow();
    RunOutcome RunWizard();
    int End(const RunOutcome &outcome);

    const SetupSwitches &switches;
    LogFile file;
    std::unique_ptr<SetupLog> log;
    std::unique_ptr<InstallationLog> account;
    SetupRun run;
};

int Deployment::Run()
{
    if (switches.log) {
        std::wstring why;
        if (!file.Create(L"Setup", switches.logFile, why)) return CannotStart(why);
        log = std::make_unique<SetupLog>(file);
        account = std::make_unique<InstallationLog>(*log);
        Log(L"Setup " SETUP_VERSION_TEXT L" (" + std::wstring(build) + L"), log " + file.Path());
        Log(L"Command line: " + std::wstring(GetCommandLineW()));
    }
    if (!switches.error.empty()) return CannotStart(switches.error + L"\n\nSetup /? lists the switches.");
    if (switches.help) {
        // Asked for by name, so shown whatever else the line says.
        lumora::GUI::Dialogs::QuickMessage(String(SetupHelpText().c_str()), "Setup", MB_OK, informationIcon);
        Log(L"The list of switches was shown; nothing was installed.");
        return End(RunOutcome{false, false, true, false, false});
    }
    if (!LibraryVersionMatches()) {
        Log(L"The library lumora.dll reports version " +
            WideText(lumora::System::System::GetVersionString()) + L", not " LUMORA_VERSION_TEXT L".");
        if (switches.suppressMessageBoxes)
            return CannotStart(L"The library lumora.dll is of another version than Setup was built for; with "
                               L"/SUPPRESSMSGBOXES the question whether to go on is answered No.");
        if (!AskToContinueWithOtherLibrary())
            return CannotStart(
                L"The library lumora.dll is of another version than Setup was built for, and the "
                L"user chose not to go on.");
        Log(L"The user chose to go on with it.");
    }
    const String workingFolder = lumora::Application::GetStartupDirectory();
    const String packageFolder = lumora::Application::GetApplicationDirectory();
    Log(L"Package folder: " + WideText(packageFolder));
    Log(L"Working folder: " + WideText(workingFolder));
    const String configuration = packageFolder + "setup.tsi";
    DWORD attributes = GetFileAttributesW(static_cast<const wchar_t *>(configuration));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return CannotStart(L"The package has no setup.tsi: " + WideText(configuration) + L" is missing.");
    const String refusal = PackageRefusal();
    if (refusal.Length() > 0) return CannotStart(WideText(refusal));

    std::wstring why;
    if (!ChooseComponents(why)) return CannotStart(why);
    run.destination =
        switches.hasDestination ? String(switches.destination.c_str()) : tSetup::DefaultDestination();
    run.silent = switches.silent && !switches.verySilent;
    run.noIcons = switches.noIcons;
    run.noRestart = switches.noRestart;
    run.log = account.get();
    DescribeMode();

    const RunOutcome outcome = switches.verySilent ? InstallWithoutWindow() : RunWizard();
    // Whoever waits for Setup watches for this file; it carries no content.
    _lcreat("setup.temp", 0);
    return End(outcome);
}

bool Deployment::ChooseComponents(std::wstring &error)
{
    const int count = ReadSetupInt(SetupValue::offeredComponentCount);
    std::vector<std::wstring> names;
    run.chosen.assign(static_cast<size_t>(count > 0 ? count : 0) + 1, false);
    for (int i = 1; i <= count; i++) {
        bool required = false;
        const bool ticked = tSetup::StartsTicked(i, required);
        // A list names the components besides the required ones, which are always installed.
        run.chosen[static_cast<size_t>(i)] = switches.hasComponents ? required : ticked;
        if (switches.hasComponents) names.push_back(WideText(ReadSetupValue(SetupValue::componentName, i)));
    }
    if (!switches.hasComponents) return true;
    ComponentList list = ResolveComponents(switches.components, names);
    error = list.error;
    for (size_t i = 1; i < list.chosen.size(); i++)
        if (list.chosen[i]) run.chosen[i] = true;
    return error.empty();
}

void Deployment::DescribeMode()
{
    if (!log) return;
    if (switches.verySilent)
        Log(L"Mode: very silent, no window");
    else if (switches.silent)
        Log(L"Mode: silent, the installation display only");
    else
        Log(L"Mode: the wizard");
    if (switches.suppressMessageBoxes) Log(L"Message boxes: answered safely");
    if (switches.noIcons) Log(L"Start menu shortcuts: none (/NOICONS)");
    if (switches.noRestart) Log(L"Restart: never (/NORESTART)");
    const String licence = ReadSetupValue(SetupValue::licenseFile);
    if (switches.Unattended() && ReadSetupFlag(SetupValue::licensePage) && licence.Compare(noLicense) != 0)
        Log(L"Licence: " + WideText(licence) + L" accepted by the silent installation");
    log->Flush();
}

RunOutcome Deployment::InstallWithoutWindow()
{
    const InstallationPlan plan = tSetup::PlanInstallation(run.destination, run.chosen, !run.noIcons);
    if (account) account->PlanRead(plan);
    InstallReport report;
    report.Observe(account.get());
    NoProgress progress;
    // No window exists, so the engine runs on this thread and nothing waits for it.
    InstallationClock clock;
    InstallPlan(plan, progress, report);
    clock.Stop();
    if (!report.IsEmpty()) LogLines(tSetup::IncompleteNotice(report));
    return RunOutcome{true, !report.IsEmpty(), true, ReadSetupFlag(SetupValue::rebootPage), false};
}

RunOutcome Deployment::RunWizard()
{
    tSetup *setup = new tSetup(&run);
    lumora::Loop();
    RunOutcome outcome = setup->Outcome();
    if (outcome.faults && run.silent) LogLines(tSetup::IncompleteNotice(setup->Report()));
    delete setup;
    return outcome;
}

void Deployment::LogLines(const String &text)
{
    std::wstring all = WideText(text);
    Log(L"The notice \"Installation incomplete\", not shown:");
    for (size_t start = 0; start <= all.size();) {
        size_t end = all.find(L'\n', start);
        if (end == std::wstring::npos) end = all.size();
        if (end > start) Log(L"    " + all.substr(start, end - start));
        start = end + 1;
    }
}

int Deployment::CannotStart(const std::wstring &why)
{
    Log(L"Setup cannot start: " + why);
    Log(L"Exit code: 1");
    if (log) log->Flush();
    // A deployment tool reads the code and the log; a box would wait for nobody.
    if (!switches.QuietNotices()) ShowRefusal(String(why.c_str()));
    return exitCode::couldNotStart;
}

int Deployment::End(const RunOutcome &outcome)
{
    const int code = ExitCodeOf(outcome);
    std::wstring result;
    if (!outcome.installed)
        result = outcome.finished ? L"nothing was installed" : L"cancelled before anything was installed";
    else if (outcome.faults)
        result = L"installed incompletely";
    else if (outcome.restartStarted)
        result = L"installed completely; Windows is restarting";
    else if (outcome.restartWanted)
        result = L"installed completely; Windows must be restarted to finish the installation";
    else
        result = L"installed completely";
    Log(L"Result: " + result);
    Log(L"Exit code: " + std::to_wstring(code));
    return code;
}

} // namespace

int RunWithSwitches(const SetupSwitches &switches)
{
    return Deployment(switches).Run();
}
