// docs/setup-tsi.md, the vendors' reference, against the rule book the program reads through:
// every rule has its row with the same section, key, default, type and range, and every row
// is a rule. A new key, a changed default or range fails here until the reference says so too.
#include "package/setup_rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Row = std::vector<std::string>; // section, key, default, type, range

std::string Trimmed(const std::string &text)
{
    size_t start = text.find_first_not_of(' '), end = text.find_last_not_of(' ');
    return start == std::string::npos ? "" : text.substr(start, end - start + 1);
}

// The key rows of the reference's tables: "| [Section] | `Key` | default | type | range | ... |".
std::vector<Row> ReferenceRows()
{
    std::ifstream file(SETUP_REFERENCE);
    EXPECT_TRUE(file.good()) << SETUP_REFERENCE;
    std::vector<Row> rows;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("| [", 0) != 0) continue;
        Row cells;
        std::stringstream stream(line.substr(1));
        for (std::string cell; std::getline(stream, cell, '|');) cells.push_back(Trimmed(cell));
        EXPECT_GE(cells.size(), 6u) << line;
        cells.resize(5);
        rows.push_back(cells);
    }
    return rows;
}

const char *KindWords(ValueKind kind)
{
    switch (kind) {
    case ValueKind::flag:
        return "flag";
    case ValueKind::integer:
        return "integer";
    case ValueKind::codePageText:
        return "text";
    case ValueKind::messageText:
        return "message";
    case ValueKind::componentState:
        return "component state";
    case ValueKind::packageFile:
        return "package file";
    case ValueKind::folderBelowProgramFiles:
        return "folder name";
    case ValueKind::pathBelowDestination:
        return "path below the destination";
    case ValueKind::pathBelowStartMenu:
        return "path below the Start menu";
    case ValueKind::pathFromDestination:
        return "path from the destination";
    case ValueKind::webAddress:
        return "web address";
    }
    return "";
}

std::string RangeWords(const SetupRule &rule)
{
    bool low = rule.lowest != noLimit, high = rule.highest != noLimit;
    if (low && high) return std::to_string(rule.lowest) + " to " + std::to_string(rule.highest);
    if (low) return "from " + std::to_string(rule.lowest);
    if (high) return "up to " + std::to_string(rule.highest);
    return "\xe2\x80\x94"; // an em dash: no range
}

// The row the reference must hold for the rule.
Row RowOf(const SetupRule &rule)
{
    std::string key = std::string("`") + rule.key + (rule.numbered ? "{n}" : "") + "`";
    std::string defaultValue = *rule.defaultValue ? std::string("`") + rule.defaultValue + "`" : "(empty)";
    return {std::string("[") + rule.section + "]", key, defaultValue, KindWords(rule.kind), RangeWords(rule)};
}

std::string Shown(const Row &row)
{
    std::string text;
    for (const std::string &cell : row) text += "| " + cell + " ";
    return text + "|";
}

TEST(SetupReference, NamesEveryRuleOfTheRuleBookAndNoOther)
{
    std::map<Row, int> documented;
    for (const Row &row : ReferenceRows()) ++documented[row];
    for (const SetupRule &rule : setupRules) {
        Row wanted = RowOf(rule);
        auto found = documented.find(wanted);
        if (found == documented.end() || found->second == 0) {
            ADD_FAILURE() << "docs/setup-tsi.md lacks the row " << Shown(wanted);
            continue;
        }
        --found->second;
    }
    for (const auto &row : documented) {
        for (int k = 0; k < row.second; ++k)
            ADD_FAILURE() << "docs/setup-tsi.md describes what the program does not read: "
                          << Shown(row.first);
    }
}

} // namespace
