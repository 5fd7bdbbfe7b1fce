// `tsa check`: a sound package gives no finding; each fault gives exactly its own finding.
#include "test_support.h"
#include "tools/package_check.h"

#include <functional>

namespace {

// Line by line, so the findings' line numbers can be read off.
const std::string soundSetup = "[Dialogs]\r\n"                     // 1
                               "License=0\r\n"                     // 2
                               "[Directory]\r\n"                   // 3
                               "DirName=Demo\r\n"                  // 4
                               "[Component Setup]\r\n"             // 5
                               "NumberOfComponents=2\r\n"          // 6
                               "1=Program\r\n"                     // 7
                               "2=Docs\r\n"                        // 8
                               "[Component Files]\r\n"             // 9
                               "1=program.tsa\r\n"                 // 10
                               "2=docs.tsa\r\n"                    // 11
                               "[Component Subdirs]\r\n"           // 12
                               "2=docs\r\n"                        // 13
                               "[Startmenu Links]\r\n"             // 14
                               "NumberOfLinks=2\r\n"               // 15
                               "StartmenuDirectory=Demo\r\n"       // 16
                               "Component1=1\r\n"                  // 17
                               "Name1=Readme\r\n"                  // 18
                               "File1=readme.TXT\r\n"              // 19
                               "Component2=2\r\n"                  // 20
                               "Name2=Help\r\n"                    // 21
                               "File2=Docs\\Help\\Index.html\r\n"; // 22

std::string Replaced(const std::string &text, const std::string &from, const std::string &to)
{
    std::string result = text;
    size_t at = result.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) result.replace(at, from.size(), to);
    return result;
}

class PackageCheckTest : public ScratchTest {
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        fs::create_directory("package");
        Write("setup.tsi", soundSetup);
        Write("program.tsa", ArchiveBytes({GroupBytes({{"README.txt", "read me"}, {"bin/tool.exe", "MZ"}})}));
        Write("docs.tsa", ArchiveBytes({GroupBytes({{"help/index.html", "<p>"}})}));
    }

    static void Write(const std::string &name, const std::string &bytes)
    {
        WriteBytes("package/" + name, bytes);
    }

    static std::vector<std::string> Lines()
    {
        std::vector<std::string> lines;
        for (const Finding &finding : CheckPackage("package")) lines.push_back(FindingLine(finding));
        return lines;
    }
};

TEST_F(PackageCheckTest, SoundPackageHasNoFinding)
{
    EXPECT_EQ(Lines(), std::vector<std::string>());
}

TEST_F(PackageCheckTest, FolderWithoutSetupFileIsOneError)
{
    fs::remove("package/setup.tsi");
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"error: setup.tsi: is not in the package folder; Setup would show "
                                        "its default pages and install nothing"}));
}

struct CheckCase {
    const char *label;
    std::function<void()> spoil; // turns the sound package into this case's one
    std::vector<std::string> expected;
};

class PackageFault : public PackageCheckTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(PackageFault, GivesExactlyItsFindings)
{
    GetParam().spoil();
    EXPECT_EQ(Lines(), GetParam().expected);
}

void Configure(const std::string &from, const std::string &to)
{
    WriteBytes("package/setup.tsi", Replaced(soundSetup, from, to));
}

void Docs(const std::vector<RawFile> &files)
{
    WriteBytes("package/docs.tsa", ArchiveBytes({GroupBytes(files)}));
}

// `count` components, each with an archive of one file of its own, and the count as written.
void ManyComponents(int count, const std::string &countText = "")
{
    std::string setup = "[Dialogs]\r\nLicense=0\r\n[Component Setup]\r\nNumberOfComponents=" +
                        (countText.empty() ? std::to_string(count) : countText) + "\r\n[Component Files]\r\n";
    for (int k = 1; k <= count; ++k) {
        setup += std::to_string(k) + "=c" + std::to_string(k) + ".tsa\r\n";
        WriteBytes("package/c" + std::to_string(k) + ".tsa",
                   ArchiveBytes({GroupBytes({{"f" + std::to_string(k), "x"}})}));
    }
    WriteBytes("package/setup.tsi", setup);
}

std::string DamagedStream()
{
    std::string stream = Bzip2("<p>");
    stream[stream.size() - 2] = static_cast<char>(stream[stream.size() - 2] ^ 0x10);
    return ArchiveBytes({GroupBytes({{"help/index.html", "<p>"}}, stream, 3)});
}

const std::string longName(240, 'n');

INSTANTIATE_TEST_SUITE_P(
    Errors, PackageFault,
    ::testing::Values(
        CheckCase{"NoPageEnabled",
                  [] {
                      Configure("License=0\r\n",
                                "Introduction=0\r\nLicense=0\r\nDirectory=0\r\nComponents=0\r\n"
                                "Summary=0\r\nBye=0\r\nReboot=0\r\n");
                  },
                  {"error: [Dialogs] (line 1): every page is switched off; Setup shows a notice and stops"}},
        CheckCase{
            "ArchiveMissing",
            [] { fs::remove("package/docs.tsa"); },
            {"error: [Component Files] 2 (line 11): the archive \"docs.tsa\" is not in the package folder"}},
        CheckCase{"DefaultArchiveMissing",
                  [] { Configure("2=docs.tsa\r\n", ""); },
                  {"error: [Component Files] 2: the archive \"data.tsa\", the default, is not in the package "
                   "folder"}},
        CheckCase{"ArchiveDamaged",
                  [] { WriteBytes("package/docs.tsa", DamagedStream()); },
                  {"error: docs.tsa: group 1: its compressed data is damaged (bzip2 CRC or data error)"}},
        CheckCase{
            "EntryRefused",
            [] {
                Docs({{"help/index.html", "<p>"}, {"help/CON.txt", ""}});
            },
            {"error: docs.tsa: help/CON.txt: the installer refuses this name: the name is a device name"}},
        CheckCase{"EntriesDifferingInCaseOnly",
                  [] {
                      Docs({{"help/index.html", "<p>"}, {"Help/Index.HTML", ""}});
                  },
                  {"error: docs.tsa: Help/Index.HTML: differs only in letter case from \"help/index.html\"; "
                   "Windows "
                   "writes both to one file"}},
        CheckCase{
            "LinkWithoutComponent",
            [] { Configure("Component1=1\r\n", ""); },
            {"error: [Startmenu Links] Component1: is missing, so link 1 belongs to no component and is not "
             "made"}},
        CheckCase{
            "LinkToComponentOutsideTheCount",
            [] { Configure("Component1=1\r\n", "Component1=3\r\n"); },
            {"error: [Startmenu Links] Component1 (line 17): names component 3, outside 1 to 2, so link 1 is "
             "not made"}},
        CheckCase{"LinkToAFileOfAnotherComponent",
                  [] { Configure("File1=readme.TXT", "File1=docs\\help\\index.html"); },
                  {"error: [Startmenu Links] File1 (line 19): \"docs\\help\\index.html\" is not installed by "
                   "component 1 (\"Program\")"}},
        CheckCase{
            "LinkToAFileOutsideTheSubfolder",
            [] { Configure("File2=Docs\\", "File2="); },
            {"error: [Startmenu Links] File2 (line 22): \"Help\\Index.html\" is not installed by component 2 "
             "(\"Docs\")"}},
        CheckCase{
            "LicencePageWithoutLicenceFile",
            [] { Configure("License=0", "License=1"); },
            {"error: [License] LicenseFile: names no licence file, so the License page shows an empty box"}},
        CheckCase{
            "LicenceFileMissing",
            [] { Configure("License=0\r\n", "License=1\r\n[License]\r\nLicenseFile=eula.txt\r\n"); },
            {"error: [License] LicenseFile (line 4): the licence file \"eula.txt\" is not in the package "
             "folder"}},
        CheckCase{"LibraryCopyWithoutLibrary",
                  [] { Configure("2=Docs\r\n", "2=Docs\r\nCopyLUMORA=1\r\n"); },
                  {"error: [Component Setup] CopyLUMORA (line 9): asks for lumora.dll to be copied, but the "
                   "package "
                   "folder holds none"}},
        CheckCase{
            "ValueCut",
            [] { Configure("1=Program", "1=" + std::string(300, 'P')); },
            {"error: [Component Setup] 1 (line 7): the value is 300 characters long; the program reads only "
             "its first 255"}},
        CheckCase{
            "SubfolderOutsideTheDestination",
            [] { Configure("2=docs\r\n", "2=..\\docs\r\n"); },
            {"error: [Component Subdirs] 2 (line 13): \"..\\docs\" would lie outside the destination (the "
             "name has a \"..\" level and would leave the target directory); Setup does not install this "
             "component"}},
        // A name Windows does not allow is refused for what it is, not as a way out.
        CheckCase{"SubfolderNamedForADevice",
                  [] { Configure("2=docs\r\n", "2=docs\\CON\r\n"); },
                  {"error: [Component Subdirs] 2 (line 13): \"docs\\CON\" is not a name Windows allows (the "
                   "name is a device name); Setup does not install this component"}},
        CheckCase{"SubfolderOfDotsOnly",
                  [] { Configure("2=docs\r\n", "2=...\r\n"); },
                  {"error: [Component Subdirs] 2 (line 13): \"...\" is not a name Windows allows (the name "
                   "has a level of dots and spaces only); Setup does not install this component"}},
        CheckCase{
            "LinkFolderOutsideTheStartMenu",
            [] { Configure("StartmenuDirectory=Demo", "StartmenuDirectory=..\\..\\Startup"); },
            {"error: [Startmenu Links] StartmenuDirectory (line 16): \"..\\..\\Startup\" would lie "
             "outside the Start menu's Programs folder (the name has a \"..\" level and would leave the "
             "target directory); Setup makes none of the links"}},
        CheckCase{
            "RefusedCharactersInLinkNames",
            [] {
                WriteBytes("package/setup.tsi",
                           Replaced(Replaced(soundSetup, "=Demo\r\nComp", "=De|mo\r\nComp"), "Name1=Readme",
                                    "Name1=Read?me"));
            },
            {"error: [Startmenu Links] StartmenuDirectory (line 16): \"De|mo\" is not a name Windows allows "
             "(the name holds a character Windows allows in no file name); Setup makes none of the links",
             "error: [Startmenu Links] Name1 (line 18): \"Read?me\" is not a name Windows allows (the name "
             "holds a character Windows allows in no file name); Setup does not make the link"}},
        CheckCase{
            "LinkTargetWithADrive",
            [] { Configure("File1=readme.TXT", "File1=C:\\tool.exe"); },
            {"error: [Startmenu Links] File1 (line 19): \"C:\\tool.exe\" names no file once joined to "
             "the destination: the name starts with a drive and would leave the target directory; link 1 "
             "starts nothing"}},
        CheckCase{"ComponentCountFarBeyondItsKeys",
                  [] { ManyComponents(3, "40"); },
                  {"error: [Component Setup] NumberOfComponents (line 4): is 40, but the keys describe only "
                   "components 1 to 3; Setup calls the package damaged and stops"}},
        CheckCase{
            "ComponentCountBeyondThirtyTwoBits",
            [] { ManyComponents(3, "99999999999"); },
            {"error: [Component Setup] NumberOfComponents (line 4): is 99999999999, but the keys describe "
             "only components 1 to 3; Setup calls the package damaged and stops"}},
        CheckCase{"EmptySubfolderIsTheDestination",
                  [] { Configure("2=docs\r\n", "2=\r\n"); },
                  {"error: [Startmenu Links] File2 (line 22): \"Docs\\Help\\Index.html\" is not installed by "
                   "component 2 (\"Docs\")"}},
        CheckCase{"FileWhereAFolderIsNeeded",
                  [] {
                      Docs({{"help/index.html", "<p>"}, {"Help", ""}});
                  },
                  {"error: docs.tsa: Help: is a file where other entries need a folder of that name; Windows "
                   "cannot "
                   "hold both"}},
        CheckCase{
            "MoreLinksThanDescribed",
            [] { Configure("NumberOfLinks=2", "NumberOfLinks=4"); },
            {"error: [Startmenu Links] NumberOfLinks (line 15): is 4, but only links 1 to 2 are described; "
             "the others belong to no component and are not made"}}),
    [](const ::testing::TestParamInfo<CheckCase> &info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Warnings, PackageFault,
    ::testing::Values(
        CheckCase{"TwelveComponentsAreAllOffered", [] { ManyComponents(12); }, {}},
        CheckCase{"AHundredAndOneComponentsAreAllOffered", [] { ManyComponents(101); }, {}},
        CheckCase{
            "CountMissing",
            [] { WriteBytes("package/setup.tsi", "[Dialogs]\r\nLicense=0\r\n"); },
            {"warning: [Component Setup] NumberOfComponents: is missing: the wizard offers one component, "
             "\"Main program\", but the installation installs none"}},
        CheckCase{
            "TextsWiderThanTheirControls",
            [] {
                WriteBytes("package/setup.tsi",
                           soundSetup + "[Texts]\r\nNext=Continue please\r\nCancel=Stop\r\nRebootLater=" +
                               std::string(47, 'L') + "\r\nExitQuestion=" + std::string(200, 'Q') +
                               "\\nA second line\r\n");
            },
            {"warning: [Texts] Next (line 24): \"Continue please\" needs the room of about 15 characters, "
             "more than the 11 of the Next button; it may be cut off",
             "warning: [Texts] RebootLater (line 26): \"" + std::string(47, 'L') +
                 "\" needs the room of about 47 characters, more than the 46 of the Reboot page's choice "
                 "to end without a restart; it may be cut off"}},
        CheckCase{"PageLinesBeyondWhatIsShown",
                  [] { Configure("[Directory]\r\n", "[Directory]\r\nLines=150\r\n"); },
                  {"warning: [Directory] Lines (line 4): is 150; a page shows at most 100 lines"}},
        CheckCase{
            "ComponentInstallsNothing",
            [] { Docs({}); },
            {"warning: [Component Files] 2 (line 11): component 2 (\"Docs\") installs nothing: \"docs.tsa\" "
             "holds no files",
             "error: [Startmenu Links] File2 (line 22): \"Docs\\Help\\Index.html\" is not installed by "
             "component 2 (\"Docs\")"}},
        CheckCase{
            "PathTooLong",
            [] {
                Docs({{"help/index.html", "<p>"}, {longName, ""}});
            },
            {"warning: docs.tsa: " + longName +
             ": below the default destination \"C:\\Program Files (x86)\\Demo\" its path is 273 characters "
             "long, more than the 259 Windows allows"}},
        // Every level of the Start menu folder is made, as for a component's folder; a link may start
        // a file beside the destination, since nothing is written there.
        CheckCase{"NestedStartMenuFolder",
                  [] { Configure("StartmenuDirectory=Demo", "StartmenuDirectory=Quorvell\\Demo"); },
                  {}},
        CheckCase{"LinkToAFileBesideTheDestination",
                  [] { Configure("File1=readme.TXT", "File1=..\\Common\\tool.exe"); },
                  {}},
        CheckCase{"TwoComponentsWriteOneFile",
                  [] {
                      Configure("2=docs\r\n", "2=.\r\n"), Docs({{"readme.txt", "x"}});
                  },
                  {"warning: docs.tsa: readme.txt: component 2 (\"Docs\") writes this file over the one of "
                   "component 1 (\"Program\")",
                   "error: [Startmenu Links] File2 (line 22): \"Docs\\Help\\Index.html\" is not installed by "
                   "component 2 (\"Docs\")"}},
        CheckCase{
            "KeyMisspelt",
            [] { Configure("NumberOfComponents=2\r\n", "NumberOfComponents=2\r\nNumberOfComponent=3\r\n"); },
            {"warning: [Component Setup] NumberOfComponent (line 7): is not read; did you mean "
             "NumberOfComponents?"}},
        CheckCase{"SectionMisspelt",
                  [] { Configure("[Dialogs]\r\n", "[Dialog]\r\nBye=0\r\n[Dialogs]\r\n"); },
                  {"warning: [Dialog] (line 1): this section is not read; did you mean [Dialogs]?"}},
        CheckCase{
            "KeyInTheWrongSection",
            [] { Configure("DirName=Demo\r\n", "DirName=Demo\r\nNumberOfLinks=1\r\n"); },
            {"warning: [Directory] NumberOfLinks (line 5): is not read in this section; the program reads "
             "NumberOfLinks in [Startmenu Links]"}},
        CheckCase{"NumberedKeyBeyondTheCount",
                  [] { Configure("2=Docs\r\n", "2=Docs\r\n3=Extras\r\n"); },
                  {"error: [Component Setup] 3 (line 9): component 3 is described, but never offered or "
                   "installed: NumberOfComponents is 2"}},
        CheckCase{"NumberWithALeadingZero",
                  [] { Configure("Name2=Help", "Name02=Help"); },
                  {"warning: [Startmenu Links] Name2: is missing, so the link file is called \".lnk\"",
                   "warning: [Startmenu Links] Name02 (line 21): is not read; did you mean Name2?"}},
        CheckCase{
            "SectionGivenTwice",
            [] {
                Configure("[Component Subdirs]\r\n",
                          "[Component Subdirs]\r\n[Dialogs]\r\nBye=0\r\n[Component Subdirs]\r\n");
            },
            {"error: [Startmenu Links] File2 (line 25): \"Docs\\Help\\Index.html\" is not installed by "
             "component 2 (\"Docs\")",
             "warning: [Dialogs] (line 13): the section appears again; the program reads only its first "
             "appearance, on line 1",
             "warning: [Component Subdirs] (line 15): the section appears again; the program reads only its "
             "first appearance, on line 12"}}),
    [](const ::testing::TestParamInfo<CheckCase> &info) { return std::string(info.param.label); });

TEST_F(PackageCheckTest, NamesArePrintedEscapedAndAsJson)
{
    Docs({{"help/index.html", "<p>"}, {"help/\x1b[2Jx\xe9.txt", ""}});
    std::vector<Finding> findings = CheckPackage("package");
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(FindingLine(findings[0]),
              "error: docs.tsa: help/\\x1b[2Jx\\xe9.txt: the installer refuses this name: "
              "the name holds bytes beyond ASCII, and no code page was given to read them in");
    EXPECT_EQ(CountLine(findings, false), "1 error, 0 warnings");

    Docs({{"help/index.html", "<p>"}});
    Configure("File1=readme.TXT", "File1=\x1b\"q\xc3\xa9");
    findings = CheckPackage("package");
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(
        FindingLine(findings[0]),
        "warning: setup.tsi: line 19 is written in UTF-8, but the program reads setup.tsi in the system "
        "code page; save setup.tsi in the code page of the users' systems");
    findings.erase(findings.begin());
    EXPECT_EQ(FindingJson(findings[0]),
              "{\"severity\":\"error\",\"section\":\"Startmenu Links\",\"key\":\"File1\",\"line\":19,"
              "\"message\":\"\\\"\\\\x1b\\\"q\\\\xc3\\\\xa9\\\" names no file once joined to the "
              "destination: the name holds a control character; link 1 starts nothing\"}");
    EXPECT_EQ(CountLine(findings, true), "{\"errors\":1,\"warnings\":0}");
}

} // namespace
