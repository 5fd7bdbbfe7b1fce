#include "tools/setup_keys.h"

#include "lumora/utf8.h"
#include "package/setup_rules.h"
#include "tools/package_files.h"

#include <algorithm>

using Text = std::wstring;

namespace {

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

const std::vector<SectionKeys> &KnownSections()
{
    static const std::vector<SectionKeys> sections = [] {
        std::vector<SectionKeys> grouped;
        for (const SetupRule &rule : setupRules) {
            Text section = Widened(rule.section);
            auto found = std::find_if(grouped.begin(), grouped.end(),
                                      [&](const SectionKeys &known) { return known.section == section; });
            if (found == grouped.end()) found = grouped.insert(grouped.end(), SectionKeys{section, {}, {}});
            std::vector<Text> &names = rule.numbered ? found->numbered : found->keys;
            Text key = Widened(rule.key);
            if (std::find(names.begin(), names.end(), key) == names.end()) names.push_back(key);
        }
        return grouped;
    }();
    return sections;
}

bool SpelledLike(const Text &name, const Text &candidate)
{
    size_t allowed = name.size() < 4 ? 0 : name.size() < 8 ? 1 : 2;
    size_t distance = EditDistance(lumora::AsciiUppercase(name), lumora::AsciiUppercase(candidate));
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
