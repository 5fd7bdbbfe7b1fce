// One setup.tsi read by the installation and by `tsa check`: what the check says the installation
// writes is what the engine writes when it executes the model's plan, refusals included.
#include "install/installation_worker.h"
#include "package/path_rules.h"
#include "package/plan_reader.h"
#include "test_support.h"
#include "tools/package_check.h"
#include "tools/package_files.h"
#include "tools/profile_file.h"

#include <algorithm>

namespace {

std::string Utf8Of(const lumora::String &text)
{
    return lumora::Utf8FromWide(static_cast<const wchar_t *>(text));
}

// Components 3 and 4 are refused for their folders, link 3 for its name; link 2 starts a file
// beside the destination and every link lies two levels below the Programs folder.
const std::string sharedSetup =
    "[Dialogs]\r\nLicense=0\r\n"
    "[Component Setup]\r\nNumberOfComponents=4\r\nCopyLUMORA=1\r\n"
    "1=Program\r\n2=Docs\r\n3=Device\r\n4=Climber\r\n"
    "[Component Files]\r\n1=program.tsa\r\n2=docs.tsa\r\n3=docs.tsa\r\n4=docs.tsa\r\n"
    "[Component Subdirs]\r\n2=docs\\deeper\r\n3=aux\r\n4=..\\beside\r\n"
    "[Startmenu Links]\r\nNumberOfLinks=5\r\nStartmenuDirectory=Quorvell\\Demo\r\n"
    "Component1=1\r\nName1=Readme\r\nFile1=readme.txt\r\n"
    "Component2=2\r\nName2=Common tool\r\nFile2=..\\Common\\tool.exe\r\n"
    "Component3=1\r\nName3=Read|me\r\nFile3=readme.txt\r\n"
    "Component4=4\r\nName4=Climbed\r\nFile4=x.txt\r\n"
    "Component5=9\r\nName5=Nowhere\r\nFile5=x.txt\r\n";

class SharedPlan : public ScratchTest {
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        WriteBytes("setup.tsi", sharedSetup);
        WriteBytes("program.tsa",
                   ArchiveBytes({GroupBytes({{"readme.txt", "read me"}, {"bin/tool.exe", "MZ"}})}));
        WriteBytes("docs.tsa", ArchiveBytes({GroupBytes({{"help/index.html", "<p>"}})}));
        WriteBytes("lumora.dll", "MZ library");
    }

    // What the installation does, the Start menu's links as the link maker is handed them.
    std::vector<std::string> Install(InstallReport &report)
    {
        ProfileFile file(ReadBytes("setup.tsi"));
        InstallationPlan plan = ReadInstallationPlan(file, PathText(target), 4, [](int) { return true; });
        std::vector<std::string> written;
        RecordingProgress progress;
        InstallPlan(
            plan, progress, report,
            [&](const std::vector<LinkPlan> &links, const lumora::String &, InstallReport &linkReport) {
                for (const LinkPlan &link : links) {
                    if (link.nameRefusal.Length() > 0) {
                        linkReport.AddFault(link.label, link.name,
                                            lumora::String("the name ") + link.nameRefusal);
                        continue;
                    }
                    written.push_back(
                        "link: " +
                        lumora::Utf8FromWide(JoinedPath(static_cast<const wchar_t *>(link.folder),
                                                        static_cast<const wchar_t *>(link.name))) +
                        " -> " + Utf8Of(link.target));
                }
            });
        for (const std::string &file : FilesBelow(target)) {
            std::string path = file;
            std::replace(path.begin(), path.end(), '/', '\\');
            written.push_back("file: " + path);
        }
        return written;
    }
};

TEST_F(SharedPlan, TheCheckListsWhatTheInstallationWrites)
{
    std::vector<std::wstring> listed;
    std::vector<Finding> findings = CheckPackage(root, CheckOptions(), &listed);
    std::vector<std::string> promised;
    for (const std::wstring &line : listed) promised.push_back(lumora::Utf8FromWide(line));

    InstallReport report;
    std::vector<std::string> written = Install(report);
    std::sort(promised.begin(), promised.end());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, promised);
    EXPECT_EQ(promised,
              (std::vector<std::string>{"file: bin\\tool.exe", "file: docs\\deeper\\help\\index.html",
                                        "file: lumora.dll", "file: readme.txt",
                                        "link: Quorvell\\Demo\\Common tool.lnk -> ..\\Common\\tool.exe",
                                        "link: Quorvell\\Demo\\Readme.lnk -> readme.txt"}));

    // Each refusal the installation's notice gives is an error of the check, for the same reason.
    ASSERT_EQ(report.FaultCount(), 3) << Utf8Of(report.Summary());
    std::vector<std::string> errors;
    for (const Finding &finding : findings)
        if (finding.severity == Severity::error) errors.push_back(FindingLine(finding));
    ASSERT_EQ(errors.size(), 4u) << ::testing::PrintToString(errors);
    for (int k = 0; k < 3; ++k) {
        std::string what = Utf8Of(report.Fault(k).what);
        size_t start = std::min(what.find("is not a name"), what.find("would lie"));
        ASSERT_NE(start, std::string::npos) << what;
        std::string reason = what.substr(start, what.find(')', start) + 1 - start);
        EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [&](const std::string &error) {
            return error.find(reason) != std::string::npos;
        })) << what;
    }
    EXPECT_NE(Utf8Of(report.Fault(0).what).find("is not a name Windows allows (the name is a device name)"),
              std::string::npos);
    EXPECT_NE(Utf8Of(report.Fault(1).what).find("would lie outside the destination"), std::string::npos);
}

struct RefusalCase {
    const char *value;
    const char *refusal; // "" for a value that is taken
};

class FolderRefusal : public ::testing::TestWithParam<RefusalCase> {};

// Only a way out is called one; a name Windows does not allow is called that, even where it holds
// a way out too far along to matter first.
TEST_P(FolderRefusal, SaysTheTrueReason)
{
    std::string refusal = Utf8Of(Refusal(GetParam().value, "the destination"));
    EXPECT_EQ(refusal.substr(0, std::string(GetParam().refusal).size()), GetParam().refusal) << refusal;
    EXPECT_EQ(refusal.empty(), *GetParam().refusal == '\0') << refusal;
}

INSTANTIATE_TEST_SUITE_P(
    Values, FolderRefusal,
    ::testing::Values(RefusalCase{"Vendor\\App", ""}, RefusalCase{"docs/", ""}, RefusalCase{".", ""},
                      RefusalCase{"", ""}, RefusalCase{"..\\x", "would lie outside the destination"},
                      RefusalCase{"a\\..\\..\\x", "would lie outside the destination"},
                      RefusalCase{".. \\x", "would lie outside the destination"},
                      RefusalCase{"C:\\x", "would lie outside the destination"},
                      RefusalCase{"c:x", "would lie outside the destination"},
                      RefusalCase{"\\x", "would lie outside the destination"},
                      RefusalCase{"a|b\\..\\..", "would lie outside the destination"},
                      RefusalCase{"LPT1.txt", "is not a name Windows allows (the name is a device name)"},
                      RefusalCase{"a<b", "is not a name Windows allows"},
                      RefusalCase{"a\"b", "is not a name"}, RefusalCase{"a?b", "is not a name"},
                      RefusalCase{"a*b", "is not a name"}, RefusalCase{"a>b", "is not a name"},
                      RefusalCase{"a\tb", "is not a name"},
                      RefusalCase{"ab:c", "is not a name Windows allows (the name holds a colon)"},
                      RefusalCase{"x\\...", "is not a name Windows allows (the name has a level of dots"},
                      RefusalCase{"x\\ ", "is not a name Windows allows"}),
    [](const ::testing::TestParamInfo<RefusalCase> &info) { return "Case" + std::to_string(info.index); });

// The notice of an incomplete installation and the total bar must agree: a whole run ends at
// 100 although the formula of the last step can give 99, and a run that lacks something does not.
struct EndCase {
    const char *label;
    int components;
    bool lastChosen;
    bool missingArchive;
    int lastValue;
};

class TotalBarAtTheEnd : public ScratchTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(TotalBarAtTheEnd, ReachesHundredOnlyWhenEverythingWasInstalled)
{
    const EndCase &param = GetParam();
    InstallationPlan plan;
    plan.destination = PathText(target);
    plan.componentCount = param.components;
    for (int number = 1; number <= param.components; ++number) {
        if (number == param.components && !param.lastChosen) continue;
        std::string archive = "c" + std::to_string(number) + ".tsa";
        if (!(param.missingArchive && number == 1))
            WriteBytes(archive, ArchiveBytes({GroupBytes({{"f" + std::to_string(number), "x"}})}));
        ComponentPlan component;
        component.number = number;
        component.archive = archive.c_str();
        component.folder = ".";
        plan.components.push_back(component);
    }
    RecordingProgress progress;
    InstallReport report;
    InstallPlan(plan, progress, report,
                [](const std::vector<LinkPlan> &, const lumora::String &, InstallReport &) {});
    ASSERT_FALSE(progress.totalValues.empty());
    EXPECT_EQ(progress.totalValues.back(), param.lastValue);
}

INSTANTIATE_TEST_SUITE_P(Runs, TotalBarAtTheEnd,
                         ::testing::Values(EndCase{"ThirtySixOfThirtySix", 36, true, false, 100},
                                           EndCase{"TwentyThreeOfTwentyThree", 23, true, false, 100},
                                           EndCase{"LastOneLeftOut", 36, false, false, 97},
                                           EndCase{"AnArchiveMissing", 36, true, true, 99}),
                         [](const ::testing::TestParamInfo<EndCase> &info) {
                             return std::string(info.param.label);
                         });

} // namespace
