#include "tests/navigation/test_package.h"

#include "tests/common/archive_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>

namespace navtest {
namespace {

std::wstring WindowsPath(const std::string &name)
{
    std::wstring path = uidriver::Widen(name);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

} // namespace

std::string MakeArchive(const std::vector<std::vector<PackedFile>> &groups)
{
    std::vector<std::string> groupBytes;
    for (const auto &group : groups) {
        std::vector<testsupport::RawFile> files;
        for (const auto &file : group) files.push_back({file.name, file.content});
        groupBytes.push_back(testsupport::GroupBytes(files));
    }
    return testsupport::ArchiveBytes(groupBytes);
}

std::string GeneratedContent(size_t size, unsigned seed)
{
    static const char *const words[] = {"setup ",      "archive ", "component ", "wizard ", "progress ",
                                        "install\r\n", "lumora ",  "shortcut ",  "folder ", "bar "};
    std::string text;
    text.reserve(size + 16);
    uint32_t state = seed * 2654435761u + 1;
    while (text.size() < size) {
        state = state * 1664525u + 1013904223u;
        text += words[(state >> 24) % 10];
        if ((state >> 16) % 7 == 0) text += std::to_string(state % 100000);
    }
    text.resize(size);
    return text;
}

ComponentSpec Component(const std::string &name, const std::string &config, const std::string &subdirectory,
                        std::vector<std::vector<PackedFile>> groups, bool writeArchive)
{
    ComponentSpec component;
    component.name = name;
    component.config = config;
    component.subdirectory = subdirectory;
    component.groups = std::move(groups);
    component.writeArchive = writeArchive;
    return component;
}

std::string ConfigText(const PackagePlan &plan)
{
    static const char *const pageKeys[] = {"Introduction", "License", "Directory", "Components",
                                           "Summary",      "Bye",     "Reboot"};
    std::string text = "[Setup]\r\nDisplayBackgroundWindow=";
    text += plan.background ? "1" : "0";
    text += "\r\n\r\n[Dialogs]\r\n";
    for (int page = 0; page < 7; page++) {
        text += pageKeys[page];
        text += "=";
        text += plan.pages[static_cast<size_t>(page)];
        text += "\r\n";
    }
    if (!plan.licenseText.empty()) text += "\r\n[License]\r\nLicenseFile=licence.txt\r\n";

    std::string names, configs, files, subdirs;
    for (size_t i = 0; i < plan.components.size(); i++) {
        std::string key = std::to_string(i + 1);
        names += key + "=" + plan.components[i].name + "\r\n";
        configs += key + "=" + plan.components[i].config + "\r\n";
        files += key + "=component" + key + ".tsa\r\n";
        subdirs += key + "=" + plan.components[i].subdirectory + "\r\n";
    }
    text += "\r\n[Component Setup]\r\nNumberOfComponents=" + std::to_string(plan.components.size()) + "\r\n";
    text += std::string("CopyLUMORA=") + (plan.copyLibrary ? "1" : "0") + "\r\n" + names;
    text += "\r\n[Component Config]\r\n" + configs;
    text += "\r\n[Component Files]\r\n" + files;
    text += "\r\n[Component Subdirs]\r\n" + subdirs;

    text += "\r\n[Startmenu Links]\r\nNumberOfLinks=" + std::to_string(plan.links.size()) + "\r\n";
    text += "StartmenuDirectory=" + plan.startmenuDirectory + "\r\n";
    for (size_t k = 0; k < plan.links.size(); k++) {
        std::string key = std::to_string(k + 1);
        if (!plan.links[k].component.empty())
            text += "Component" + key + "=" + plan.links[k].component + "\r\n";
        text += "Name" + key + "=" + plan.links[k].name + "\r\n";
        text += "File" + key + "=" + plan.links[k].file + "\r\n";
    }
    text += plan.extraSections;
    return text;
}

bool WritePackage(const setuptest::SetupPackage &package, const PackagePlan &plan)
{
    if (!package.Ready() || !package.WriteConfig(ConfigText(plan))) return false;
    if (!plan.licenseText.empty() && !package.WriteFile(L"licence.txt", plan.licenseText)) return false;
    for (size_t i = 0; i < plan.components.size(); i++) {
        if (!plan.components[i].writeArchive) continue;
        std::wstring name = L"component" + std::to_wstring(i + 1) + L".tsa";
        if (!package.WriteFile(name, MakeArchive(plan.components[i].groups))) return false;
    }
    return true;
}

std::vector<std::pair<std::wstring, std::string>> ExpectedTree(const std::vector<ComponentSpec> &components,
                                                               const std::vector<int> &installed)
{
    std::map<std::wstring, std::string> tree;
    for (int number : installed) {
        const ComponentSpec &component = components[static_cast<size_t>(number - 1)];
        std::wstring prefix =
            component.subdirectory == "." ? L"" : WindowsPath(component.subdirectory) + L"\\";
        for (const auto &group : component.groups)
            for (const auto &file : group) tree[prefix + WindowsPath(file.name)] = file.content;
    }
    return {tree.begin(), tree.end()};
}

void FinishNormally(setuptest::WizardSession &wizard, const setuptest::SetupPackage &package)
{
    ASSERT_TRUE(wizard.WaitForPage(setuptest::defaultTitle::bye, {L"Next ->"}, 120000)) << wizard.Describe();
    ASSERT_TRUE(wizard.Press(L"Next ->"));
    ASSERT_TRUE(wizard.WaitForTitle(setuptest::defaultTitle::reboot)) << wizard.Describe();
    ASSERT_TRUE(wizard.Click(L"No, I will restart my computer later!"));
    ASSERT_TRUE(uidriver::WaitUntil([&] {
        auto option = uidriver::FindControl(wizard.Window(), L"No, I will restart my computer later!");
        return option && option->IsChecked();
    }));
    ASSERT_TRUE(wizard.Press(L"Finish"));
    DWORD exitCode = 1;
    ASSERT_TRUE(wizard.Process().WaitForExit(uidriver::kDefaultTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(package.FileExists(L"setup.temp"));
}

} // namespace navtest
