// The engine's account in the log: a real extraction, with a fault, read back from the log.
#include "app/installation_log.h"
#include "install/extraction.h"
#include "tests/install/test_support.h"

namespace {

class StringSink : public LogSink {
public:
    bool Write(const char *bytes, size_t count) override
    {
        text.append(bytes, count);
        return true;
    }
    std::string text;
};

using InstallationLogTest = ScratchTest;

TEST_F(InstallationLogTest, NamesEveryFolderFileWithItsSizeAndFaultInTheNoticesWords)
{
    WriteBytes("data.tsa", ArchiveBytes({GroupBytes({{"help/pages/start.html", "<p>"},
                                                     {"one.txt", "1"},
                                                     {"../outside.txt", "never"},
                                                     {"help/index.html", std::string(70000, 'i')}})}));
    StringSink sink;
    SetupLog log(sink, [] { return int64_t(0); });
    InstallationLog account(log);
    RecordingProgress progress;
    InstallReport report;
    report.Observe(&account);
    const lumora::String targetText = PathText(target);
    EXPECT_FALSE(ExtractArchive("data.tsa", targetText, progress, report, "Main"));
    report.PhaseStarted("Start menu shortcuts");
    ASSERT_EQ(report.FaultCount(), 1);

    const std::string prefix = "1970-01-01 00:00:00.000 ";
    const std::string sep = "\\";
    // Paths are logged with "\\" between levels, on every system.
    std::string folderRoot = Utf8(WideText(targetText));
    for (char &c : folderRoot)
        if (c == '/') c = '\\';
    const std::string files = prefix + "File written: " + folderRoot + sep;
    std::string expected =
        prefix + "Folder made: " + folderRoot + sep + "help\r\n" + prefix + "Folder made: " + folderRoot +
        sep + "help" + sep + "pages\r\n" + files + "help" + sep + "pages" + sep + "start.html (3 bytes)\r\n" +
        files + "one.txt (1 byte)\r\n" + prefix + "Problem: " + Utf8(WideText(FaultLine(report.Fault(0)))) +
        "\r\n" + files + "help" + sep + "index.html (70000 bytes)\r\n" + prefix + "Start menu shortcuts\r\n";
    EXPECT_EQ(sink.text, expected) << "the phase's start reaches the sink at once";
    EXPECT_NE(sink.text.find("Problem: Main: ../outside.txt: "), std::string::npos);
}

} // namespace
