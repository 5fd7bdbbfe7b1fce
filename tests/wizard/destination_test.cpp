// The Directory page's default destination: the registry's Program Files directory, a
// backslash and DirName, joined as written; and Browse, which a cancel leaves without effect.
#include "tests/common/wizard_session.h"

#include <gtest/gtest.h>

using namespace setuptest;

namespace {

const wchar_t currentVersionKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

enum class Kind { Text, Number, Missing };

// Gives ProgramFilesDir another value, another type or none in one registry view for one
// test, and puts the prefix's own value back afterwards.
class ScopedProgramFilesDirView {
public:
    ScopedProgramFilesDirView(Kind kind, const std::wstring &text, REGSAM view)
    {
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, currentVersionKey, 0, nullptr, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE | view, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = 0;
        if (RegQueryValueExW(key, L"ProgramFilesDir", nullptr, &oldType, nullptr, &size) == ERROR_SUCCESS) {
            oldData.resize(size);
            hadValue = RegQueryValueExW(key, L"ProgramFilesDir", nullptr, &oldType, oldData.data(), &size) ==
                       ERROR_SUCCESS;
        }
        LONG result = ERROR_SUCCESS;
        if (kind == Kind::Text) {
            result = RegSetValueExW(key, L"ProgramFilesDir", 0, REG_SZ,
                                    reinterpret_cast<const BYTE *>(text.c_str()),
                                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        } else if (kind == Kind::Number) {
            DWORD number = 42;
            result = RegSetValueExW(key, L"ProgramFilesDir", 0, REG_DWORD,
                                    reinterpret_cast<const BYTE *>(&number), sizeof(number));
        } else if (hadValue) {
            result = RegDeleteValueW(key, L"ProgramFilesDir");
        }
        ready = result == ERROR_SUCCESS;
    }

    ~ScopedProgramFilesDirView()
    {
        if (!key) return;
        if (hadValue)
            RegSetValueExW(key, L"ProgramFilesDir", 0, oldType, oldData.data(),
                           static_cast<DWORD>(oldData.size()));
        else
            RegDeleteValueW(key, L"ProgramFilesDir");
        RegCloseKey(key);
    }

    ScopedProgramFilesDirView(const ScopedProgramFilesDirView &) = delete;
    ScopedProgramFilesDirView &operator=(const ScopedProgramFilesDirView &) = delete;
    bool Ready() const { return ready; }

private:
    HKEY key = nullptr;
    bool ready = false;
    bool hadValue = false;
    DWORD oldType = 0;
    std::vector<BYTE> oldData;
};

// Both views: a 32-bit setup.exe reads the 32-bit one, a 64-bit build the other.
struct ScopedProgramFilesDir {
    ScopedProgramFilesDir(Kind kind, const std::wstring &text)
        : view32(kind, text, KEY_WOW64_32KEY), view64(kind, text, KEY_WOW64_64KEY)
    {
    }
    bool Ready() const { return view32.Ready() && view64.Ready(); }

    ScopedProgramFilesDirView view32;
    ScopedProgramFilesDirView view64;
};

const std::string directoryFirst =
    "[Setup]\nDisplayBackgroundWindow=0\n[Dialogs]\nIntroduction=0\nLicense=0\n";

std::optional<uidriver::Control> DestinationBox(const WizardSession &session)
{
    for (const uidriver::Control &control : session.Controls())
        if (control.IsEdit() && !(control.style & ES_MULTILINE)) return control;
    return std::nullopt;
}

struct DestinationCase {
    const char *name;
    Kind kind;
    std::wstring programFiles;
    std::string dirNameLine;
    bool eightBit;
    std::wstring destination;
};

void PrintTo(const DestinationCase &test, std::ostream *out)
{
    *out << test.name;
}

class DefaultDestination : public testing::TestWithParam<DestinationCase> {};

TEST_P(DefaultDestination, IsProgramFilesBackslashDirName)
{
    const DestinationCase &test = GetParam();
    ScopedProgramFilesDir programFiles(test.kind, test.programFiles);
    ASSERT_TRUE(programFiles.Ready());
    PackagedSession session(directoryFirst + "[Directory]\n" + test.dirNameLine,
                            L"Select destination directory", test.eightBit);
    ASSERT_NE(session.Window(), nullptr) << session.Describe();

    std::optional<uidriver::Control> box = DestinationBox(session);
    ASSERT_TRUE(box.has_value()) << session.Describe();
    EXPECT_EQ(box->text, test.destination) << uidriver::Narrow(box->text);
    EXPECT_TRUE(box->visible);
    EXPECT_TRUE(box->enabled && !box->readOnly);
    RECT r = session.InLayer(*box);
    EXPECT_EQ(r.left, 149);
    EXPECT_EQ(r.top, 241);
    EXPECT_EQ(r.right - r.left, 220);

    std::optional<uidriver::Control> browse = uidriver::FindControl(session.Window(), L"Browse");
    ASSERT_TRUE(browse.has_value());
    EXPECT_EQ(session.InLayer(*browse).left, 377);
    EXPECT_EQ(session.InLayer(*browse).top, 240);
    std::optional<uidriver::Control> group =
        uidriver::FindControl(session.Window(), L"Destination Directory");
    ASSERT_TRUE(group.has_value());
    RECT g = session.InLayer(*group);
    EXPECT_EQ(g.left, 139);
    EXPECT_EQ(g.top, 228);
    EXPECT_EQ(g.right - g.left, 328);
    EXPECT_EQ(g.bottom - g.top, 43);
}

const DestinationCase destinationCases[] = {
    {"NoDirNameKeepsTrailingBackslash", Kind::Text, L"D:\\Programs", "", false, L"D:\\Programs\\"},
    {"DirNameAfterOneBackslash", Kind::Text, L"D:\\Programs", "DirName=Acme Tool\n", false,
     L"D:\\Programs\\Acme Tool"},
    {"LeadingBackslashGivesTwo", Kind::Text, L"D:\\Programs", "DirName=\\Acme\n", false,
     L"D:\\Programs\\\\Acme"},
    {"EightBitPath", Kind::Text, L"E:\\Apps", "DirName=Acme\n", true, L"E:\\Apps\\Acme"},
    {"MissingValueFallsBack", Kind::Missing, L"", "DirName=Acme\n", false, L"C:\\Program Files\\Acme"},
    {"MissingValueFallsBackOnEightBitPath", Kind::Missing, L"", "DirName=Acme\n", true,
     L"C:\\Program Files\\Acme"},
    {"NumberValueFallsBack", Kind::Number, L"", "DirName=Acme\n", false, L"C:\\Program Files\\Acme"},
    {"EmptyValueFallsBack", Kind::Text, L"", "DirName=Acme\n", false, L"C:\\Program Files\\Acme"},
};

INSTANTIATE_TEST_SUITE_P(Wizard, DefaultDestination, testing::ValuesIn(destinationCases),
                         [](const testing::TestParamInfo<DestinationCase> &info) { return info.param.name; });

TEST(Browse, ShowsItsCaptionAndCancelKeepsTypedText)
{
    PackagedSession session(directoryFirst, L"Select destination directory");
    ASSERT_NE(session.Window(), nullptr) << session.Describe();
    std::optional<uidriver::Control> box = DestinationBox(session);
    ASSERT_TRUE(box.has_value()) << session.Describe();
    ASSERT_TRUE(uidriver::SetEditText(box->hwnd, L"F:\\Typed by hand"));

    ASSERT_TRUE(uidriver::ClickButton(session.Window(), L"Browse"));
    HWND dialog = nullptr;
    ASSERT_TRUE(uidriver::WaitUntil([&] {
        return (dialog = uidriver::FindDialog(session.Process().Pid())) != nullptr;
    })) << "no folder dialog";
    bool captionShown = false;
    ASSERT_TRUE(uidriver::WaitUntil(
        [&] {
            for (const uidriver::Control &control : uidriver::Controls(dialog))
                if (Lines(control.text) == L"\nSelect the folder in which the program will be installed:")
                    captionShown = true;
            return captionShown;
        },
        5000))
        << uidriver::DumpControls(dialog);

    ASSERT_TRUE(uidriver::PressButton(uidriver::ReadMessageBox(dialog), L"Cancel"))
        << uidriver::DumpControls(dialog);
    ASSERT_TRUE(uidriver::WaitForWindowGone(dialog));
    uidriver::Control last;
    EXPECT_TRUE(uidriver::WaitForControlState(
        box->hwnd, [](const uidriver::Control &control) { return control.text == L"F:\\Typed by hand"; },
        3000, &last))
        << uidriver::Narrow(last.text);
}

} // namespace
