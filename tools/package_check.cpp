#include "tools/package_check.h"

#include "install/entry_name.h"
#include "lumora/utf8.h"
#include "package/pages.h"
#include "package/path_rules.h"
#include "package/plan_reader.h"
#include "package/setup_file.h"
#include "package/setup_rules.h"
#include "tools/archive_check.h"
#include "tools/package_files.h"
#include "tools/profile_encoding.h"
#include "tools/profile_file.h"
#include "tools/program_file.h"
#include "tools/setup_keys.h"
#include "tools/terminal_text.h"
#include "tools/value_check.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

using Text = std::wstring;

// A 32-bit program on 64-bit Windows, the longest usual case; a 64-bit one installs below the
// 64-bit folder.
const wchar_t programFilesFolder[] = L"C:\\Program Files (x86)";
const wchar_t programFiles64Folder[] = L"C:\\Program Files";
const size_t longestPath = 259;
using V = SetupValue;

const wchar_t linksSection[] = L"Startmenu Links";

// Every page and the installation's display, whose texts are read whether shown or not.
std::vector<const PageDescription *> PageTexts()
{
    std::vector<const PageDescription *> pages;
    for (const PageDescription &page : pageDescriptions) pages.push_back(&page);
    pages.push_back(&installationDisplay);
    return pages;
}

// The values the background window reads, besides its own switch.
bool IsBackgroundValue(const SetupRule &rule)
{
    Text section = Widened(rule.section);
    return rule.value != V::displayBackgroundWindow &&
           (section == L"Setup" || section == L"Application" || section == L"Name Font" ||
            section == L"Company Font");
}

// The count of lines of a page section's text; its line keys are read only as far as it says.
SetupValue PageLinesOf(const Text &section)
{
    for (const PageDescription *page : PageTexts())
        if (lumora::SameIgnoringAsciiCase(Widened(RuleOf(page->lines).section), section)) return page->lines;
    return V::introductionLines; // only page sections have numbered keys besides components and links
}

Text SectionOf(SetupValue value)
{
    return Widened(RuleOf(value).section);
}

Text KeyOf(SetupValue value, int number = 0)
{
    return static_cast<const wchar_t *>(KeyName(RuleOf(value), number));
}

Text Number(long long value)
{
    return Widened(std::to_string(value));
}

Text Quoted(const Text &text)
{
    return L"\"" + text + L"\"";
}

struct InstalledFile {
    Text entry;  // as stored in the archive
    Text path;   // below the destination
    Text folded; // as Windows compares it
};

// The first of a run of like files and how many there are, so one finding stands for them all.
struct FirstOfMany {
    const InstalledFile *first = nullptr;
    int count = 0;

    void Add(const InstalledFile &file)
    {
        if (count++ == 0) first = &file;
    }
};

struct Component {
    int number = 0;
    Text name;
    Text archiveName;
    std::shared_ptr<VerifyResult> archive; // null when the archive is missing
    std::vector<InstalledFile> files;
    std::set<Text> folders; // folded, every level that holds files
};

// The check is the model's reader of setup.tsi: it remembers what the program reads, and reports
// a value the program would read cut short.
class PackageCheck : public SetupFile {
public:
    PackageCheck(const fs::path &folder, const CheckOptions &options) : folder(folder), options(options) {}

    std::vector<Finding> Run();
    // What the installation writes, every offered component ticked: "file: PATH" below the
    // destination and "link: PATH -> TARGET" below the Start menu's Programs folder.
    const std::vector<Text> &Writes() const { return writes; }

    lumora::String Value(const lumora::String &section, const lumora::String &key,
                         const lumora::String &defaultValue) override;
    std::vector<lumora::String> Keys(const lumora::String &section) override;

private:
    Text ReadText(SetupValue value, int number = 0)
    {
        return static_cast<const wchar_t *>(Read(value, number));
    }
    bool IsPresent(const Text &section, const Text &key) const
    {
        return profile->Find(section, key) != nullptr;
    }
    int LineOf(const Text &section, const Text &key) const
    {
        const ProfileKey *found = profile->Find(section, key);
        return found != nullptr ? found->line : 0;
    }

    void AtKey(Severity severity, const Text &section, const Text &key, const Text &message)
    {
        findings.push_back(Finding{severity, section, key, LineOf(section, key), L"", L"", message});
    }
    void AtLine(Severity severity, const Text &section, const Text &key, int line, const Text &message)
    {
        findings.push_back(Finding{severity, section, key, line, L"", L"", message});
    }
    void AtFile(Severity severity, const Text &file, const Text &entry, const Text &message)
    {
        findings.push_back(Finding{severity, L"", L"", 0, file, entry, message});
    }
    void WarnAt(const ProfileSection &section, const ProfileKey &key, const Text &message)
    {
        AtLine(Severity::warning, section.name, key.name, key.line, message);
    }

    void CheckPages();
    bool CheckComponents(); // false when Setup refuses the package for its count
    void ReadComponent(Component &component, const ComponentPlan &planned);
    // An archive named by several components is verified, and its faults reported, once.
    void VerifyOnce(Component &component, const fs::path &file);
    void ListInstalledFiles(Component &component, const Text &subdirectory);
    void CheckInstalledFiles();
    void CheckFilesOf(const Component &component, const std::set<Text> &allFolders,
                      std::map<Text, const Component *> &owners);
    void ReportOverwrite(const Component &component, const Component &earlier, const FirstOfMany &files);
    void ReportLongPaths(const Component &component, const FirstOfMany &files);
    void CheckLinks();
    // 64-bit programs in the archives of a package whose setup.exe is the 32-bit one.
    void CheckProgramsForArchitecture();
    void CheckLink(const LinkPlan &link);
    void ReportLeftOut(const LeftOutLink &link);
    void CheckLinkTarget(const LinkPlan &link);
    const Component *ComponentNumbered(int number) const;
    void CheckUninstall();
    void CheckUnreadKeys();
    void CheckUnreadKey(const ProfileSection &section, const SectionKeys &known, const ProfileKey &key,
                        std::set<Text> &seen);
    // Both are true when they settle the key, with a finding or without; false lets the next look.
    bool CheckNumberedKey(const ProfileSection &section, const SectionKeys &known, const ProfileKey &key,
                          const Text &prefix, long long number);
    bool SuggestSpelling(const ProfileSection &section, const SectionKeys &known, const ProfileKey &key,
                         long long number);
    void SuggestOtherSection(const ProfileSection &section, const ProfileKey &key);
    // An error where the keys lost decide what is installed or which links are made.
    void ReportMisspeltSection(const ProfileSection &section, const SectionKeys &meant);
    struct FollowedCount {
        Text key;
        int value;
    };
    // A component or link described beyond its count is never offered or made: one error for
    // all its keys. A page line beyond the count only goes unseen.
    void ReportBeyondCount(const ProfileSection &section, const ProfileKey &key, const FollowedCount &count,
                           long long number);
    std::set<std::pair<bool, long long>> reportedBeyondCount; // (a link?, its number)
    // The count that decides how many of the section's numbered keys the program reads.
    FollowedCount CountOfNumberedKeys(const Text &section);
    Text Described(const Component &component) const
    {
        return L"component " + Number(component.number) + L" (" + Quoted(component.name) + L")";
    }

    const fs::path folder;
    const CheckOptions options;
    std::optional<ProfileFile> profile;
    std::vector<Finding> findings;
    std::set<std::pair<Text, Text>> keysRead; // folded
    std::map<fs::path, std::shared_ptr<VerifyResult>> archives;
    InstallationPlan plan; // every offered component ticked
    std::vector<Component> components;
    int componentCount = 0; // as the installation reads it
    int linkCount = 0;
    Text destination;
    std::vector<Text> writes;
    bool folderReported = false;
};

lumora::String PackageCheck::Value(const lumora::String &sectionName, const lumora::String &keyName,
                                   const lumora::String &defaultValue)
{
    Text section = static_cast<const wchar_t *>(sectionName), key = static_cast<const wchar_t *>(keyName);
    bool first = keysRead.insert({lumora::AsciiUppercase(section), lumora::AsciiUppercase(key)}).second;
    const ProfileKey *found = profile->Find(section, key);
    if (first && found != nullptr && found->value.size() > static_cast<size_t>(setupValueLength)) {
        AtKey(Severity::error, section, key,
              L"the value is " + Number(static_cast<long long>(found->value.size())) +
                  L" characters long; the program reads only its first " + Number(setupValueLength));
    }
    return profile->Value(sectionName, keyName, defaultValue);
}

std::vector<Finding> PackageCheck::Run()
{
    std::optional<fs::path> file = FindInPackage(folder, L"setup.tsi");
    if (!file) {
        AtFile(Severity::error, L"setup.tsi", L"",
               L"is not in the package folder; Setup would show its default pages and install nothing");
        return findings;
    }
    std::ifstream stream(*file, std::ios::binary);
    std::ostringstream bytes;
    bytes << stream.rdbuf();
    if (!stream) {
        AtFile(Severity::error, L"setup.tsi", L"", L"cannot be read");
        return findings;
    }
    std::vector<Finding> encoding = CheckProfileEncoding(bytes.str(), options.codePage);
    findings.insert(findings.end(), encoding.begin(), encoding.end());
    profile.emplace(bytes.str(), options.codePage);

    if (ReadInt(V::displayBackgroundWindow) != 0) {
        for (const SetupRule &rule : setupRules)
            if (IsBackgroundValue(rule)) Read(rule.value);
    }
    CheckPages();
    // A package whose count is damaged is refused before the wizard opens; nothing else matters.
    if (!CheckComponents()) return findings;
    CheckInstalledFiles();
    if (plan.copyLibrary) {
        if (FindInPackage(folder, L"lumora.dll"))
            writes.push_back(L"file: lumora.dll");
        else
            AtKey(Severity::error, SectionOf(V::copyLibrary), KeyOf(V::copyLibrary),
                  L"asks for lumora.dll to be copied, but the package folder holds none");
    }
    CheckLinks();
    CheckUninstall();
    CheckProgramsForArchitecture();
    std::vector<Finding> values = CheckValues(*profile);
    findings.insert(findings.end(), values.begin(), values.end());
    CheckUnreadKeys();
    return findings;
}

void PackageCheck::CheckPages()
{
    if (!EnablesAnyPage(*this)) {
        const ProfileSection *dialogs = profile->FindSection(L"Dialogs");
        AtLine(Severity::error, L"Dialogs", L"", dialogs != nullptr ? dialogs->line : 0,
               L"every page is switched off; Setup shows a notice and stops");
    }
    for (const PageDescription *page : PageTexts()) {
        Read(page->title);
        ReadLines(page->lines, page->line);
        int lines = ReadInt(page->lines);
        if (lines > mostPageLines) {
            AtKey(Severity::warning, SectionOf(page->lines), KeyOf(page->lines),
                  L"is " + Number(lines) + L"; a page shows at most " + Number(mostPageLines) + L" lines");
        }
    }
    // The wizard's own words are read as its pages are: a value cut short is said here.
    for (const SetupRule &rule : setupRules)
        if (IsWizardText(rule)) Read(rule.value);
    lumora::String licence = Read(V::licenseFile);
    if (ReadInt(V::licensePage) != 0) {
        Text name = static_cast<const wchar_t *>(licence);
        if (licence == noLicense) {
            AtKey(Severity::error, L"License", L"LicenseFile",
                  L"names no licence file, so the License page shows an empty box");
        } else if (std::optional<fs::path> file = FindInPackage(folder, name)) {
            std::ifstream stream(*file, std::ios::binary);
            std::ostringstream bytes;
            bytes << stream.rdbuf();
            std::vector<Finding> encoding = CheckLicenceEncoding(bytes.str(), options.codePage, name);
            findings.insert(findings.end(), encoding.begin(), encoding.end());
        } else {
            AtKey(Severity::error, L"License", L"LicenseFile",
                  L"the licence file " + Quoted(name) + L" is not in the package folder");
        }
    }
    destination = Text(options.setupMachine == machineAmd64 ? programFiles64Folder : programFilesFolder) +
                  L"\\" + ReadText(V::destinationFolder);
}

bool PackageCheck::CheckComponents()
{
    const Text setup = SectionOf(V::offeredComponentCount);
    const Text countKey = KeyOf(V::offeredComponentCount);
    int offered = 0, described = 0;
    if (HasDamagedComponentCount(*this, offered, described)) {
        AtKey(Severity::error, setup, countKey,
              L"is " + Text(static_cast<const wchar_t *>(Read(V::offeredComponentCount))) +
                  (described == 0 ? Text(L", but no key describes any component")
                                  : L", but the keys describe only components 1 to " + Number(described)) +
                  L"; Setup calls the package damaged and stops");
        return false;
    }
    componentCount = std::max(0, ReadInt(V::installedComponentCount));
    if (!IsPresent(setup, countKey)) {
        AtKey(Severity::warning, setup, countKey,
              L"is missing: the wizard offers one component, \"Main program\", but the installation installs "
              L"none");
    } else if (componentCount == 0) {
        AtKey(Severity::warning, setup, countKey,
              L"is " + Number(offered) + L", so the installation installs nothing");
    }
    int shown = std::max(componentCount, offered);
    for (int number = 1; number <= shown; ++number) {
        Read(V::componentName, number);
        Read(V::componentState, number);
    }
    plan = ReadInstallationPlan(*this, destination.c_str(), offered, [](int) { return true; });
    for (const ComponentPlan &planned : plan.components) {
        Component component;
        component.number = planned.number;
        component.name = static_cast<const wchar_t *>(planned.label);
        component.archiveName = static_cast<const wchar_t *>(planned.archive);
        ReadComponent(component, planned);
        components.push_back(component);
    }
    return true;
}

std::vector<lumora::String> PackageCheck::Keys(const lumora::String &section)
{
    return profile->Keys(section);
}

void PackageCheck::ReadComponent(Component &component, const ComponentPlan &planned)
{
    Text number = Number(component.number);
    Text subdirectory = static_cast<const wchar_t *>(planned.folder);
    if (planned.refusal.Length() > 0) {
        AtKey(Severity::error, SectionOf(V::componentFolder), number,
              Quoted(subdirectory) + L" " + static_cast<const wchar_t *>(planned.refusal) +
                  L"; Setup does not install this component");
        return;
    }
    std::optional<fs::path> file = FindInPackage(folder, component.archiveName);
    if (!file) {
        bool given = IsPresent(SectionOf(V::componentArchive), number);
        AtKey(Severity::error, SectionOf(V::componentArchive), number,
              L"the archive " + Quoted(component.archiveName) + (given ? L"" : L", the default,") +
                  L" is not in the package folder");
        return;
    }
    VerifyOnce(component, *file);
    ListInstalledFiles(component, subdirectory);
    if (component.archive->listing.entries.empty() && component.archive->faults.empty()) {
        AtKey(Severity::warning, SectionOf(V::componentArchive), number,
              Described(component) + L" installs nothing: " + Quoted(component.archiveName) +
                  L" holds no files");
    }
}

void PackageCheck::VerifyOnce(Component &component, const fs::path &file)
{
    std::error_code code;
    fs::path identity = fs::weakly_canonical(file, code);
    std::shared_ptr<VerifyResult> &archive = archives[code ? file : identity];
    bool firstUse = archive == nullptr;
    if (firstUse) archive = std::make_shared<VerifyResult>(VerifyArchive(EngineText(file), options.codePage));
    component.archive = archive;
    if (!firstUse) return;
    for (const ArchiveFault &fault : archive->faults) {
        if (fault.entry.Length() == 0)
            AtFile(Severity::error, component.archiveName, L"", Widened(FaultText(fault)));
        else
            AtFile(Severity::error, component.archiveName, static_cast<const wchar_t *>(fault.entry),
                   L"the installer refuses this name: " + Widened(FaultWords(fault)));
    }
}

void PackageCheck::ListInstalledFiles(Component &component, const Text &subdirectory)
{
    for (const ListedEntry &entry : component.archive->listing.entries) {
        if (entry.refused) continue;
        InstalledFile installed;
        installed.entry = entry.wideName;
        installed.path = JoinedPath(subdirectory, installed.entry);
        installed.folded = lumora::AsciiUppercase(installed.path);
        writes.push_back(L"file: " + installed.path);
        for (size_t end = installed.folded.find(L'\\'); end != Text::npos;
             end = installed.folded.find(L'\\', end + 1))
            component.folders.insert(installed.folded.substr(0, end));
        component.files.push_back(installed);
    }
}

void PackageCheck::CheckInstalledFiles()
{
    std::set<Text> allFolders;
    for (const Component &component : components)
        allFolders.insert(component.folders.begin(), component.folders.end());
    std::map<Text, const Component *> owners; // every folded path, by the first component that writes it
    for (const Component &component : components) CheckFilesOf(component, allFolders, owners);
}

void PackageCheck::CheckFilesOf(const Component &component, const std::set<Text> &allFolders,
                                std::map<Text, const Component *> &owners)
{
    std::map<Text, const InstalledFile *> own;
    std::map<const Component *, FirstOfMany> overwritten; // by the component that wrote them first
    FirstOfMany tooLong;
    for (const InstalledFile &file : component.files) {
        auto first = own.emplace(file.folded, &file);
        if (!first.second) {
            const InstalledFile &other = *first.first->second;
            AtFile(Severity::error, component.archiveName, file.entry,
                   other.entry == file.entry ? L"is stored twice; the second copy replaces the first"
                                             : L"differs only in letter case from " + Quoted(other.entry) +
                                                   L"; Windows writes both to one file");
            continue;
        }
        if (allFolders.count(file.folded) > 0) {
            AtFile(Severity::error, component.archiveName, file.entry,
                   L"is a file where other entries need a folder of that name; Windows cannot hold both");
        }
        auto owner = owners.emplace(file.folded, &component);
        if (!owner.second && owner.first->second != &component) overwritten[owner.first->second].Add(file);
        if (destination.size() + 1 + file.path.size() > longestPath) tooLong.Add(file);
    }
    for (const auto &pair : overwritten) ReportOverwrite(component, *pair.first, pair.second);
    if (tooLong.first != nullptr) ReportLongPaths(component, tooLong);
}

void PackageCheck::ReportOverwrite(const Component &component, const Component &earlier,
                                   const FirstOfMany &files)
{
    Text more = files.count > 1 ? L"; so do " + Number(files.count - 1) + L" more of its files" : L"";
    AtFile(Severity::warning, component.archiveName, files.first->entry,
           Described(component) + L" writes this file over the one of " + Described(earlier) + more);
}

void PackageCheck::ReportLongPaths(const Component &component, const FirstOfMany &files)
{
    Text more =
        files.count > 1 ? L"; so are " + Number(files.count - 1) + L" more files of this archive" : L"";
    AtFile(Severity::warning, component.archiveName, files.first->entry,
           L"below the default destination " + Quoted(destination) + L" its path is " +
               Number(static_cast<long long>(destination.size() + 1 + files.first->path.size())) +
               L" characters long, more than the " + Number(longestPath) + L" Windows allows" + more);
}

void PackageCheck::CheckProgramsForArchitecture()
{
    if (options.setupMachine != machineI386) return;
    std::set<const VerifyResult *> seen;
    for (const Component &component : components) {
        if (component.archive == nullptr || !seen.insert(component.archive.get()).second) continue;
        const ListedEntry *first = nullptr;
        int count = 0;
        for (const ListedEntry &entry : component.archive->listing.entries) {
            if (entry.machine != machineAmd64) continue;
            if (count++ == 0) first = &entry;
        }
        if (first == nullptr) continue;
        Text more = count > 1 ? L"; so are " + Number(count - 1) + L" more files of this archive" : L"";
        AtFile(Severity::warning, component.archiveName, first->wideName,
               L"is a 64-bit program, but setup.exe is the 32-bit one: it proposes the 32-bit Program Files "
               L"folder and makes links through the 32-bit view of the system; ship the x86-64 setup.exe "
               L"and lumora.dll" +
                   more);
    }
}

void PackageCheck::CheckUninstall()
{
    if (ReadInt(V::uninstallEnabled) == 0) return;
    if (FindInPackage(folder, L"uninstall.exe")) {
        writes.push_back(L"file: uninstall.exe");
        writes.push_back(L"file: uninstall.dat");
    } else {
        AtKey(Severity::error, SectionOf(V::uninstallEnabled), KeyOf(V::uninstallEnabled),
              L"asks for the product to be removable, but the package folder holds no uninstall.exe; Setup "
              L"would install the product without a way to remove it");
    }
    if (ReadText(V::uninstallDisplayName).empty() && ReadText(V::applicationName).empty())
        AtKey(Severity::error, SectionOf(V::uninstallDisplayName), KeyOf(V::uninstallDisplayName),
              L"is empty and so is [Application] Name: the list of installed programs would show no name, "
              L"and the entry cannot be told from another product's");
    for (V value :
         {V::uninstallDisplayVersion, V::uninstallPublisher, V::uninstallHelpLink, V::uninstallInfoAddress})
        Read(value);
}

void PackageCheck::CheckLinks()
{
    linkCount = ReadInt(V::linkCount);
    int described = HighestDescribedLink([this](const lumora::String &section) { return Keys(section); });
    // The plan holds each described link once, made or left out; they are judged in their order.
    std::map<int, const LinkPlan *> made;
    std::map<int, const LeftOutLink *> leftOut;
    for (const LinkPlan &link : plan.links) made[link.number] = &link;
    for (const LeftOutLink &link : plan.linksLeftOut) leftOut[link.number] = &link;
    for (int number = 1; number <= std::min(linkCount, described); ++number) {
        if (made.count(number) > 0) CheckLink(*made[number]);
        if (leftOut.count(number) > 0) ReportLeftOut(*leftOut[number]);
    }
    if (linkCount > described) {
        AtKey(Severity::error, linksSection, KeyOf(V::linkCount),
              L"is " + Number(linkCount) + L", but " +
                  (described == 0 ? Text(L"no link is described")
                                  : L"only links 1 to " + Number(described) + L" are described") +
                  L"; the others belong to no component and are not made");
    }
}

void PackageCheck::CheckLink(const LinkPlan &link)
{
    Text name = ReadText(V::linkName, link.number);
    Text nameKey = KeyOf(V::linkName, link.number);
    // One folder holds every link, so it is reported once.
    if (link.folderRefusal.Length() > 0 && !folderReported) {
        folderReported = true;
        AtKey(Severity::error, linksSection, KeyOf(V::linkFolder),
              Quoted(static_cast<const wchar_t *>(link.folder)) + L" " +
                  static_cast<const wchar_t *>(link.folderRefusal) + L"; Setup makes none of the links");
    }
    if (link.nameRefusal.Length() > 0) {
        AtKey(Severity::error, linksSection, nameKey,
              Quoted(name) + L" " + static_cast<const wchar_t *>(link.nameRefusal) +
                  L"; Setup does not make the link");
    } else if (name.empty()) {
        AtKey(Severity::warning, linksSection, nameKey, L"is missing, so the link file is called \".lnk\"");
    }
    if (link.folderRefusal.Length() > 0 || link.nameRefusal.Length() > 0) return;
    Text folderName = static_cast<const wchar_t *>(link.folder);
    writes.push_back(L"link: " + JoinedPath(folderName, static_cast<const wchar_t *>(link.name)) + L" -> " +
                     static_cast<const wchar_t *>(link.target));
    CheckLinkTarget(link);
}

void PackageCheck::CheckLinkTarget(const LinkPlan &link)
{
    Text fileKey = KeyOf(V::linkTarget, link.number);
    Text target = static_cast<const wchar_t *>(link.target);
    ArchiveFaultKind fault = FolderBelowFault(link.target);
    // A way up and out of the destination is the vendor's to choose: nothing is written there,
    // and what lies there is not the package's to know.
    if (fault == ArchiveFaultKind::parentLevel) return;
    if (fault != ArchiveFaultKind::none) {
        AtKey(Severity::error, linksSection, fileKey,
              Quoted(target) + L" names no file once joined to the destination: " +
                  Widened(FaultWords(fault)) + L"; link " + Number(link.number) + L" starts nothing");
        return;
    }
    const Component *component = ComponentNumbered(link.component);
    // A damaged archive is reported already, and what it installs is not known.
    if (component == nullptr || component->archive == nullptr ||
        component->archive->listing.fault.kind != ArchiveFaultKind::none)
        return;
    Text wanted = lumora::AsciiUppercase(JoinedPath(L"", target));
    bool installed = component->folders.count(wanted) > 0 ||
                     std::any_of(component->files.begin(), component->files.end(),
                                 [&](const InstalledFile &file) { return file.folded == wanted; });
    if (target.empty()) {
        AtKey(Severity::error, linksSection, fileKey,
              L"is missing, so link " + Number(link.number) + L" points at no file");
    } else if (!installed) {
        AtKey(Severity::error, linksSection, fileKey,
              Quoted(target) + L" is not installed by " + Described(*component));
    }
}

void PackageCheck::ReportLeftOut(const LeftOutLink &link)
{
    // A link of a refused component has its finding at the component's folder.
    if (link.reason != LinkLeftOut::componentOutsideCount) return;
    Text componentKey = KeyOf(V::linkComponent, link.number);
    if (!IsPresent(linksSection, componentKey)) {
        AtKey(Severity::error, linksSection, componentKey,
              L"is missing, so link " + Number(link.number) + L" belongs to no component and is not made");
    } else {
        AtKey(Severity::error, linksSection, componentKey,
              L"names component " + Number(link.component) + L", outside 1 to " + Number(componentCount) +
                  L", so link " + Number(link.number) + L" is not made");
    }
}

const Component *PackageCheck::ComponentNumbered(int number) const
{
    for (const Component &component : components)
        if (component.number == number) return &component;
    return nullptr;
}

void PackageCheck::CheckUnreadKeys()
{
    std::set<Text> sectionsSeen;
    for (const ProfileSection &section : profile->Sections()) {
        const SectionKeys *known = nullptr;
        for (const SectionKeys &candidate : KnownSections()) {
            if (lumora::SameIgnoringAsciiCase(candidate.section, section.name)) known = &candidate;
        }
        if (&section == &profile->Sections().front()) {
            // The lines before the first section belong to none the program reads.
            for (const ProfileKey &key : section.keys) {
                for (const SectionKeys &candidate : KnownSections()) {
                    bool named =
                        std::any_of(candidate.keys.begin(), candidate.keys.end(), [&](const Text &name) {
                            return lumora::SameIgnoringAsciiCase(name, key.name) ||
                                   SpelledLike(key.name, name);
                        });
                    if (named) {
                        AtLine(Severity::warning, L"", key.name, key.line,
                               L"stands before any section and is not read");
                        break;
                    }
                }
            }
            continue;
        }
        if (known == nullptr) {
            for (const SectionKeys &candidate : KnownSections()) {
                if (SpelledLike(section.name, candidate.section)) {
                    ReportMisspeltSection(section, candidate);
                    break;
                }
            }
            continue;
        }
        if (!sectionsSeen.insert(lumora::AsciiUppercase(section.name)).second) {
            AtLine(Severity::warning, section.name, L"", section.line,
                   L"the section appears again; the program reads only its first appearance, on line " +
                       Number(profile->FindSection(section.name)->line));
            continue;
        }
        std::set<Text> keysSeen;
        for (const ProfileKey &key : section.keys) CheckUnreadKey(section, *known, key, keysSeen);
    }
}

void PackageCheck::ReportMisspeltSection(const ProfileSection &section, const SectionKeys &meant)
{
    bool isLink = lumora::SameIgnoringAsciiCase(meant.section, linksSection);
    bool decides = isLink || lumora::AsciiUppercase(meant.section).compare(0, 9, L"COMPONENT") == 0;
    bool holdsItsKeys = std::any_of(section.keys.begin(), section.keys.end(), [&](const ProfileKey &key) {
        Text prefix;
        SplitNumber(key.name, prefix);
        auto named = [&](const Text &name) { return lumora::SameIgnoringAsciiCase(name, key.name); };
        auto numbered = [&](const Text &name) {
            return lumora::SameIgnoringAsciiCase(name, prefix) && prefix != key.name;
        };
        return std::any_of(meant.keys.begin(), meant.keys.end(), named) ||
               std::any_of(meant.numbered.begin(), meant.numbered.end(), numbered);
    });
    Text message = L"this section is not read; did you mean [" + meant.section + L"]?";
    if (!decides || !holdsItsKeys) {
        AtLine(Severity::warning, section.name, L"", section.line, message);
        return;
    }
    AtLine(Severity::error, section.name, L"", section.line,
           message + (isLink ? L" Its links are not made" : L" Its components take the defaults"));
}

void PackageCheck::CheckUnreadKey(const ProfileSection &section, const SectionKeys &known,
                                  const ProfileKey &key, std::set<Text> &seen)
{
    if (key.name.empty() || key.name[0] == L';') return;
    bool read = keysRead.count({lumora::AsciiUppercase(section.name), lumora::AsciiUppercase(key.name)}) > 0;
    if (!seen.insert(lumora::AsciiUppercase(key.name)).second) {
        if (read) WarnAt(section, key, L"appears again; the program reads only its first appearance");
        return;
    }
    if (read) {
        if (!key.hasValue) WarnAt(section, key, L"has no \"=\", so the program takes the default");
        return;
    }
    bool isKnown = std::any_of(known.keys.begin(), known.keys.end(), [&](const Text &name) {
        return lumora::SameIgnoringAsciiCase(name, key.name);
    });
    if (isKnown) return; // read only in other settings, such as the background's keys
    Text prefix;
    long long number = SplitNumber(key.name, prefix);
    if (CheckNumberedKey(section, known, key, prefix, number)) return;
    if (SuggestSpelling(section, known, key, number)) return;
    SuggestOtherSection(section, key);
}

bool PackageCheck::CheckNumberedKey(const ProfileSection &section, const SectionKeys &known,
                                    const ProfileKey &key, const Text &prefix, long long number)
{
    for (const Text &numbered : known.numbered) {
        if (!lumora::SameIgnoringAsciiCase(prefix, numbered) || number < 0) continue;
        Text canonical = Text(numbered) + Number(number);
        if (number == 0) {
            WarnAt(section, key, L"is not read: numbering starts at 1");
        } else if (lumora::SameIgnoringAsciiCase(canonical, key.name)) {
            FollowedCount count = CountOfNumberedKeys(section.name);
            // Beyond what the program follows of a larger count, which has its own finding.
            if (number <= count.value) return true;
            ReportBeyondCount(section, key, count, number);
        } else {
            WarnAt(section, key, L"is not read; did you mean " + canonical + L"?");
        }
        return true;
    }
    return false;
}

void PackageCheck::ReportBeyondCount(const ProfileSection &section, const ProfileKey &key,
                                     const FollowedCount &count, long long number)
{
    bool isLink = lumora::SameIgnoringAsciiCase(section.name, linksSection);
    bool isComponent = lumora::AsciiUppercase(section.name).compare(0, 9, L"COMPONENT") == 0;
    if (!isLink && !isComponent) {
        WarnAt(section, key, L"is not read: " + count.key + L" is " + Number(count.value));
        return;
    }
    if (!reportedBeyondCount.insert({isLink, number}).second) return;
    AtLine(Severity::error, section.name, key.name, key.line,
           (isLink ? L"link " + Number(number) + L" is described, but never made"
                   : L"component " + Number(number) + L" is described, but never offered or installed") +
               L": " + count.key + L" is " + Number(count.value));
}

PackageCheck::FollowedCount PackageCheck::CountOfNumberedKeys(const Text &section)
{
    bool isLink = lumora::SameIgnoringAsciiCase(section, L"Startmenu Links");
    bool isComponent = lumora::AsciiUppercase(section).compare(0, 9, L"COMPONENT") == 0;
    Text countKey = isLink ? L"NumberOfLinks" : isComponent ? L"NumberOfComponents" : L"Lines";
    int count = isLink ? linkCount : isComponent ? componentCount : ReadInt(PageLinesOf(section));
    return FollowedCount{countKey, count};
}

bool PackageCheck::SuggestSpelling(const ProfileSection &section, const SectionKeys &known,
                                   const ProfileKey &key, long long number)
{
    std::vector<Text> candidates(known.keys.begin(), known.keys.end());
    for (const Text &numbered : known.numbered) {
        if (!numbered.empty())
            candidates.push_back(Text(numbered) + (number > 0 ? Number(number) : Text(L"1")));
    }
    for (const Text &candidate : candidates) {
        if (SpelledLike(key.name, candidate)) {
            WarnAt(section, key, L"is not read; did you mean " + candidate + L"?");
            return true;
        }
    }
    return false;
}

void PackageCheck::SuggestOtherSection(const ProfileSection &section, const ProfileKey &key)
{
    for (const SectionKeys &other : KnownSections()) {
        for (const Text &name : other.keys) {
            if (lumora::SameIgnoringAsciiCase(name, key.name)) {
                WarnAt(section, key,
                       L"is not read in this section; the program reads " + Text(name) + L" in [" +
                           other.section + L"]");
                return;
            }
        }
    }
}

} // namespace

std::vector<Finding> CheckPackage(const fs::path &folder, const CheckOptions &options,
                                  std::vector<std::wstring> *writes)
{
    PackageCheck check(folder, options);
    std::vector<Finding> findings = check.Run();
    if (writes != nullptr) *writes = check.Writes();
    return findings;
}
