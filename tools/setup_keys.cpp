#include "tools/setup_keys.h"

#include "tools/package_files.h"

#include <algorithm>

using Text = std::wstring;

namespace {

const std::vector<const wchar_t *> pageKeys = {L"Title", L"Lines"};

// Edits (insert, remove, replace, swap two neighbours) from one name to the other.
size_t EditDistance(const Text &left, const Text &right)
{
    std::vector<std::vector<size_t>> cost(left.size() + 1, std::vector<size_t>(right.size() + 1));
    for (size_t i = 0; i <= left.size(); ++i) cost[i][0] = i;
    for (size_t j = 0; j <= right.size(); ++j) cost[0][j] = j;
    for (size_t i = 1; i <= left.size(); ++i) {
        for (size_t j = 1; j <= right.size(); ++j) {
            size_t change = left[i - 1] == right[j - 1] ? 0 : 1;
            cost[i][j] = std::min({cost[i - 1][j] + 1, cost[i][j - 1] + 1, cost[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && left[i - 1] == right[j - 2] && left[i - 2] == right[j - 1])
                cost[i][j] = std::min(cost[i][j], cost[i - 2][j - 2] + 1);
        }
    }
    return cost[left.size()][right.size()];
}

} // namespace

const std::vector<const wchar_t *> fontKeys = {L"XPos", L"YPos",      L"Size",   L"Color",
                                               L"Font", L"Underline", L"Italic", L"Weight"};

// Every section and key the program reads.
const std::vector<SectionKeys> knownSections = {
    {L"Setup",
     {L"DisplayBackgroundWindow", L"DisplayAppName", L"DisplayAppVersion", L"DisplayCompanyName"},
     {}},
    {L"Dialogs",
     {L"Introduction", L"License", L"Directory", L"Components", L"Summary", L"Bye", L"Reboot"},
     {}},
    {L"Application", {L"Name", L"Version", L"Company"}, {}},
    {L"Name Font", fontKeys, {}},
    {L"Company Font", fontKeys, {}},
    {L"Introduction", pageKeys, {L""}},
    {L"License", {L"Title", L"Lines", L"LicenseFile"}, {L""}},
    {L"Directory", {L"Title", L"Lines", L"DirName"}, {L""}},
    {L"Components", pageKeys, {L""}},
    {L"Summary", pageKeys, {L""}},
    {L"Bye", pageKeys, {L""}},
    {L"Reboot", pageKeys, {L""}},
    {L"Installation", pageKeys, {L""}},
    {L"Component Setup", {L"NumberOfComponents", L"CopyLUMORA"}, {L""}},
    {L"Component Config", {}, {L""}},
    {L"Component Files", {}, {L""}},
    {L"Component Subdirs", {}, {L""}},
    {L"Startmenu Links", {L"NumberOfLinks", L"StartmenuDirectory"}, {L"Component", L"Name", L"File"}},
};

bool SpelledLike(const Text &name, const Text &candidate)
{
    size_t allowed = name.size() < 4 ? 0 : name.size() < 8 ? 1 : 2;
    size_t distance = EditDistance(Folded(name), Folded(candidate));
    return distance > 0 && distance <= allowed;
}

long long SplitNumber(const Text &key, Text &prefix)
{
    size_t start = key.size();
    while (start > 0 && key[start - 1] >= L'0' && key[start - 1] <= L'9') --start;
    prefix = key.substr(0, start);
    if (start == key.size() || key.size() - start > 9) return -1;
    return std::stoll(key.substr(start));
}
