#include "tools/value_check.h"

#include "lumora/utf8.h"
#include "package/setup_rules.h"
#include "tools/package_files.h"
#include "tools/setup_keys.h"

#include <cstring>
#include <set>

namespace {

using Text = std::wstring;
using V = SetupValue;

// Ranges that `tsa check` judges together with what the keys describe.
bool RangeJudgedElsewhere(const SetupRule &rule)
{
    return rule.value == V::offeredComponentCount || rule.value == V::installedComponentCount ||
           rule.value == V::linkComponent || std::strcmp(rule.key, "Lines") == 0;
}

// The values that decide what is installed and which links are made; a fault in them leaves
// the installation incomplete, elsewhere it only shows.
bool DecidesInstallation(const SetupRule &rule)
{
    return std::strncmp(rule.section, "Component", 9) == 0 ||
           std::strcmp(rule.section, "Startmenu Links") == 0;
}

// An optional sign and decimal digits, nothing else: what the program's number reading takes
// in full.
bool IsDecimal(const Text &value)
{
    size_t start = !value.empty() && (value[0] == L'-' || value[0] == L'+') ? 1 : 0;
    if (start == value.size()) return false;
    for (size_t k = start; k < value.size(); ++k)
        if (value[k] < L'0' || value[k] > L'9') return false;
    return true;
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// A colour written the web's way, "#RRGGBB", as the program wants it: 0x00BBGGRR in decimal.
Text ColourHint(const Text &value)
{
    if (value.size() != 7 || value[0] != L'#') return L"";
    long channels[3] = {};
    for (int c = 0; c < 3; ++c) {
        int high = HexDigit(value[1 + 2 * c]), low = HexDigit(value[2 + 2 * c]);
        if (high < 0 || low < 0) return L"";
        channels[c] = high * 16 + low;
    }
    long colour = channels[0] | channels[1] << 8 | channels[2] << 16;
    return L"; write " + Widened(std::to_string(colour)) + L" for " + value;
}

Text Quoted(const Text &text)
{
    return L"\"" + text + L"\"";
}

bool StartsWith(const Text &value, const Text &word, bool ignoringCase)
{
    if (value.size() < word.size()) return false;
    Text start = value.substr(0, word.size());
    return ignoringCase ? lumora::SameIgnoringAsciiCase(start, word) : start == word;
}

// Close to a word the program knows, but not that word: a slip of the pen or the wrong case.
const wchar_t *MeantState(const Text &value)
{
    Text word = value.substr(0, value.find_first_of(L" \t,;"));
    for (const wchar_t *known : {L"required", L"default"}) {
        if (StartsWith(value, known, true) || SpelledLike(word, known)) return known;
    }
    return nullptr;
}

class ValueCheck {
public:
    explicit ValueCheck(const ProfileFile &profile) : profile(profile) {}

    std::vector<Finding> Run()
    {
        for (const SetupRule &rule : setupRules) {
            const ProfileSection *section = profile.FindSection(Widened(rule.section));
            if (section == nullptr) continue;
            for (const ProfileKey &key : section->keys) {
                if (!key.hasValue || !IsKeyOf(rule, key)) continue;
                Text place = lumora::AsciiUppercase(section->name + L"\n" + key.name);
                if (!judged.insert(place).second) continue;
                if (profile.Find(section->name, key.name) != &key) continue; // a later copy is not read
                Judge(rule, *section, key);
            }
        }
        return findings;
    }

private:
    static bool IsKeyOf(const SetupRule &rule, const ProfileKey &key)
    {
        lumora::String name(key.name.c_str());
        if (rule.numbered) return KeyNumber(rule, name) > 0;
        return lumora::SameIgnoringAsciiCase(Widened(rule.key), key.name);
    }

    void Add(Severity severity, const ProfileSection &section, const ProfileKey &key, const Text &message)
    {
        findings.push_back(Finding{severity, section.name, key.name, key.line, L"", L"", message});
    }

    void Judge(const SetupRule &rule, const ProfileSection &section, const ProfileKey &key)
    {
        Text value = key.value.substr(0, setupValueLength);
        switch (rule.kind) {
        case ValueKind::flag:
        case ValueKind::integer:
            JudgeNumber(rule, section, key, value);
            break;
        case ValueKind::componentState:
            JudgeState(section, key, value);
            break;
        case ValueKind::folderBelowProgramFiles:
            JudgeFolderName(section, key, value);
            break;
        case ValueKind::webAddress:
            JudgeAddress(section, key, value);
            break;
        case ValueKind::codePageText:
            JudgeRoom(rule, section, key, value);
            break;
        default:
            break;
        }
    }

    void JudgeNumber(const SetupRule &rule, const ProfileSection &section, const ProfileKey &key,
                     const Text &value)
    {
        Severity severity = DecidesInstallation(rule) ? Severity::error : Severity::warning;
        long long number = lumora::String(value.c_str()).ToInt();
        if (!IsDecimal(value)) {
            Text meaning = rule.kind == ValueKind::flag ? (number != 0 ? L", on" : L", off") : L"";
            Add(severity, section, key,
                Quoted(value) + L" is no decimal number; the program reads it as " +
                    Widened(std::to_string(number)) + meaning + ColourHint(value));
            return;
        }
        if (RangeJudgedElsewhere(rule)) return;
        bool below = rule.lowest != noLimit && number < rule.lowest;
        bool above = rule.highest != noLimit && number > rule.highest;
        if (!below && !above) return;
        Text range = rule.highest == noLimit ? L"below the lowest, " + Widened(std::to_string(rule.lowest))
                                             : L"outside " + Widened(std::to_string(rule.lowest)) + L" to " +
                                                   Widened(std::to_string(rule.highest));
        Add(severity, section, key,
            L"is " + Widened(std::to_string(number)) + L", " + range + L": " + Widened(rule.meaning));
    }

    // A text wider than its control is cut off, or runs into what lies below it.
    void JudgeRoom(const SetupRule &rule, const ProfileSection &section, const ProfileKey &key,
                   const Text &value)
    {
        if (rule.highest == noLimit) return;
        long long width = TextWidthInCharacters(lumora::String(value.c_str()));
        if (width <= rule.highest) return;
        Add(Severity::warning, section, key,
            Quoted(value) + L" needs the room of about " + Widened(std::to_string(width)) +
                L" characters, more than the " + Widened(std::to_string(rule.highest)) + L" of " +
                Widened(rule.meaning) + L"; it may be cut off");
    }

    void JudgeState(const ProfileSection &section, const ProfileKey &key, const Text &value)
    {
        if (StartsWith(value, L"required", false) || StartsWith(value, L"default", false)) return;
        const wchar_t *meant = MeantState(value);
        if (meant == nullptr) return; // any other word leaves the component unticked, as meant
        Add(Severity::error, section, key,
            Quoted(value) +
                L" is neither \"required\" nor \"default\" (written in small letters), so "
                L"component " +
                key.name + L" starts unticked and the user may leave it out; did you mean " + meant + L"?");
    }

    void JudgeAddress(const ProfileSection &section, const ProfileKey &key, const Text &value)
    {
        if (value.empty() || StartsWith(value, L"http://", true) || StartsWith(value, L"https://", true))
            return;
        Add(Severity::warning, section, key,
            Quoted(value) + L" is no web address (http:// or https://); the list of installed programs shows "
                            L"it as a link that leads nowhere");
    }

    void JudgeFolderName(const ProfileSection &section, const ProfileKey &key, const Text &value)
    {
        static const Text refused = L"<>:\"|?*";
        for (wchar_t c : value) {
            if (c >= 0x20 && refused.find(c) == Text::npos) continue;
            Text shown = c < 0x20 ? Text(L"a control character") : Quoted(Text(1, c));
            Add(Severity::error, section, key,
                Quoted(value) + L" holds " + shown +
                    L", which Windows refuses in folder names, so the proposed destination cannot be made "
                    L"and nothing is installed");
            return;
        }
    }

    const ProfileFile &profile;
    std::set<Text> judged;
    std::vector<Finding> findings;
};

} // namespace

std::vector<Finding> CheckValues(const ProfileFile &profile)
{
    return ValueCheck(profile).Run();
}
