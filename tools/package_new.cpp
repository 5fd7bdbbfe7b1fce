#include "tools/package_new.h"

#include "lumora/string.h"
#include "package/setup_rules.h"
#include "tools/archive_writer.h"
#include "tools/package_files.h"
#include "tools/program_file.h"
#include "tools/text_in_code_page.h"

#include <algorithm>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

using Text = std::wstring;

const int64_t groupSize = 8 << 20;

Text WideOf(const fs::path &path)
{
#ifdef _WIN32
    return path.wstring();
#else
    return static_cast<const wchar_t *>(lumora::String(path.string().c_str()));
#endif
}

std::string Shown(const fs::path &path)
{
    return path.string();
}

bool IsProgramName(const fs::path &path)
{
    Text extension = WideOf(path.extension());
    std::transform(extension.begin(), extension.end(), extension.begin(), [](wchar_t c) {
        return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    });
    return extension == L".exe" || extension == L".dll";
}

bool HoldsFiles(const fs::path &folder)
{
    std::error_code code;
    for (fs::recursive_directory_iterator it(folder, code); !code && it != fs::recursive_directory_iterator();
         it.increment(code)) {
        if (it->is_regular_file(code)) return true;
    }
    return false;
}

// An archive name any code page holds: the ASCII letters and digits of the component's name.
std::string ArchiveName(const Text &name, int number, std::set<std::string> &taken)
{
    std::string base;
    for (wchar_t c : name) {
        if ((c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9')) base += static_cast<char>(c);
        if (c >= L'A' && c <= L'Z') base += static_cast<char>(c - L'A' + L'a');
        if ((c == L' ' || c == L'-' || c == L'_') && !base.empty() && base.back() != '-') base += '-';
    }
    while (!base.empty() && base.back() == '-') base.pop_back();
    if (base.empty()) base = "component" + std::to_string(number);
    std::string archive = base + ".tsa";
    for (int k = 2; !taken.insert(archive).second; ++k) archive = base + "-" + std::to_string(k) + ".tsa";
    return archive;
}

Text Line(const Text &key, const Text &value)
{
    return key + L"=" + value + L"\r\n";
}

Text Comment(const Text &text)
{
    return L"; " + text + L"\r\n";
}

Text Number(long long value)
{
    return static_cast<const wchar_t *>(lumora::String::FromInt(value));
}

// The words with "{name}" and "{version}" made the application's.
Text Filled(const wchar_t *words, const NewPackageSettings &settings)
{
    Text text = words;
    for (const auto &field : {std::make_pair(Text(L"{name}"), settings.name),
                              std::make_pair(Text(L"{version}"), settings.version)}) {
        for (size_t at = text.find(field.first); at != Text::npos;
             at = text.find(field.first, at + field.second.size()))
            text.replace(at, field.first.size(), field.second);
    }
    return text;
}

Text Page(const Text &section, const PageWords &words, const NewPackageSettings &settings,
          const Text &comment = L"")
{
    Text text = L"\r\n[" + section + L"]\r\n";
    if (!comment.empty()) text += Comment(comment);
    text += Line(L"Title", Filled(words.title, settings)) +
            Line(L"Lines", Number(static_cast<long long>(words.lines.size())));
    for (size_t k = 0; k < words.lines.size(); ++k)
        text += Line(Number(static_cast<long long>(k + 1)), Filled(words.lines[k], settings));
    return text;
}

// Every value of [Texts], each after the words that say where it is shown.
Text TextsSection(const Translation &translation, const NewPackageSettings &settings)
{
    Text text = L"\r\n[Texts]\r\n" +
                Comment(L"The wizard's own words: buttons, frames, labels, questions and notices. In a") +
                Comment(L"question or notice \\n starts a new line. Keep each within the characters named,") +
                Comment(L"or it is cut off; a character of Chinese, Japanese or Korean counts twice.");
    for (const SetupRule &rule : setupRules) {
        if (!IsWizardText(rule)) continue;
        Text where = Widened(rule.meaning);
        if (rule.highest != noLimit) where += L", up to " + Number(rule.highest) + L" characters";
        Text words = rule.value == SetupValue::textBackgroundTitle ? settings.name + L" " + settings.version
                                                                   : TextOf(translation, rule.value);
        text += Comment(where) + Line(Widened(rule.key), words);
    }
    return text;
}

Text FontSection(const Text &section, const Text &edge, int y, int size, const Text &face, int italic)
{
    return L"\r\n[" + section + L"]\r\n" +
           Comment(L"XPos: pixels from the screen's left edge; YPos: " + edge) +
           Comment(L"Color: 0x00BBGGRR written in decimal (16777215 white, 255 red, 65280 green)") +
           Line(L"XPos", L"50") + Line(L"YPos", Number(y)) + Line(L"Size", Number(size)) +
           Line(L"Color", L"16777215") + Line(L"Font", face) + Line(L"Underline", L"0") +
           Line(L"Italic", Number(italic)) + Line(L"Weight", L"500");
}

bool CopyProgram(const fs::path &from, const fs::path &to, std::string &error)
{
    std::error_code code;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, code);
    if (code) error = Shown(from) + ": cannot be copied: " + code.message();
    return !code;
}

bool WriteText(const fs::path &file, const Text &text, int codePage, std::string &error)
{
    std::string bytes;
    if (HasCodePageTables(codePage)) {
        if (!EncodeCodePage(codePage, text, bytes)) {
            error = "setup.tsi: a name or text holds characters code page " + std::to_string(codePage) +
                    " cannot hold; give the users' code page with --code-page";
            return false;
        }
    } else {
        for (wchar_t c : text) {
            if (c >= 0x80) {
                error = "setup.tsi: a name or text holds characters beyond ASCII; name the code page of the "
                        "users' systems with --code-page";
                return false;
            }
            bytes += static_cast<char>(c);
        }
    }
    std::ofstream stream(file, std::ios::binary);
    stream << bytes;
    stream.close();
    if (!stream) error = Shown(file) + ": cannot be written";
    return static_cast<bool>(stream);
}

bool PackComponent(const NewPackageSettings &settings, const NewComponent &component,
                   const std::function<void(const std::string &)> &say, std::string &error)
{
    PackOptions options;
    options.codePage = settings.codePage;
    Collection collection = CollectEntries(component.paths, options);
    for (const std::string &note : collection.notes) say(note);
    if (!collection.faults.empty()) {
        for (size_t k = 0; k + 1 < collection.faults.size(); ++k) say(collection.faults[k]);
        error = collection.faults.back();
        return false;
    }
    return WriteArchive((settings.output / component.archive).string(),
                        SplitIntoGroups(collection.entries, groupSize), settings.jobs,
                        [](int64_t, int64_t) {}, error);
}

} // namespace

std::vector<NewComponent> PlanComponents(const fs::path &application, const Text &name)
{
    std::vector<fs::path> files, folders;
    std::error_code code;
    for (fs::directory_iterator it(application, code); !code && it != fs::directory_iterator();
         it.increment(code)) {
        std::error_code kind;
        if (it->is_directory(kind) && !it->is_symlink(kind))
            folders.push_back(it->path());
        else if (it->is_regular_file(kind))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    std::vector<NewComponent> components;
    std::set<std::string> taken;
    if (!files.empty()) {
        NewComponent main{name, ArchiveName(name, 1, taken), L".", {}, true};
        main.paths = files;
        components.push_back(main);
    }
    for (const fs::path &folder : folders) {
        if (!HoldsFiles(folder)) continue;
        Text folderName = WideOf(folder.filename());
        int number = static_cast<int>(components.size()) + 1;
        components.push_back(
            NewComponent{folderName, ArchiveName(folderName, number, taken), folderName, {folder}, false});
    }
    // Without files of its own the first folder is the main program.
    if (files.empty() && !components.empty()) components.front().required = true;
    return components;
}

std::string ApplicationArchitecture(const fs::path &application)
{
    std::error_code code;
    for (fs::recursive_directory_iterator it(application, code);
         !code && it != fs::recursive_directory_iterator(); it.increment(code)) {
        if (!it->is_regular_file(code) || !IsProgramName(it->path())) continue;
        std::ifstream stream(it->path(), std::ios::binary);
        std::string head(4096, '\0');
        stream.read(&head[0], static_cast<std::streamsize>(head.size()));
        head.resize(static_cast<size_t>(stream.gcount()));
        if (ReadProgramHeader(head).machine == machineAmd64) return "win64";
    }
    return "win32";
}

bool ChooseCodePage(const Translation &translation, int asked, int &chosen, std::string &error)
{
    chosen = asked == asciiOnly ? translation.codePage : asked;
    if (asked == asciiOnly || asked == translation.codePage) return true;
    std::vector<const wchar_t *> words;
    for (const PageWords &page : translation.pages) {
        words.push_back(page.title);
        words.insert(words.end(), page.lines.begin(), page.lines.end());
    }
    for (const TextWords &text : translation.texts) words.push_back(text.words);
    for (const wchar_t *word : words) {
        std::string bytes;
        if (!EncodeCodePage(asked, word, bytes)) {
            error = std::string("the ") + translation.name + " texts hold characters code page " +
                    std::to_string(asked) + " cannot hold; leave out --code-page, or give " +
                    std::to_string(translation.codePage);
            return false;
        }
    }
    return true;
}

Text NewSetupText(const NewPackageSettings &settings, const std::vector<NewComponent> &components,
                  const std::vector<Text> &programs, bool hasLicence)
{
    const Text &name = settings.name;
    const Translation &words = settings.translation ? *settings.translation : Translations().front();
    auto page = [&](NewPage which) -> const PageWords & { return words.pages[static_cast<int>(which)]; };
    Text codePage = HasCodePageTables(settings.codePage) ? L"code page " + Number(settings.codePage)
                                                         : Text(L"ASCII, the part every code page shares");
    Text text =
        Comment(L"setup.tsi of " + name + L", made by tsa new. docs/setup-tsi.md describes every key.") +
        Comment(L"Lines that begin with \";\" are comments. Setup reads this file in the system code") +
        Comment(L"page of the machine it runs on; it is written in " + codePage + L", so keep it") +
        Comment(L"in that encoding when you edit it, and run tsa check on the package after.");
    text += L"\r\n[Setup]\r\n" + Comment(L"The full-screen background behind the wizard and what it shows.") +
            Line(L"DisplayBackgroundWindow", L"1") + Line(L"DisplayAppName", L"1") +
            Line(L"DisplayAppVersion", L"1") +
            Line(L"DisplayCompanyName", settings.company.empty() ? L"0" : L"1");
    text += L"\r\n[Application]\r\n" + Line(L"Name", name) + Line(L"Version", settings.version) +
            Line(L"Company", settings.company);
    text += FontSection(L"Name Font", L"pixels from the screen's top edge", 30, 48, L"Courier New", 1);
    text +=
        FontSection(L"Company Font", L"pixels above the screen's bottom edge", 30, 24, L"Times New Roman", 0);
    text += L"\r\n[Dialogs]\r\n" + Comment(L"1 shows the page, 0 leaves it out.") +
            Line(L"Introduction", L"1") + Line(L"License", hasLicence ? L"1" : L"0") +
            Line(L"Directory", L"1") + Line(L"Components", L"1") + Line(L"Summary", L"1") +
            Line(L"Bye", L"1") +
            Comment(L"The last page offers to restart Windows; only for programs that need it.") +
            Line(L"Reboot", L"0");
    text += Page(L"Introduction", page(NewPage::introduction), settings,
                 L"Each page: Title is the window's title, Lines the number of lines 1, 2, ... that follow.");
    text += Page(L"License", page(NewPage::license), settings,
                 L"LicenseFile: the licence text in the package folder; nolicense shows none.");
    text += Line(L"LicenseFile", hasLicence ? L"licence.txt" : L"nolicense");
    text += Page(L"Directory", page(NewPage::directory), settings,
                 L"DirName follows the Program Files folder and a backslash in the proposed destination.");
    text += Line(L"DirName", name);
    text += Page(L"Components", page(NewPage::components), settings);
    text += Page(L"Summary", page(NewPage::summary), settings);
    text += Page(L"Installation", page(NewPage::installation), settings,
                 L"Shown while the files are copied; it has no switch in [Dialogs].");
    text += Page(L"Bye", page(NewPage::bye), settings);
    text += Page(L"Reboot", page(NewPage::reboot), settings);
    text += TextsSection(words, settings);

    text += L"\r\n[Component Setup]\r\n" + Comment(L"Each component: its name on the Components page.") +
            Line(L"NumberOfComponents", Number(static_cast<long long>(components.size()))) +
            Comment(L"CopyLUMORA=1 copies lumora.dll into the destination too.") + Line(L"CopyLUMORA", L"0");
    for (size_t k = 0; k < components.size(); ++k)
        text += Line(Number(static_cast<long long>(k + 1)), components[k].name);
    text +=
        L"\r\n[Component Config]\r\n" +
        Comment(
            L"required: always installed; default: ticked; any other word, such as optional: not ticked.") +
        Comment(L"Written in small letters: Required or requried leave the component unticked.");
    for (size_t k = 0; k < components.size(); ++k)
        text +=
            Line(Number(static_cast<long long>(k + 1)), components[k].required ? L"required" : L"default");
    text += L"\r\n[Component Files]\r\n" + Comment(L"The archive of each component, made with tsa pack.");
    for (size_t k = 0; k < components.size(); ++k)
        text += Line(Number(static_cast<long long>(k + 1)),
                     Text(components[k].archive.begin(), components[k].archive.end()));
    text +=
        L"\r\n[Component Subdirs]\r\n" +
        Comment(L"The folder below the destination each component goes to; \".\" is the destination itself.");
    for (size_t k = 0; k < components.size(); ++k)
        text += Line(Number(static_cast<long long>(k + 1)), components[k].subdirectory);
    text += L"\r\n[Startmenu Links]\r\n" +
            Comment(L"Link i is made when component Componenti is installed: Namei.lnk starts Filei,") +
            Comment(L"a path below the destination. NumberOfLinks must count every link described.") +
            Line(L"NumberOfLinks", Number(static_cast<long long>(programs.size()))) +
            Line(L"StartmenuDirectory", name);
    if (programs.empty()) {
        text += Comment(L"Component1=1") + Comment(L"Name1=" + name) + Comment(L"File1=program.exe");
    }
    for (size_t k = 0; k < programs.size(); ++k) {
        Text number = Number(static_cast<long long>(k + 1));
        Text title = programs[k].substr(0, programs[k].rfind(L'.'));
        text += Line(L"Component" + number, L"1") + Line(L"Name" + number, title) +
                Line(L"File" + number, programs[k]);
    }
    text +=
        L"\r\n[Uninstall]\r\n" +
        Comment(L"Enabled=1 leaves uninstall.exe and a record of the installed files in the destination") +
        Comment(L"and lists the product among Windows' installed programs. Empty values: [Application]'s.") +
        Line(L"Enabled", L"1") + Line(L"DisplayName", name) + Line(L"DisplayVersion", settings.version) +
        Line(L"Publisher", settings.company) + Comment(L"HelpLink=https://...") +
        Comment(L"URLInfoAbout=https://...");
    return text;
}

bool MakeNewPackage(const NewPackageSettings &settings, const std::function<void(const std::string &)> &say,
                    std::string &error)
{
    std::error_code code;
    if (!fs::is_directory(settings.application, code)) {
        error = Shown(settings.application) + ": no such folder";
        return false;
    }
    if (fs::exists(settings.output, code) &&
        (!fs::is_directory(settings.output, code) || !fs::is_empty(settings.output, code))) {
        error = Shown(settings.output) + ": already exists and is not an empty folder; nothing is written";
        return false;
    }
    std::vector<NewComponent> components = PlanComponents(settings.application, settings.name);
    if (components.empty()) {
        error = Shown(settings.application) + ": holds no file to install";
        return false;
    }
    fs::path setupProgram = settings.runtime / "setup.exe", library = settings.runtime / "lumora.dll",
             uninstaller = settings.runtime / "uninstall.exe";
    if (!fs::is_regular_file(setupProgram, code) || !fs::is_regular_file(library, code) ||
        !fs::is_regular_file(uninstaller, code)) {
        error =
            Shown(settings.runtime) + ": holds no setup.exe, lumora.dll and uninstall.exe (see --runtime)";
        return false;
    }
    bool madeOutput = !fs::exists(settings.output, code);
    fs::create_directories(settings.output, code);
    if (code) {
        error = Shown(settings.output) + ": cannot be made: " + code.message();
        return false;
    }
    auto fail = [&]() {
        std::error_code ignored;
        if (madeOutput)
            fs::remove_all(settings.output, ignored);
        else
            for (const auto &entry : fs::directory_iterator(settings.output, ignored))
                fs::remove_all(entry, ignored);
        return false;
    };
    std::vector<Text> programs;
    if (components.front().subdirectory == L".") {
        for (const fs::path &file : components.front().paths) {
            Text extension = WideOf(file.extension());
            if (extension == L".exe" || extension == L".EXE") programs.push_back(WideOf(file.filename()));
        }
    }
    bool hasLicence = !settings.licence.empty();
    if (hasLicence &&
        !WriteTextInCodePage(settings.licence, settings.output / "licence.txt", settings.codePage, error))
        return fail();
    if (!WriteText(settings.output / "setup.tsi", NewSetupText(settings, components, programs, hasLicence),
                   settings.codePage, error))
        return fail();
    for (const NewComponent &component : components) {
        if (!PackComponent(settings, component, say, error)) return fail();
        say(component.archive + ": packed");
    }
    if (!CopyProgram(setupProgram, settings.output / "setup.exe", error) ||
        !CopyProgram(library, settings.output / "lumora.dll", error) ||
        !CopyProgram(uninstaller, settings.output / "uninstall.exe", error))
        return fail();
    return true;
}
