// The wizard's own words from [Texts]: a package that sets every key shows none of the default
// English texts on any page, button, label, title or message box it reaches; and a package made
// by `tsa new --language` for the system's code page shows its language in every piece of chrome.
#include "package/setup_rules.h"
#include "tests/common/wizard_session.h"
#include "tests/navigation/test_package.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <set>

using namespace navtest;
using namespace setuptest;
using namespace uidriver;

namespace {

std::vector<const SetupRule *> TextRules()
{
    std::vector<const SetupRule *> rules;
    for (const SetupRule &rule : setupRules)
        if (IsWizardText(rule)) rules.push_back(&rule);
    return rules;
}

std::string TextsSection()
{
    std::string section = "\r\n[Texts]\r\n";
    for (const SetupRule *rule : TextRules())
        section += std::string(rule->key) + "=Zz" + rule->key +
                   (rule->kind == ValueKind::messageText ? "\\nZz2" : "") + "\r\n";
    return section;
}

std::wstring DefaultShown(const SetupRule &rule)
{
    std::wstring text = Widen(rule.defaultValue);
    for (size_t at = text.find(L"\\n"); at != std::wstring::npos; at = text.find(L"\\n", at))
        text.replace(at, 2, L"\n");
    return text;
}

std::wstring OtherVersionLibrary()
{
    return ProgramFolder() + L"..\\other-version\\lumora.dll";
}

class Texts : public ::testing::Test {
protected:
    // Every text of the wizard window, hidden controls included, and of the background window.
    void SweepWindows()
    {
        std::vector<std::wstring> texts = {WindowText(wizard->Window())};
        for (const Control &control : Controls(wizard->Window())) texts.push_back(Lines(control.text));
        for (HWND window : TopLevelWindows(wizard->Pid())) texts.push_back(WindowText(window));
        for (const std::wstring &text : texts) {
            seen.insert(text);
            for (const SetupRule *rule : TextRules())
                EXPECT_NE(text, DefaultShown(*rule)) << "the default of " << rule->key << " shows";
        }
    }

    MessageBoxInfo SweepBox()
    {
        std::optional<MessageBoxInfo> box = WaitForMessageBox(wizard->Pid(), 120000);
        if (!box) {
            ADD_FAILURE() << "no message box\n" << wizard->Describe();
            return MessageBoxInfo();
        }
        std::wstring text = Lines(box->text);
        seen.insert(box->caption);
        seen.insert(text);
        for (const SetupRule *rule : TextRules()) {
            EXPECT_NE(box->caption, DefaultShown(*rule)) << "the default of " << rule->key << " shows";
            if (rule->kind == ValueKind::messageText) {
                EXPECT_EQ(text.find(DefaultShown(*rule)), std::wstring::npos)
                    << "the default of " << rule->key << " shows";
            }
        }
        return *box;
    }

    void Answer(const MessageBoxInfo &box, const std::wstring &button)
    {
        ASSERT_TRUE(PressButton(box, button)) << Narrow(box.text);
        ASSERT_TRUE(WaitForWindowGone(box.hwnd));
    }

    // Whether a line of a text shown read exactly `marker`.
    bool Seen(const std::wstring &marker) const
    {
        for (const std::wstring &text : seen) {
            for (size_t start = 0; start <= text.size();) {
                size_t end = text.find(L'\n', start);
                if (end == std::wstring::npos) end = text.size();
                if (text.compare(start, end - start, marker) == 0) return true;
                start = end + 1;
            }
        }
        return false;
    }

    SetupPackage package;
    TempFolder destination{L"setup-dest"};
    std::unique_ptr<WizardSession> wizard;
    std::set<std::wstring> seen;
};

TEST_F(Texts, EveryKeySetShowsNoDefaultTextAnywhere)
{
    PackagePlan plan;
    plan.background = true;
    plan.licenseText = "Terms.\r\n";
    ComponentSpec large;
    large.name = "Large data";
    large.groups = {{{"one.dat", GeneratedContent(8000000, 5)}, {"two.dat", GeneratedContent(8000000, 6)}}};
    ComponentSpec missing;
    missing.name = "Missing";
    missing.subdirectory = "missing";
    missing.writeArchive = false;
    plan.components = {large, missing};
    plan.extraSections = TextsSection();
    ASSERT_TRUE(WritePackage(package, plan)) << Narrow(package.Error());
    ASSERT_TRUE(package.CopyIn(OtherVersionLibrary(), L"lumora.dll")) << "is lumora_other_version built?";
    wizard = std::make_unique<WizardSession>(package);

    // The question before the wizard exists is the package's too.
    MessageBoxInfo version = SweepBox();
    EXPECT_EQ(version.caption, L"ZzVersionCaption");
    EXPECT_EQ(Lines(version.text), L"ZzVersionQuestion\nZz2");
    ASSERT_NO_FATAL_FAILURE(Answer(version, L"Yes"));

    ASSERT_TRUE(wizard->Open(defaultTitle::introduction)) << Narrow(wizard->Process().Error());
    ASSERT_TRUE(wizard->WaitForPage(defaultTitle::introduction, {L"ZzCancel", L"ZzNext"}))
        << wizard->Describe();
    SweepWindows();
    ASSERT_TRUE(wizard->Press(L"ZzCancel"));
    MessageBoxInfo exit = SweepBox();
    EXPECT_EQ(Lines(exit.text), L"ZzExitQuestion\nZz2");
    ASSERT_NO_FATAL_FAILURE(Answer(exit, L"No"));

    ASSERT_TRUE(wizard->Press(L"ZzNext"));
    ASSERT_TRUE(wizard->WaitForPage(defaultTitle::license, {L"ZzBack", L"ZzNo", L"ZzYes"}))
        << wizard->Describe();
    SweepWindows();
    ASSERT_TRUE(wizard->Press(L"ZzNo"));
    ASSERT_NO_FATAL_FAILURE(Answer(SweepBox(), L"Cancel"));

    ASSERT_TRUE(wizard->Press(L"ZzYes"));
    ASSERT_TRUE(wizard->WaitForTitle(defaultTitle::directory)) << wizard->Describe();
    ASSERT_TRUE(wizard->SetDestination(destination.PathOf(L"App")));
    ASSERT_TRUE(ClickButton(wizard->Window(), L"ZzBrowse"));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindDialog(wizard->Pid())) != nullptr; }))
        << "no folder dialog";
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (const Control &control : Controls(dialog))
                if (Lines(control.text) == L"ZzBrowseText\nZz2") return true;
            return false;
        },
        5000))
        << DumpControls(dialog);
    seen.insert(L"ZzBrowseText");
    ASSERT_TRUE(PressButton(ReadMessageBox(dialog), L"Cancel")) << DumpControls(dialog);
    ASSERT_TRUE(WaitForWindowGone(dialog));

    ASSERT_TRUE(wizard->Press(L"ZzNext"));
    ASSERT_TRUE(wizard->WaitForTitle(defaultTitle::components)) << wizard->Describe();
    SweepWindows();
    ASSERT_TRUE(wizard->Press(L"ZzNext"));
    ASSERT_TRUE(wizard->WaitForTitle(defaultTitle::summary)) << wizard->Describe();
    ASSERT_TRUE(wizard->Press(L"ZzNext"));

    // Closing the window while the files are copied asks its own question.
    ASSERT_TRUE(wizard->WaitForTitle(defaultTitle::installation)) << wizard->Describe();
    SweepWindows();
    ASSERT_TRUE(uidriver::CloseWindow(wizard->Window()));
    MessageBoxInfo installing = SweepBox();
    EXPECT_EQ(installing.caption, L"ZzExitCaption");
    EXPECT_EQ(Lines(installing.text), L"ZzInstallingQuestion\nZz2");
    ASSERT_NO_FATAL_FAILURE(Answer(installing, L"No"));

    MessageBoxInfo incomplete = SweepBox();
    EXPECT_EQ(incomplete.caption, L"ZzIncompleteCaption");
    std::wstring notice = Lines(incomplete.text);
    EXPECT_EQ(notice.rfind(L"ZzIncompleteText\nZz2\n\nMissing: ", 0), 0u) << Narrow(notice);
    EXPECT_NE(notice.find(L"\n\nZzIncompleteAdvice\nZz2"), std::wstring::npos) << Narrow(notice);
    ASSERT_NO_FATAL_FAILURE(Answer(incomplete, L"OK"));

    // The completion page says first that not everything was installed.
    ASSERT_TRUE(wizard->WaitForPage(defaultTitle::bye, {L"ZzNext"})) << wizard->Describe();
    EXPECT_TRUE(wizard->Shows(L"ZzCompletedInPart\nZz2\n\nThe setup has been completed!"))
        << wizard->Describe();
    SweepWindows();
    ASSERT_TRUE(wizard->Press(L"ZzNext"));
    ASSERT_TRUE(wizard->WaitForPage(defaultTitle::reboot, {L"ZzBack", L"ZzFinish"})) << wizard->Describe();
    SweepWindows();
    ASSERT_TRUE(wizard->Click(L"ZzRebootLater"));
    ASSERT_TRUE(WaitUntil([&] {
        auto later = FindControl(wizard->Window(), L"ZzRebootLater");
        return later && later->IsChecked();
    }));
    ASSERT_TRUE(wizard->Press(L"ZzFinish"));
    ASSERT_TRUE(wizard->Process().WaitForExit());

    for (const SetupRule *rule : TextRules())
        EXPECT_TRUE(Seen(L"Zz" + Widen(rule->key))) << rule->key << " was never shown";
}

// A package made by `tsa new --language`, walked by keyboard under the system code page of its
// language: every piece of chrome is in that language, and a screenshot of each page is kept in
// the build folder's screenshots/LANGUAGE.
struct LanguageCase {
    int codePage;
    const char *language;
    std::wstring name;   // the application's, in the language
    std::wstring folder; // a top-level folder of the application, so a component of that name
    const char *locale;
};

const LanguageCase languageCases[] = {
    {1252, "en", L"Photo Album", L"Help", "en_US.UTF-8"},
    {1251, "ru", L"\u0424\u043e\u0442\u043e\u0430\u043b\u044c\u0431\u043e\u043c",
     L"\u0421\u043f\u0440\u0430\u0432\u043a\u0430", "ru_RU.UTF-8"},
    {932, "ja", L"\u30d5\u30a9\u30c8\u30a2\u30eb\u30d0\u30e0", L"\u30d8\u30eb\u30d7", "ja_JP.UTF-8"},
    {936, "zh-CN", L"\u76f8\u518c", L"\u5e2e\u52a9", "zh_CN.UTF-8"},
};

bool HoldsLatinLetter(const std::wstring &text)
{
    for (wchar_t c : text)
        if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z')) return true;
    return false;
}

std::wstring Quoted(const std::wstring &text)
{
    return L"\"" + text + L"\"";
}

class Language : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const LanguageCase &candidate : languageCases)
            if (candidate.codePage == static_cast<int>(GetACP())) words = &candidate;
        if (words == nullptr) GTEST_SKIP() << "no language for code page " << GetACP();
        shots = ProgramFolder() + L"..\\screenshots\\" + Widen(words->language);
        CreateDirectoryW((ProgramFolder() + L"..\\screenshots").c_str(), nullptr);
        CreateDirectoryW(shots.c_str(), nullptr);
    }

    std::wstring Title(const wchar_t *section) const
    {
        wchar_t title[256] = {};
        GetPrivateProfileStringW(section, L"Title", L"", title, 256,
                                 work.PathOf(L"package\\setup.tsi").c_str());
        return title;
    }

    // Screenshot of the screen as it is, and every text of the chrome in the language: the window's
    // title, the visible buttons, labels and frames, and the box shown, if any (not its buttons,
    // which are the system's, nor the destination, a path).
    void Look(const std::wstring &name, const MessageBoxInfo *box = nullptr)
    {
        WaitForStillScreen(ScreenRect(), 3000);
        std::wstring file = shots + L"\\" + name + L".bmp";
        EXPECT_TRUE(SaveScreenshot(file)) << Narrow(file);
        std::vector<std::wstring> chrome = {WindowText(wizard->Window())};
        // The title bar's close button draws a cross; its window text is only a name for tools.
        for (const Control &control : Controls(wizard->Window()))
            if (control.visible && !control.IsEdit() && ClassName(control.parent) != L"LumoraTitlebar")
                chrome.push_back(control.text);
        if (box) chrome.insert(chrome.end(), {box->caption, box->text});
        if (std::string(words->language) == "en") return;
        for (const std::wstring &text : chrome)
            EXPECT_FALSE(HoldsLatinLetter(text)) << Narrow(name) << ": " << Narrow(Quoted(text));
    }

    void Enter(const std::wstring &title)
    {
        ASSERT_TRUE(PressKey(wizard->Window(), VK_RETURN));
        ASSERT_TRUE(wizard->WaitForTitle(title, 120000)) << wizard->Describe();
    }

    const LanguageCase *words = nullptr;
    std::wstring shots;
    TempFolder work{L"setup-language"};
    std::unique_ptr<WizardSession> wizard;
};

TEST_F(Language, PackageMadeByTsaNewSpeaksItOnEveryPage)
{
    ASSERT_TRUE(work.WriteFile(L"app\\album.exe", "MZ"));
    ASSERT_TRUE(work.WriteFile(L"app\\" + words->folder + L"\\readme.txt", "read me"));
    StartOptions tsa;
    tsa.program = ProgramFolder() + L"tsa.exe";
    tsa.arguments = L"new --language " + Widen(words->language) + L" --code-page " +
                    std::to_wstring(words->codePage) + L" --version 2.0 --runtime \"" +
                    ProgramFolder().substr(0, ProgramFolder().size() - 1) + L"\" \"" + words->name +
                    L"\" \"" + work.PathOf(L"app") + L"\" \"" + work.PathOf(L"package") + L"\"";
    tsa.stderrFile = work.PathOf(L"tsa.log");
    Process made(tsa);
    DWORD status = 1;
    ASSERT_TRUE(made.WaitForExit(120000, &status)) << Narrow(made.Error());
    ASSERT_EQ(status, 0u) << work.ReadFile(L"tsa.log").value_or("");

    StartOptions setup;
    setup.program = work.PathOf(L"package\\setup.exe");
    setup.workingDirectory = work.PathOf(L"package");
    wizard = std::make_unique<WizardSession>(setup);
    ASSERT_TRUE(wizard->Open(Title(L"Introduction"))) << Narrow(wizard->Process().Error());
    ASSERT_NO_FATAL_FAILURE(Look(L"01-introduction"));

    ASSERT_TRUE(PressKey(wizard->Window(), VK_ESCAPE));
    std::optional<MessageBoxInfo> box = WaitForMessageBox(wizard->Pid());
    ASSERT_TRUE(box.has_value()) << wizard->Describe();
    ASSERT_NO_FATAL_FAILURE(Look(L"02-cancel-question", &*box));
    ASSERT_EQ(box->buttons.size(), 2u);
    ASSERT_TRUE(PressButton(*box, box->buttons[1])) << "the second button is No";
    ASSERT_TRUE(WaitForWindowGone(box->hwnd));
    // A key pressed before the focus is back would go to the box on its way out.
    ASSERT_TRUE(WaitUntil([&] {
        HWND focused = FocusedControl(wizard->Window());
        return focused && GetAncestor(focused, GA_ROOT) == wizard->Window();
    })) << wizard->Describe();

    ASSERT_NO_FATAL_FAILURE(Enter(Title(L"Directory")));
    ASSERT_TRUE(wizard->SetDestination(work.PathOf(L"installed")));
    ASSERT_NO_FATAL_FAILURE(Look(L"03-directory"));
    ASSERT_NO_FATAL_FAILURE(Enter(Title(L"Components")));
    EXPECT_TRUE(wizard->Shows(words->folder)) << wizard->Describe();
    ASSERT_NO_FATAL_FAILURE(Look(L"04-components"));
    ASSERT_NO_FATAL_FAILURE(Enter(Title(L"Summary")));
    ASSERT_NO_FATAL_FAILURE(Look(L"05-summary"));
    ASSERT_NO_FATAL_FAILURE(Enter(Title(L"Bye")));
    ASSERT_NO_FATAL_FAILURE(Look(L"06-bye"));
    EXPECT_TRUE(work.FileExists(L"installed\\" + words->folder + L"\\readme.txt"));
    ASSERT_TRUE(PressKey(wizard->Window(), VK_RETURN));
    ASSERT_TRUE(wizard->Process().WaitForExit()) << "Finish ends Setup";
    wchar_t programs[MAX_PATH] = {};
    if (SHGetSpecialFolderPathW(nullptr, programs, CSIDL_PROGRAMS, FALSE))
        RemoveTree(std::wstring(programs) + L"\\" + words->name);
}

} // namespace
