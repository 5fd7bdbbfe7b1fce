#include "app/installation_log.h"

std::wstring WideText(const lumora::String &text)
{
    return std::wstring(static_cast<const wchar_t *>(text), static_cast<size_t>(text.Length()));
}

namespace {

// A path as a reader looks for it: the engine joins "\." for a component installed into the
// destination itself, and entry names may hold "/".
std::wstring ReadablePath(const lumora::String &path)
{
    std::wstring text = WideText(path);
    for (wchar_t &c : text)
        if (c == L'/') c = L'\\';
    for (size_t at; (at = text.find(L"\\.\\")) != std::wstring::npos;) text.erase(at, 2);
    return text;
}

} // namespace

void InstallationLog::PlanRead(const InstallationPlan &plan)
{
    log.Line(L"Installation started");
    log.Line(L"Destination: " + WideText(plan.destination));
    std::wstring components;
    for (const ComponentPlan &component : plan.components)
        components += (components.empty() ? L"" : L", ") + std::to_wstring(component.number) + L" (" +
                      WideText(component.label) + L")";
    log.Line(L"Components chosen: " + (components.empty() ? std::wstring(L"none") : components));
    if (plan.copyLibrary) log.Line(L"The library lumora.dll is copied into the destination");
    log.Line(L"Start menu shortcuts planned: " + std::to_wstring(plan.links.size()));
    log.Flush();
}

// A phase's start is where a reader of a log cut short looks, so it reaches the file at once.
void InstallationLog::PhaseStarted(const lumora::String &what)
{
    log.Line(WideText(what));
    log.Flush();
}

void InstallationLog::FolderMade(const lumora::String &path)
{
    log.Line(L"Folder made: " + ReadablePath(path));
}

void InstallationLog::FileWritten(const lumora::String &path, int64_t size)
{
    log.Line(L"File written: " + ReadablePath(path) + L" (" + std::to_wstring(size) +
             (size == 1 ? L" byte)" : L" bytes)"));
}

void InstallationLog::LinkMade(const lumora::String &path)
{
    log.Line(L"Shortcut made: " + WideText(path));
}

void InstallationLog::FaultAdded(const InstallFault &fault)
{
    log.Line(L"Problem: " + WideText(FaultLine(fault)));
}
