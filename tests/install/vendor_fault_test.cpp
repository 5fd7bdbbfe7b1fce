// `tsa check` on what ruins a vendor's package: the program files (present, one processor, the
// library version setup.exe expects), values the program takes otherwise than meant, setup.tsi
// in the wrong encoding, and names beyond ASCII read through the users' code page.
#include "program_bytes.h"
#include "test_support.h"
#include "tools/package_check.h"
#include "tools/program_file.h"
#include "tools/program_files_check.h"

namespace {

const std::string soundSetup = "[Dialogs]\r\n"               // 1
                               "License=0\r\n"               // 2
                               "[Name Font]\r\n"             // 3
                               "Color=255\r\n"               // 4
                               "XPos=40\r\n"                 // 5
                               "[Directory]\r\n"             // 6
                               "DirName=Demo\r\n"            // 7
                               "[Component Setup]\r\n"       // 8
                               "NumberOfComponents=1\r\n"    // 9
                               "1=Program\r\n"               // 10
                               "[Component Config]\r\n"      // 11
                               "1=required\r\n"              // 12
                               "[Component Files]\r\n"       // 13
                               "1=program.tsa\r\n"           // 14
                               "[Startmenu Links]\r\n"       // 15
                               "NumberOfLinks=2\r\n"         // 16
                               "StartmenuDirectory=Demo\r\n" // 17
                               "Component1=1\r\n"            // 18
                               "Name1=Tool\r\n"              // 19
                               "File1=tool.exe\r\n"          // 20
                               "Component2=1\r\n"            // 21
                               "Name2=Readme\r\n"            // 22
                               "File2=readme.txt\r\n";       // 23

using testsupport::ProgramBytes;

std::string SetupProgram(uint16_t machine = machineI386, const std::wstring &expects = L"0.8.64.0")
{
    return ProgramBytes(machine, false, expectedLibraryVersionKey, expects);
}

std::string Library(uint16_t machine = machineI386, const std::wstring &version = L"0.8.64.0")
{
    return ProgramBytes(machine, true, libraryVersionKey, version);
}

class VendorCheck : public ScratchTest {
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        fs::create_directory("package");
        Write("setup.tsi", soundSetup);
        Write("program.tsa", ArchiveBytes({GroupBytes({{"tool.exe", ProgramBytes(machineI386, false)},
                                                       {"readme.txt", "read me"}})}));
        Write("setup.exe", SetupProgram());
        Write("lumora.dll", Library());
    }

    static void Write(const std::string &name, const std::string &bytes)
    {
        WriteBytes("package/" + name, bytes);
    }

    static void Configure(const std::string &from, const std::string &to)
    {
        std::string text = soundSetup;
        size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        Write("setup.tsi", text);
    }

    // What `tsa check` prints, program files first.
    static std::vector<std::string> Lines(int codePage = asciiOnly)
    {
        ProgramFilesFindings programs = CheckProgramFiles("package");
        std::vector<Finding> findings = programs.findings;
        for (const Finding &finding : CheckPackage("package", CheckOptions{codePage, programs.setupMachine}))
            findings.push_back(finding);
        std::vector<std::string> lines;
        for (const Finding &finding : findings) lines.push_back(FindingLine(finding));
        return lines;
    }
};

TEST_F(VendorCheck, SoundPackageHasNoFinding)
{
    EXPECT_EQ(Lines(), std::vector<std::string>());
}

TEST_F(VendorCheck, ProgramFilesMissingOrNoProgramsAreErrors)
{
    fs::remove("package/setup.exe");
    fs::remove("package/lumora.dll");
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{
                  "error: setup.exe: is not in the package folder, so the user has nothing to start; copy it "
                  "from the kit",
                  "error: lumora.dll: is not in the package folder; setup.exe cannot start without it"}));
    Write("setup.exe", "MZ but nothing more");
    Write("lumora.dll", SetupProgram()); // a program, but no library
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "error: setup.exe: is not a Windows program; copy setup.exe from the kit",
                           "error: lumora.dll: is not a Windows library, so setup.exe cannot start; copy "
                           "lumora.dll from the kit"}));
}

TEST_F(VendorCheck, LibraryOfTheOtherProcessorOrVersionIsAnError)
{
    Write("lumora.dll", Library(machineAmd64));
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{
                  "error: lumora.dll: is a 64-bit (x86-64) library, but setup.exe is a 32-bit (i686) "
                  "program; Windows does not load it, so setup.exe cannot start; copy both from one "
                  "kit folder"}));
    Write("lumora.dll", Library(machineI386, L"0.8.64.1"));
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{
                  "error: lumora.dll: is version 0.8.64.1, but setup.exe expects 0.8.64.0; Setup warns "
                  "at start that the library might not be compatible and stops when the user says No; "
                  "copy both from one kit folder"}));
    Write("lumora.dll", ProgramBytes(machineI386, true));
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "warning: lumora.dll: does not name its version, so it cannot be matched to "
                           "setup.exe; copy both from one kit folder"}));
}

TEST_F(VendorCheck, SixtyFourBitProgramsForTheThirtyTwoBitSetupAreAWarning)
{
    Write("program.tsa", ArchiveBytes({GroupBytes({{"tool.exe", ProgramBytes(machineAmd64, false)},
                                                   {"readme.txt", "read me"},
                                                   {"lib/helper.DLL", ProgramBytes(machineAmd64, true)}})}));
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{
                  "warning: program.tsa: tool.exe: is a 64-bit program, but setup.exe is the 32-bit "
                  "one: it proposes the 32-bit Program Files folder and makes links through the 32-bit "
                  "view of the system; ship the x86-64 setup.exe and lumora.dll; so are 1 more files "
                  "of this archive"}));
    Write("setup.exe", SetupProgram(machineAmd64));
    Write("lumora.dll", Library(machineAmd64));
    EXPECT_EQ(Lines(), std::vector<std::string>());
}

struct ValueCase {
    const char *label;
    const char *from;
    const char *to;
    std::vector<std::string> expected;
};

class VendorValue : public VendorCheck, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(VendorValue, GivesExactlyItsFindings)
{
    Configure(GetParam().from, GetParam().to);
    EXPECT_EQ(Lines(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, VendorValue,
    ::testing::Values(
        ValueCase{
            "MisspeltRequired",
            "1=required",
            "1=requried",
            {"error: [Component Config] 1 (line 12): \"requried\" is neither \"required\" nor \"default\" "
             "(written in small letters), so component 1 starts unticked and the user may leave it out; "
             "did you mean required?"}},
        ValueCase{
            "CapitalisedRequired",
            "1=required",
            "1=Required",
            {"error: [Component Config] 1 (line 12): \"Required\" is neither \"required\" nor \"default\" "
             "(written in small letters), so component 1 starts unticked and the user may leave it out; "
             "did you mean required?"}},
        ValueCase{"OptionalIsMeant", "1=required", "1=optional", {}},
        ValueCase{"StartMenuLinksSpeltApart",
                  "[Startmenu Links]",
                  "[Start Menu Links]",
                  {"error: [Start Menu Links] (line 15): this section is not read; did you mean [Startmenu "
                   "Links]? Its links are not made"}},
        ValueCase{"MoreLinksThanCounted",
                  "NumberOfLinks=2",
                  "NumberOfLinks=1",
                  {"error: [Startmenu Links] Component2 (line 21): link 2 is described, but never made: "
                   "NumberOfLinks is 1"}},
        ValueCase{
            "WebColour",
            "Color=255",
            "Color=#FFFFFF",
            {"warning: [Name Font] Color (line 4): \"#FFFFFF\" is no decimal number; the program reads it "
             "as 0; write 16777215 for #FFFFFF"}},
        ValueCase{"OffTheScreen",
                  "XPos=40",
                  "XPos=5000",
                  {"warning: [Name Font] XPos (line 5): is 5000, outside 0 to 1023: left edge of the name, "
                   "pixels from the screen's left edge"}},
        ValueCase{
            "CountInWords",
            "NumberOfLinks=2",
            "NumberOfLinks=two",
            {"error: [Startmenu Links] NumberOfLinks (line 16): \"two\" is no decimal number; the program "
             "reads it as 0",
             "error: [Startmenu Links] Component1 (line 18): link 1 is described, but never made: "
             "NumberOfLinks is 0",
             "error: [Startmenu Links] Component2 (line 21): link 2 is described, but never made: "
             "NumberOfLinks is 0"}},
        ValueCase{
            "DriveInTheDestinationName",
            "DirName=Demo",
            "DirName=Demo: the tool",
            {"error: [Directory] DirName (line 7): \"Demo: the tool\" holds \":\", which Windows refuses in "
             "folder names, so the proposed destination cannot be made and nothing is installed"}}),
    [](const ::testing::TestParamInfo<ValueCase> &info) { return std::string(info.param.label); });

TEST_F(VendorCheck, SetupFileInUtf8IsReadInTheSystemCodePage)
{
    Configure("1=Program", "1=Programm f\xc3\xbcr \xc3\x9c\x62\x65rsicht");
    EXPECT_EQ(Lines(1252),
              (std::vector<std::string>{
                  "warning: setup.tsi: line 10 is written in UTF-8, but the program reads setup.tsi "
                  "in the system code page: \"1=Programm f\\xc3\\xbcr \\xc3\\xc5\\x93bersicht\" "
                  "shows where \"1=Programm f\\xfcr \\xdcbersicht\" was meant; save setup.tsi in "
                  "code page 1252"}));
    // The mark is an error, and the same run still judges the rest of the file.
    std::string marked = soundSetup;
    marked.replace(marked.find("Color=255"), 9, "Color=#FFFFFF");
    marked.replace(marked.find("1=Program"), 9, "1=Programm f\xc3\xbcr alle");
    Write("setup.tsi", "\xef\xbb\xbf" + marked);
    std::vector<std::string> lines = Lines(1252);
    ASSERT_EQ(lines.size(), 3u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[0], "error: setup.tsi: line 1 begins with a UTF-8 byte order mark, which Windows does "
                        "not know: it reads the mark as text of the first line, so that line is lost; "
                        "save setup.tsi in the code page of the users' systems, or as UTF-16");
    EXPECT_EQ(lines[1].rfind("warning: setup.tsi: line 10 is written in UTF-8", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("warning: [Name Font] Color (line 4)", 0), 0u) << lines[2];
}

TEST_F(VendorCheck, LicenceIsJudgedInTheUsersCodePage)
{
    Configure("License=0", "License=1\r\n[License]\r\nLicenseFile=licence.txt");
    Write("licence.txt", "Lizenz f\xfcr alle\r\n; no comment here\r\n");
    EXPECT_EQ(Lines(1252), std::vector<std::string>());
    // The License page reads every line in the code page, the comment-like ones too.
    Write("licence.txt", "Licence\r\n; f\xc3\xbcr alle\r\n");
    EXPECT_EQ(Lines(1252), (std::vector<std::string>{
                               "warning: licence.txt: line 2 is written in UTF-8, but the program reads "
                               "licence.txt in the system code page: \"; f\\xc3\\xbcr alle\" shows where "
                               "\"; f\\xfcr alle\" was meant; save licence.txt in code page 1252"}));
    Write("licence.txt", "\xef\xbb\xbfLicence\r\n");
    EXPECT_EQ(Lines(1252), (std::vector<std::string>{
                               "warning: licence.txt: line 1 begins with a UTF-8 byte order mark, which the "
                               "License page shows as characters before the text; save licence.txt in the "
                               "code page of the users' systems"}));
}

TEST_F(VendorCheck, NamesBeyondAsciiPassThroughTheUsersCodePage)
{
    // "Café Zürich.csv" and "Überblick – Handbuch.pdf" in code page 1252, the link to the latter.
    const std::string cafe = "Caf\xe9 Z\xfcrich.csv", overview = "docs/\xdc\x62\x65rblick \x96 Handbuch.pdf";
    Write("program.tsa", ArchiveBytes({GroupBytes({{"tool.exe", ProgramBytes(machineI386, false)},
                                                   {"readme.txt", "read me"},
                                                   {cafe, "1;2"},
                                                   {overview, "%PDF"}})}));
    Configure("File2=readme.txt", "File2=docs\\\xdc\x62\x65rblick \x96 Handbuch.pdf");
    EXPECT_EQ(Lines(1252), std::vector<std::string>());
    std::vector<std::string> ascii = Lines();
    ASSERT_EQ(ascii.size(), 4u); // and the link to the refused file
    EXPECT_EQ(ascii[0],
              "warning: setup.tsi: line 23 holds characters beyond ASCII, which the program reads in "
              "the system code page of the machine it runs on; name that code page with --code-page");
    EXPECT_NE(ascii[1].find("the installer refuses this name"), std::string::npos) << ascii[1];
    // A link to a file that is not installed is an error in any code page.
    Configure("File2=readme.txt", "File2=docs\\\xdc\x62\x65rblick.pdf");
    EXPECT_EQ(Lines(1252).size(), 1u);
}

} // namespace

// A removable package: what would leave the product without a way out or a name is an error,
// an address that leads nowhere a warning; the uninstaller in place and a name end both errors.
TEST_F(VendorCheck, RemovalWithoutUninstallerOrNameIsAnErrorAndABadAddressAWarning)
{
    Configure("[Directory]\r\n",
              "[Uninstall]\r\nEnabled=1\r\nHelpLink=www.example.invalid\r\n"
              "URLInfoAbout=HTTPS://example.invalid\r\n[Application]\r\nName=\r\n[Directory]\r\n");
    std::vector<std::string> lines = Lines();
    auto has = [&lines](const std::string &start, const std::string &part) {
        for (const std::string &line : lines)
            if (line.rfind(start, 0) == 0 && line.find(part) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(has("error: [Uninstall] Enabled", "holds no uninstall.exe"))
        << ::testing::PrintToString(lines);
    EXPECT_TRUE(has("error: [Uninstall] DisplayName", "would show no name"))
        << ::testing::PrintToString(lines);
    EXPECT_TRUE(has("warning: [Uninstall] HelpLink", "is no web address")) << ::testing::PrintToString(lines);
    EXPECT_FALSE(has("", "URLInfoAbout")) << "the scheme's letter case does not matter";
    EXPECT_EQ(lines.size(), 3u) << ::testing::PrintToString(lines);

    Write("uninstall.exe", ProgramBytes(machineI386, false));
    Configure("[Directory]\r\n", "[Uninstall]\r\nEnabled=1\r\n[Directory]\r\n");
    EXPECT_EQ(Lines(), std::vector<std::string>());
}
