// The tool as a vendor runs it: exit codes, "--", names escaped in every command, and runs
// that share one working folder.
#include "program_bytes.h"
#include "test_support.h"
#include "tools/program_file.h"
#include "tools/program_files_check.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the tool through the shell with the given arguments, written as for the shell, on a
// terminal of the given locale: plain ASCII unless a test asks for UTF-8.
Outcome Tsa(const std::string &arguments, const std::string &locale = "C")
{
    Outcome outcome;
    std::string command = "LC_ALL=" + locale + " '" + TSA_PROGRAM + "' " + arguments + " 2>stderr.txt";
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return outcome;
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.out.append(buffer, count);
    int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.err = ReadBytes("stderr.txt");
    fs::remove("stderr.txt");
    return outcome;
}

using TsaCommand = ScratchTest;

struct ExpectedOutcome {
    const char *arguments;
    int status;
    const char *said; // a part of what it prints
};

void ExpectOutcomes(const std::vector<ExpectedOutcome> &cases)
{
    for (const ExpectedOutcome &sample : cases) {
        Outcome outcome = Tsa(sample.arguments);
        EXPECT_EQ(outcome.status, sample.status) << sample.arguments;
        EXPECT_NE((outcome.out + outcome.err).find(sample.said), std::string::npos)
            << sample.arguments << "\n"
            << outcome.out << outcome.err;
    }
}

TEST_F(TsaCommand, ExitCodesTellUsageFromFaults)
{
    WriteBytes("-odd.tsa", ArchiveBytes({GroupBytes({{"a", "abc"}})}));
    fs::create_directories("folder");
    ExpectOutcomes({
        {"", 2, "usage: tsa COMMAND"},
        {"frobnicate", 2, "unknown command frobnicate"},
        {"pack", 2, "pack needs an output archive"},
        {"pack -x out.tsa folder", 2, "unknown option -x"},
        {"pack -j", 2, "-j needs a value"},
        {"extract -j 0 -- -odd.tsa out", 2, "bad value for -j: 0"},
        {"pack out.tsa missing", 1, "tsa: missing: no such file or folder"},
        {"list missing.tsa", 1, "tsa: missing.tsa: the archive cannot be opened"},
        {"verify -odd.tsa", 2, "unknown option -odd.tsa"},
        {"verify -- -odd.tsa", 0, "-odd.tsa: 1 group, 1 file, 3 bytes: sound"},
        {"list -- --help", 1, "tsa: --help: the archive cannot be opened"},
        {"check missing", 2, "tsa: missing: no such folder"},
        {"check folder", 1, "3 errors, 0 warnings"},
        {"check --help", 0, "Exit status: 0 no error (warnings allowed), 1 at least one error, 2 bad usage."},
        {"--help", 0, "Exit status:"},
    });
}

TEST_F(TsaCommand, NamesAreEscapedInEveryCommand)
{
    // A name that would turn a terminal's text red and one with a byte of a code page.
    WriteBytes("names.tsa", ArchiveBytes({GroupBytes({{"a\x1b[31mred", "x"}, {"caf\xe9", "y"}})}));
    Outcome list = Tsa("list names.tsa");
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("a\\x1b[31mred"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("caf\\xe9"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("2 files in 1 group: 2 bytes stored, "), std::string::npos) << list.out;
    Outcome verify = Tsa("verify names.tsa");
    EXPECT_EQ(verify.status, 1);
    EXPECT_EQ(verify.err,
              "names.tsa: group 1: a\\x1b[31mred: the name holds a control character\n"
              "names.tsa: group 1: caf\\xe9: the name holds bytes beyond ASCII, and no code page was "
              "given to read them in\n");
    Outcome extract = Tsa("extract names.tsa out");
    EXPECT_EQ(extract.status, 1);
    EXPECT_NE(extract.err.find("a\\x1b[31mred: the name holds a control character"), std::string::npos)
        << extract.err;
    fs::create_directories("in");
    WriteBytes("in/bell\a", "x");
    Outcome pack = Tsa("pack out.tsa in");
    EXPECT_EQ(pack.status, 1);
    EXPECT_EQ(pack.err, "tsa: in/bell\\x07: the name holds a control character\ntsa: nothing is written\n");
    EXPECT_FALSE(fs::exists("out.tsa"));
    for (const Outcome &outcome : {list, verify, extract, pack})
        EXPECT_EQ((outcome.out + outcome.err).find('\x1b'), std::string::npos);
}

TEST_F(TsaCommand, CheckPrintsFindingsAsJsonLines)
{
    fs::create_directories("package");
    WriteBytes("package/setup.tsi", "[Component Setup]\r\nNumberOfComponents=1\r\n");
    Outcome outcome = Tsa("check --json package");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out,
              "{\"severity\":\"error\",\"file\":\"setup.exe\",\"message\":\"is not in the package folder, so "
              "the user has nothing to start; copy it from the kit\"}\n"
              "{\"severity\":\"error\",\"file\":\"lumora.dll\",\"message\":\"is not in the package folder; "
              "setup.exe cannot start without it\"}\n"
              "{\"severity\":\"error\",\"section\":\"License\",\"key\":\"LicenseFile\",\"message\":\"names "
              "no licence file, so the License page shows an empty box\"}\n"
              "{\"severity\":\"error\",\"section\":\"Component Files\",\"key\":\"1\",\"message\":\"the "
              "archive \\\"data.tsa\\\", the default, is not in the package folder\"}\n"
              "{\"errors\":4,\"warnings\":0}\n");

    // What the installation writes follows the count, one object a line too.
    WriteBytes("package/data.tsa", ArchiveBytes({GroupBytes({{"bin/a.txt", "a"}})}));
    outcome = Tsa("check --json --plan package");
    EXPECT_NE(outcome.out.find("{\"errors\":3,\"warnings\":0}\n{\"write\":\"file: bin\\\\a.txt\"}\n"),
              std::string::npos)
        << outcome.out;
}

TEST_F(TsaCommand, PackExcludesAsWindowsNamesAndShowsNamesInTheTerminalsEncoding)
{
    fs::create_directories("app/bin");
    fs::create_directories("app/docs");
    // A file called bin stays: "BIN/" names folders only.
    for (const char *name : {"app/tool.exe", "app/tool.PDB", "app/bin/x.o", "app/docs/bin", "app/docs/readme",
                             "app/Caf\xc3\xa9.csv"})
        WriteBytes(name, "x");
    fs::remove_all("app/docs/bin");
    WriteBytes("app/docs/bin", "x");
    Outcome pack = Tsa("pack --code-page 1252 --prefix 'x//./y/' --exclude '*.pdb' --exclude 'BIN/' "
                       "--exclude '*.nothing' out.tsa app",
                       "C.UTF-8");
    EXPECT_EQ(pack.status, 0) << pack.err;
    EXPECT_EQ(pack.err, "tsa: warning: --exclude *.nothing matches nothing\n");
    Outcome list = Tsa("list --code-page 1252 out.tsa", "C.UTF-8");
    EXPECT_NE(list.out.find("x/y/Caf\xc3\xa9.csv"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("x/y/docs/readme"), std::string::npos) << list.out;
    EXPECT_EQ(list.out.find("PDB"), std::string::npos) << list.out;
    EXPECT_EQ(list.out.find("x.o"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("4 files in 1 group"), std::string::npos) << list.out;
    // Without UTF-8 the same name is shown byte by byte.
    EXPECT_NE(Tsa("list --code-page 1252 out.tsa").out.find("Caf\\xc3\\xa9.csv"), std::string::npos);
    // A missing archive is one error, with no totals after it.
    Outcome missing = Tsa("list gone.tsa");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "tsa: gone.tsa: the archive cannot be opened\n");
}

// Program files as the kit's: headers, and the library version in their version resources.
void WriteRuntime()
{
    fs::create_directories("runtime");
    WriteBytes("runtime/setup.exe",
               testsupport::ProgramBytes(machineI386, false, expectedLibraryVersionKey, L"0.8.64.0"));
    WriteBytes("runtime/lumora.dll",
               testsupport::ProgramBytes(machineI386, true, libraryVersionKey, L"0.8.64.0"));
    WriteBytes("runtime/uninstall.exe", testsupport::ProgramBytes(machineI386, false));
    WriteBytes("runtime/launcher.exe", testsupport::ProgramBytes(machineI386, false));
}

TEST_F(TsaCommand, NewMakesAPackageThatChecksClean)
{
    fs::create_directories("app/Handbuch");
    WriteBytes("app/viewer.exe", "MZ");
    WriteBytes("app/Handbuch/\xc3\x9c"
               "berblick \xe2\x80\x93 Handbuch.pdf",
               "%PDF");
    WriteRuntime();
    // The licence as an editor saves it today: UTF-8 after a byte order mark.
    WriteBytes("licence.txt", "\xef\xbb\xbfQuorvell Z\xc3\xbcrich\r\n");
    WriteBytes("cyrillic.txt",
               "Licence\r\n\xd0\x9b\xd0\xb8\xd1\x86\xd0\xb5\xd0\xbd\xd0\xb7\xd0\xb8\xd1\x8f\r\n");
    Outcome made = Tsa("new --code-page 1252 --version 2.1 --runtime runtime --licence licence.txt "
                       "'Caf\xc3\xa9 Viewer' app package",
                       "C.UTF-8");
    EXPECT_EQ(ReadBytes("package/licence.txt"), "Quorvell Z\xfcrich\r\n");
    EXPECT_EQ(made.status, 0) << made.out << made.err;
    EXPECT_NE(made.out.find("0 errors"), std::string::npos) << made.out;
    Outcome check = Tsa("check --code-page 1252 package", "C.UTF-8");
    EXPECT_EQ(check.status, 0) << check.out;
    std::string setup = ReadBytes("package/setup.tsi");
    for (const char *line : {"Name=Caf\xe9 Viewer\r\n", "1=required\r\n", "2=default\r\n", "2=Handbuch\r\n",
                             "File1=viewer.exe\r\n", "DirName=Caf\xe9 Viewer\r\n", "[Uninstall]\r\n",
                             "Enabled=1\r\n", "DisplayVersion=2.1\r\n"})
        EXPECT_NE(setup.find(line), std::string::npos) << line;
    // The package is not made twice over, and a refused name leaves nothing behind.
    EXPECT_EQ(Tsa("new --runtime runtime Viewer app package").status, 1);
    EXPECT_EQ(Tsa("new --runtime runtime 'Caf\xc3\xa9' app other").status, 1);
    EXPECT_FALSE(fs::exists("other"));
    Outcome cyrillic =
        Tsa("new --code-page 1252 --runtime runtime --licence cyrillic.txt Viewer app other", "C.UTF-8");
    EXPECT_EQ(cyrillic.status, 1);
    EXPECT_NE(cyrillic.err.find("line 2 holds \"\xd0\x9b\" (U+041B), which code page 1252 cannot hold"),
              std::string::npos)
        << cyrillic.err;
    EXPECT_FALSE(fs::exists("other"));
    Outcome broken = Tsa("check package", "C.UTF-8");
    EXPECT_EQ(broken.status, 1) << broken.out;
}

// Signed as a vendor signs, with a throwaway certificate; the check must see a changed byte.
TEST_F(TsaCommand, CheckVerifiesSignaturesAndSeesAChangedByte)
{
    fs::create_directories("app");
    WriteBytes("app/viewer.exe", "MZ");
    WriteRuntime();
    ASSERT_EQ(Tsa("new --runtime runtime Viewer app package").status, 0);
    ASSERT_EQ(std::system("openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 2 -subj /CN=Test "
                          "-keyout key.pem -out cert.pem >/dev/null 2>&1"),
              0);
    for (const char *file : {"setup.exe", "lumora.dll", "uninstall.exe"}) {
        std::string sign =
            std::string("osslsigncode sign -certs cert.pem -key key.pem -h sha256 -in package/") + file +
            " -out signed >/dev/null && mv signed package/" + file;
        ASSERT_EQ(std::system(sign.c_str()), 0) << sign;
    }
    Outcome sound = Tsa("check package");
    EXPECT_EQ(sound.status, 0) << sound.out;
    EXPECT_EQ(sound.out.find("sign"), std::string::npos) << sound.out;

    std::string library = ReadBytes("package/lumora.dll");
    library[0x100] ^= 1; // a byte of the headers the signature covers
    WriteBytes("package/lumora.dll", library);
    Outcome changed = Tsa("check package");
    EXPECT_EQ(changed.status, 1);
    EXPECT_NE(changed.out.find("error: lumora.dll: was changed after it was signed"), std::string::npos)
        << changed.out;
    EXPECT_EQ(changed.out.find("setup.exe: was changed"), std::string::npos) << changed.out;
}

TEST_F(TsaCommand, BundlesOnlyWhatTheCheckPassesAndChecksWhatItMade)
{
    fs::create_directories("app/docs");
    WriteBytes("app/viewer.exe", "MZ");
    WriteBytes("app/docs/help.txt", "help");
    WriteRuntime();
    Outcome made = Tsa("new --runtime runtime --bundle viewer.exe Viewer app package");
    EXPECT_EQ(made.status, 0) << made.out << made.err;
    EXPECT_NE(made.err.find("viewer.exe: 6 files of"), std::string::npos) << made.err;
    Outcome checked = Tsa("bundle --check viewer.exe");
    EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
    for (const char *said : {"  setup.exe\n", "  uninstall.exe\n", "  docs.tsa\n",
                             "launcher for 32-bit (i686), 6 files", "not signed: sound"})
        EXPECT_NE(checked.out.find(said), std::string::npos) << said << "\n" << checked.out;
    ExpectOutcomes({
        {"bundle --runtime runtime app out.exe", 1,
         "tsa: app: the check finds errors (above); no bundle is written"},
        {"bundle --runtime runtime --arch win64 package out.exe", 1,
         "setup.exe is built for 32-bit (i686), not for win64"},
        {"bundle --runtime app package out.exe", 1, "the kit's launcher cannot be read (see --runtime)"},
        {"bundle --arch x86 package out.exe", 2, "bad value for --arch: x86"},
        {"bundle package", 2, "bundle needs a package folder and the program to write"},
        {"bundle --check app/viewer.exe", 1, "app/viewer.exe: no Windows program"},
        {"bundle --check runtime/launcher.exe", 1, "ends without a bundle's trailer"},
    });
    EXPECT_FALSE(fs::exists("out.exe"));
}

// Deterministic text that bzip2 packs only moderately, so extraction takes a while.
std::string Content(size_t size, unsigned seed)
{
    std::string text;
    uint32_t state = seed * 2654435761u + 1;
    while (text.size() < size) {
        state = state * 1664525u + 1013904223u;
        text += std::to_string(state % 100000) + (state % 7 == 0 ? "\n" : " ");
    }
    text.resize(size);
    return text;
}

TEST_F(TsaCommand, TwoExtractsSharingOneWorkingFolderBothEndExact)
{
    // A vendor's own files of the names the installer uses stay as they are.
    WriteBytes("buffer.temp", "the vendor's buffer");
    WriteBytes("data.temp", "the vendor's data");
    for (const char *name : {"one", "two"}) {
        fs::create_directories(std::string("source-") + name);
        for (unsigned k = 0; k < 24; ++k) {
            WriteBytes(std::string("source-") + name + "/file" + std::to_string(k),
                       Content(150000 + k, k + (name[0] == 'o' ? 0 : 100)));
        }
        Outcome pack = Tsa(std::string("pack -j 1 -g 100K ") + name + ".tsa source-" + name);
        ASSERT_EQ(pack.status, 0) << pack.err;
    }
    std::string both = std::string("('") + TSA_PROGRAM +
                       "' extract one.tsa out-one >/dev/null 2>&1; echo $? >status-one) & " + "('" +
                       TSA_PROGRAM + "' extract two.tsa out-two >/dev/null 2>&1; echo $? >status-two) & wait";
    ASSERT_EQ(std::system(both.c_str()), 0);
    EXPECT_EQ(ReadBytes("status-one"), "0\n");
    EXPECT_EQ(ReadBytes("status-two"), "0\n");
    for (const char *name : {"one", "two"}) {
        fs::path source = std::string("source-") + name, out = std::string("out-") + name;
        ASSERT_EQ(FilesBelow(out), FilesBelow(source));
        for (const std::string &file : FilesBelow(source))
            EXPECT_EQ(ReadBytes(out / file), ReadBytes(source / file)) << file;
    }
    EXPECT_EQ(ReadBytes("buffer.temp"), "the vendor's buffer");
    EXPECT_EQ(ReadBytes("data.temp"), "the vendor's data");
    EXPECT_TRUE(fs::is_empty(temp)); // the private folders are gone
}

} // namespace
