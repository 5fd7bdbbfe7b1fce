// The languages `tsa new --language` writes: every text of the wizard in each, each no wider than
// its control and every word in the code page its users' systems read it in; a package made in
// one is read by `tsa check` without a finding about its words.
#include "install/code_page.h"
#include "package/setup_rules.h"
#include "tools/package_new.h"
#include "tools/profile_file.h"
#include "tools/value_check.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::wstring Wide(const lumora::String &text)
{
    return static_cast<const wchar_t *>(text);
}

std::string Shown(const std::wstring &text)
{
    std::string bytes;
    for (wchar_t c : text) bytes += c < 0x80 ? static_cast<char>(c) : '?';
    return bytes;
}

TEST(Translations, EveryLanguageWordsEveryTextWithinItsControlAndCodePage)
{
    for (const Translation &translation : Translations()) {
        SCOPED_TRACE(translation.language);
        std::set<SetupValue> worded;
        for (const TextWords &text : translation.texts) {
            const SetupRule &rule = RuleOf(text.text);
            EXPECT_TRUE(IsWizardText(rule)) << rule.key;
            EXPECT_TRUE(worded.insert(text.text).second) << rule.key << " twice";
            EXPECT_NE(text.text, SetupValue::textBackgroundTitle) << "the title is the application's";
        }
        if (translation.codePage == asciiOnly) {
            EXPECT_TRUE(translation.texts.empty()) << "English is the rule book's";
        } else {
            for (const SetupRule &rule : setupRules) {
                if (!IsWizardText(rule) || rule.value == SetupValue::textBackgroundTitle) continue;
                EXPECT_EQ(worded.count(rule.value), 1u) << rule.key << " has no words";
            }
        }
        for (const SetupRule &rule : setupRules) {
            if (!IsWizardText(rule)) continue;
            std::wstring words = TextOf(translation, rule.value);
            std::string bytes;
            EXPECT_TRUE(EncodeCodePage(translation.codePage, words, bytes)) << rule.key;
            if (rule.highest == noLimit) continue;
            EXPECT_LE(TextWidthInCharacters(lumora::String(words.c_str())), rule.highest)
                << rule.key << ": " << Shown(words);
        }
        for (const PageWords &page : translation.pages) {
            std::vector<const wchar_t *> words = page.lines;
            words.push_back(page.title);
            for (const wchar_t *word : words) {
                std::string bytes;
                EXPECT_TRUE(EncodeCodePage(translation.codePage, word, bytes)) << Shown(word);
            }
        }
    }
}

TEST(Translations, WideCharactersTakeTheRoomOfTwo)
{
    EXPECT_EQ(TextWidthInCharacters(L"Cancel"), 6);
    EXPECT_EQ(TextWidthInCharacters(L"\u30ad\u30e3\u30f3\u30bb\u30eb"), 10);      // katakana
    EXPECT_EQ(TextWidthInCharacters(L"< \u4e0a\u4e00\u6b65"), 8);                 // ideographs
    EXPECT_EQ(TextWidthInCharacters(L"\u041e\u0442\u043c\u0435\u043d\u0430"), 6); // Cyrillic
}

TEST(Translations, PackageInEachLanguageHoldsNoWordTooWideOrOutsideItsCodePage)
{
    for (const Translation &translation : Translations()) {
        SCOPED_TRACE(translation.language);
        NewPackageSettings settings;
        settings.name = L"Viewer";
        settings.translation = &translation;
        std::string error;
        ASSERT_TRUE(ChooseCodePage(translation, asciiOnly, settings.codePage, error)) << error;
        std::wstring text =
            NewSetupText(settings, {NewComponent{L"Viewer", "viewer.tsa", L".", {}, true}}, {}, false);
        std::string bytes;
        ASSERT_TRUE(EncodeCodePage(settings.codePage, text, bytes));
        ProfileFile profile(bytes, settings.codePage);
        for (const Finding &finding : CheckValues(profile)) ADD_FAILURE() << FindingLine(finding);
        EXPECT_EQ(Wide(profile.Value(L"Texts", L"BackgroundTitle", L"")), L"Viewer 1.0");
        if (translation.codePage == asciiOnly) continue;
        EXPECT_EQ(Wide(profile.Value(L"Texts", L"Next", L"")), TextOf(translation, SetupValue::textNext));
    }
}

struct CodePageCase {
    const char *language;
    int asked;
    int chosen; // 0: refused
};

TEST(Translations, ALanguageTakesItsCodePageOrAnotherThatHoldsItsWords)
{
    const CodePageCase cases[] = {{"de", asciiOnly, 1252}, {"de", 1250, 1250},     {"de", 1251, 0},
                                  {"ru", 1252, 0},         {"ja", asciiOnly, 932}, {"zh-CN", 936, 936},
                                  {"ZH-cn", 932, 0},       {"en", 1251, 1251}};
    for (const CodePageCase &c : cases) {
        const Translation *translation = FindTranslation(c.language);
        ASSERT_NE(translation, nullptr) << c.language;
        int chosen = -5;
        std::string error;
        bool accepted = ChooseCodePage(*translation, c.asked, chosen, error);
        EXPECT_EQ(accepted, c.chosen != 0) << c.language << " " << c.asked;
        if (accepted) {
            EXPECT_EQ(chosen, c.chosen) << c.language;
        } else {
            EXPECT_NE(error.find("cannot hold"), std::string::npos) << error;
        }
    }
    EXPECT_EQ(FindTranslation("xx"), nullptr);
}

} // namespace
