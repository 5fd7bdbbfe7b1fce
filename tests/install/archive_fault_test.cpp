// The words of every archive fault: users read them in the tool's output and in the installer's
// report, so each kind is pinned once, in fault_words.txt, and the other tests compare kinds.
#include "fault_words.h"
#include "install/archive_fault.h"
#include "tools/archive_check.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

namespace {

ArchiveFault Numbered(ArchiveFaultKind kind)
{
    ArchiveFault fault;
    fault.kind = kind;
    fault.found = 7;
    fault.expected = 9;
    return fault;
}

// fault_words.txt holds a line for each kind, in the order they are declared: the kind's name, a
// colon and its words, with 7 and 9 as the numbers the kind names.
TEST(ArchiveFaultWords, EveryKindHasItsOwnWords)
{
    std::istringstream file(faultWordsText);
    std::set<std::string> words;
    int kind = static_cast<int>(ArchiveFaultKind::none);
    for (std::string line; std::getline(file, line);) {
        ++kind;
        size_t colon = line.find(": ");
        ASSERT_NE(colon, std::string::npos) << line;
        EXPECT_EQ(FaultWords(Numbered(static_cast<ArchiveFaultKind>(kind))), line.substr(colon + 2))
            << "kind " << kind << ", " << line.substr(0, colon);
        words.insert(line.substr(colon + 2));
    }
    EXPECT_EQ(kind, static_cast<int>(ArchiveFaultKind::levelEndsInDotOrSpace)) << "a kind has no line";
    EXPECT_EQ(words.size(), static_cast<size_t>(kind)) << "two kinds read the same";
}

TEST(ArchiveFaultWords, OneFileNotWrittenIsSingular)
{
    ArchiveFault fault = Numbered(ArchiveFaultKind::groupDataDamaged);
    fault.found = 1;
    EXPECT_EQ(FaultWords(fault), "the compressed data of a group is damaged; 1 file is not written");
}

TEST(ArchiveFaultWords, TheInstallerSaysWhatItDoesAboutTablesAndNames)
{
    EXPECT_EQ(InstallerWords(Numbered(ArchiveFaultKind::noFilesTag)),
              "the archive has a damaged group table (no \"FILES\" tag); the rest of it is skipped");
    EXPECT_EQ(InstallerWords(Numbered(ArchiveFaultKind::deviceName)),
              "the name is a device name; the file is not written");
    EXPECT_EQ(InstallerWords(Numbered(ArchiveFaultKind::fileNotCreated)), "the file cannot be created");
}

TEST(ArchiveFaultWords, TheToolNamesTheGroupAndTheEntry)
{
    ArchiveFault fault = Numbered(ArchiveFaultKind::parentLevel);
    fault.group = 2;
    fault.entry = "../a";
    EXPECT_EQ(FaultText(fault),
              "group 2: ../a: the name has a \"..\" level and would leave the target directory");
    EXPECT_EQ(FaultText(Numbered(ArchiveFaultKind::notAnArchive)),
              "the file is not a component archive (no \"TSA\" at its start)");
}

} // namespace
