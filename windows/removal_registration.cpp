// The uninstaller, the removal record and the entry in the list of installed programs, made
// at the end of an installation of a package that asks for them.
#include "windows/removal_registration.h"

#include "install/installation_worker.h"
#include "removal/file_digest.h"
#include "removal/record_file.h"
#include "removal/removal_record.h"
#include "removal/uninstall_entry.h"
#include "windows/setup_config.h"
#include "windows/shortcuts.h"

#include <windows.h>

#include <algorithm>

using lumora::String;

namespace {

std::wstring Wide(const String &text)
{
    return std::wstring(static_cast<const wchar_t *>(text), static_cast<size_t>(text.Length()));
}

bool Exists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring FullPath(const std::wstring &path)
{
    DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) return std::wstring();
    std::wstring full(length, L'\0');
    length = GetFullPathNameW(path.c_str(), length, &full[0], nullptr);
    full.resize(length);
    while (full.size() > 3 && full.back() == L'\\') full.pop_back();
    return full;
}

// A path below a folder in the record's form: "\" between levels, no empty or "." level.
std::wstring RelativeLevels(const std::wstring &path)
{
    std::wstring joined, level;
    for (size_t k = 0; k <= path.size(); ++k) {
        wchar_t c = k < path.size() ? path[k] : L'\\';
        if (c != L'\\' && c != L'/') {
            level += c;
            continue;
        }
        if (!level.empty() && level != L".") joined += (joined.empty() ? L"" : L"\\") + level;
        level.clear();
    }
    return joined;
}

std::wstring Joined(const std::wstring &folder, const std::wstring &relative)
{
    return relative == L"." ? folder : folder + (folder.back() == L'\\' ? L"" : L"\\") + relative;
}

void Fault(InstallReport &report, const String &file, const String &what)
{
    report.AddFault("Removal", file, what);
}

} // namespace

CreationRecorder::CreationRecorder(const InstallationPlan &plan, InstallObserver *next) : next(next)
{
    if (plan.destination.Length() == 0) return;
    destination = FullPath(Wide(plan.destination));
    if (destination.empty()) return;
    const String programs = ProgramsFolder();
    for (const LinkPlan &link : plan.links) {
        if (link.folderRefusal.Length() > 0 || link.nameRefusal.Length() > 0 || programs.Length() == 0)
            continue;
        std::wstring folder = RelativeLevels(Wide(link.folder));
        menuFolder = folder.empty() ? FullPath(Wide(programs)) : Joined(FullPath(Wide(programs)), folder);
        std::wstring name = RelativeLevels(Wide(link.name));
        if (name.empty()) continue;
        plannedLinks.insert(name);
        if (!Exists(Joined(menuFolder, name))) newLinks.insert(name);
    }
}

bool CreationRecorder::BelowDestination(const String &path, std::wstring &relative) const
{
    if (destination.empty()) return false;
    std::wstring absolute = FullPath(Wide(path));
    if (SamePathIgnoringCase(absolute, destination)) {
        relative = L".";
        return true;
    }
    std::wstring prefix = destination.back() == L'\\' ? destination : destination + L"\\";
    if (absolute.size() <= prefix.size() || !SamePathIgnoringCase(absolute.substr(0, prefix.size()), prefix))
        return false;
    relative = RelativeLevels(absolute.substr(prefix.size()));
    return true;
}

void CreationRecorder::PhaseStarted(const String &what)
{
    if (next) next->PhaseStarted(what);
}

void CreationRecorder::FileStarting(const String &path)
{
    std::wstring relative;
    if (BelowDestination(path, relative) && relative != L".") {
        if (!Exists(FullPath(Wide(path)))) newFiles.insert(relative);
        writtenFiles.insert(relative);
    }
    if (next) next->FileStarting(path);
}

void CreationRecorder::FolderMade(const String &path)
{
    // The engine reports only a folder it made itself, each level on its own.
    std::wstring relative;
    if (BelowDestination(path, relative))
        newFolders.insert(relative);
    else if (!menuFolder.empty() && SamePathIgnoringCase(FullPath(Wide(path)), menuFolder) &&
             !SamePathIgnoringCase(menuFolder, FullPath(Wide(ProgramsFolder()))))
        menuFolderIsNew = true; // the Programs folder itself belongs to Windows, never to a product
    if (next) next->FolderMade(path);
}

void CreationRecorder::FileWritten(const String &path, int64_t size)
{
    if (next) next->FileWritten(path, size);
}

void CreationRecorder::LinkMade(const String &path)
{
    if (next) next->LinkMade(path);
}

void CreationRecorder::FaultAdded(const InstallFault &fault)
{
    if (next) next->FaultAdded(fault);
}

void RegisterRemoval(const CreationRecorder &recorder, const RemovalSettings &settings, InstallReport &report)
{
    const std::wstring &destination = recorder.Destination();
    // Nothing was installed where there is no destination; the report says why already.
    if (destination.empty() || !Exists(destination)) return;
    const std::wstring recordPath = Joined(destination, removalRecordName);
    const std::wstring uninstaller = Joined(destination, uninstallerName);
    const std::wstring key = UninstallKeyName(Wide(settings.displayName));

    RemovalRecord record;
    std::string bytes;
    switch (ReadRecordFile(recordPath, bytes)) {
    case RecordFileState::read: {
        std::wstring fault = ReadRemovalRecord(bytes, record);
        if (fault.empty() && record.key != key) {
            Fault(report, recordPath.c_str(),
                  String("the destination holds the removal record of another product (") +
                      record.displayName.c_str() +
                      "), so this installation cannot be removed from the list "
                      "of installed programs");
            return;
        }
        if (!fault.empty() || !SamePathIgnoringCase(record.destination, destination)) {
            Fault(report, recordPath.c_str(),
                  String("the earlier removal record is damaged (") + fault.c_str() +
                      "); it is replaced by one of this installation alone");
            record = RemovalRecord();
        }
        break;
    }
    case RecordFileState::missing:
        break;
    case RecordFileState::unreadable:
        Fault(report, recordPath.c_str(),
              "the removal record cannot be read, so this installation is not added to it");
        return;
    }

    if (!CopyFileW(FullPath(uninstallerName).c_str(), uninstaller.c_str(), FALSE)) {
        Fault(report, uninstallerName,
              "the uninstaller cannot be copied from the package folder, so this installation cannot be "
              "removed");
        return;
    }

    RemovalRecord made;
    made.key = key;
    made.displayName = Wide(settings.displayName);
    made.destination = destination;
    made.menuFolder = recorder.MenuFolder();
    for (const std::wstring &folder : recorder.NewFolders())
        if (Exists(Joined(destination, folder))) made.folders.push_back({RecordRoot::destination, folder});
    if (recorder.MenuFolderIsNew() && Exists(recorder.MenuFolder()))
        made.folders.push_back({RecordRoot::menu, L"."});
    auto claim = [&](RecordRoot root, const std::wstring &folder, const std::wstring &relative) {
        RecordedFile file;
        file.root = root;
        file.path = relative;
        if (FileDigest(Joined(folder, relative), file.size, file.digest)) made.files.push_back(file);
    };
    // A file this installation made, or wrote again after an earlier one made it, is claimed
    // with its content as it is now; anything else that was there before is never claimed.
    auto claimedBefore = [&](RecordRoot root, const std::wstring &path) {
        for (const RecordedFile &earlier : record.files)
            if (earlier.root == root && SamePathIgnoringCase(earlier.path, path)) return true;
        return false;
    };
    for (const std::wstring &file : recorder.WrittenFiles()) {
        if (SamePathIgnoringCase(file, uninstallerName) || SamePathIgnoringCase(file, removalRecordName))
            continue;
        if (recorder.NewFiles().count(file) || claimedBefore(RecordRoot::destination, file))
            claim(RecordRoot::destination, destination, file);
    }
    for (const std::wstring &link : recorder.PlannedLinks())
        if (recorder.NewLinks().count(link) || claimedBefore(RecordRoot::menu, link))
            claim(RecordRoot::menu, made.menuFolder, link);
    if (record.files.empty() && record.folders.empty()) record.destination = destination;
    if (!record.menuFolder.empty() && !made.menuFolder.empty() &&
        !SamePathIgnoringCase(record.menuFolder, made.menuFolder)) {
        // Links recorded in an earlier Start menu folder keep it; the new one's are left out.
        made.menuFolder = record.menuFolder;
        made.files.erase(std::remove_if(made.files.begin(), made.files.end(),
                                        [](const RecordedFile &f) { return f.root == RecordRoot::menu; }),
                         made.files.end());
        made.folders.erase(std::remove_if(made.folders.begin(), made.folders.end(),
                                          [](const RecordedFolder &f) { return f.root == RecordRoot::menu; }),
                           made.folders.end());
    }
    MergeRemovalRecord(record, made);
    record.destination = destination;

    if (!ReplaceRecordFile(recordPath, WriteRemovalRecord(record))) {
        Fault(report, recordPath.c_str(),
              "the removal record cannot be written, so this installation cannot be removed");
        return;
    }

    UninstallEntry entry;
    entry.key = key;
    entry.displayName = made.displayName;
    entry.displayVersion = Wide(settings.displayVersion);
    entry.publisher = Wide(settings.publisher);
    entry.installLocation = destination;
    SYSTEMTIME today;
    GetLocalTime(&today);
    entry.installDate = InstallDateOf(today.wYear, today.wMonth, today.wDay);
    entry.uninstaller = uninstaller;
    entry.helpLink = Wide(settings.helpLink);
    entry.urlInfoAbout = Wide(settings.urlInfoAbout);
    uint64_t bytesInstalled = 0;
    for (const RecordedFile &file : record.files) bytesInstalled += file.size;
    entry.estimatedSizeKB = static_cast<uint32_t>((bytesInstalled + 1023) / 1024);
    if (!WriteUninstallEntry(entry))
        Fault(report, key.c_str(),
              "the entry in the list of installed programs cannot be written (are administrator rights "
              "missing?)");
}

void InstallPackagePlan(const InstallationPlan &plan, InstallProgress &progress, InstallReport &report)
{
    if (!ReadSetupFlag(SetupValue::uninstallEnabled)) {
        InstallPlan(plan, progress, report, CreateStartMenuLinks);
        return;
    }
    // Only a removable package pays for looking at every file before it is made.
    InstallObserver *log = report.Observer();
    CreationRecorder recorder(plan, log);
    report.Observe(&recorder);
    InstallPlan(plan, progress, report, CreateStartMenuLinks);
    report.Observe(log);
    RemovalSettings settings;
    settings.displayName = ReadSetupValueOrFallback(SetupValue::uninstallDisplayName);
    settings.displayVersion = ReadSetupValueOrFallback(SetupValue::uninstallDisplayVersion);
    settings.publisher = ReadSetupValueOrFallback(SetupValue::uninstallPublisher);
    settings.helpLink = ReadSetupValue(SetupValue::uninstallHelpLink);
    settings.urlInfoAbout = ReadSetupValue(SetupValue::uninstallInfoAddress);
    RegisterRemoval(recorder, settings, report);
}
