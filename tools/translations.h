// The words `tsa new --language` writes into a package: the wizard's own texts ([Texts]) and the
// pages' titles and lines, in each language the tool knows, with the code page its users'
// systems read them in.
#ifndef SETUP_TOOLS_TRANSLATIONS_H
#define SETUP_TOOLS_TRANSLATIONS_H

#include "package/setup_rules.h"

#include <string>
#include <vector>

// In "{name}" and "{version}" the application's own stand.
struct PageWords {
    const wchar_t *title;
    std::vector<const wchar_t *> lines;
};

struct TextWords {
    SetupValue text;      // a value of [Texts]
    const wchar_t *words; // as written in setup.tsi: "\n" starts a new line in a message
};

// The pages, in the order NewSetupText writes them.
enum class NewPage { introduction, license, directory, components, summary, installation, bye, reboot };
const int newPageCount = 8;

struct Translation {
    const char *language; // as --language takes it: "de", "zh-CN"
    const char *name;     // in English, for messages
    int codePage;         // of the users' systems; asciiOnly for English
    PageWords pages[newPageCount];
    // Every value of [Texts] but the background's title, which is the application's; English
    // has none, its words are the rule book's defaults.
    std::vector<TextWords> texts;
};

// English first, then the others in the order the help lists them.
const std::vector<Translation> &Translations();

// The translation of a language ("DE" and "de" alike), or null.
const Translation *FindTranslation(const std::string &language);

// The words of a [Texts] value in the translation, as written in setup.tsi.
std::wstring TextOf(const Translation &translation, SetupValue text);

// The languages, "de, fr, ..." for messages.
std::string LanguageList();

#endif
