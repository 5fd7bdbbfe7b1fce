// The words of every archive fault: users read them in the tool's output and in the installer's
// report, so each kind is pinned here once, and the other tests compare kinds.
#include "install/archive_fault.h"
#include "tools/archive_check.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct WordsCase {
    ArchiveFaultKind kind;
    const char *words; // with 7 and 9 as the numbers the kind names
};

const WordsCase wordsCases[] = {
    {ArchiveFaultKind::cannotOpen, "the archive cannot be opened"},
    {ArchiveFaultKind::notAnArchive, "the file is not a component archive (no \"TSA\" at its start)"},
    {ArchiveFaultKind::holdsNoGroup, "the archive holds no group"},
    {ArchiveFaultKind::holdsNoFiles, "the archive holds no files"},
    {ArchiveFaultKind::tableCut, "the archive ends inside a group table"},
    {ArchiveFaultKind::noFilesTag, "the archive has a damaged group table (no \"FILES\" tag)"},
    {ArchiveFaultKind::countBeyondArchive,
     "the archive has a group whose file count exceeds what the archive holds"},
    {ArchiveFaultKind::sizeBeyondLimit, "the archive has a file size beyond 2 GB in a group table"},
    {ArchiveFaultKind::noCdataTag, "the archive has a damaged group table (no \"CDATA\" tag)"},
    {ArchiveFaultKind::lengthBeyondLimit, "the archive has a group length beyond 2 GB"},
    {ArchiveFaultKind::packedDataCut, "the archive ends inside a group's compressed data"},
    {ArchiveFaultKind::noDecompressor, "cannot start the bzip2 decompressor"},
    {ArchiveFaultKind::streamDamaged, "its compressed data is damaged (bzip2 CRC or data error)"},
    {ArchiveFaultKind::notBzip2, "its compressed data is not a bzip2 stream"},
    {ArchiveFaultKind::streamEndsEarly, "its bzip2 stream ends early"},
    {ArchiveFaultKind::bytesAfterStream, "bytes follow its bzip2 stream within the packed length"},
    {ArchiveFaultKind::unpackedLengthDiffers, "its unpacked length 7 differs from the sum of its sizes 9"},
    {ArchiveFaultKind::decompressedLengthDiffers, "it decompresses to 7 bytes, its files need 9"},
    {ArchiveFaultKind::noRoomForTemporaryFiles,
     "neither the working directory nor the temporary folder can hold the temporary files; 7 files are not "
     "written"},
    {ArchiveFaultKind::groupDataDamaged,
     "the compressed data of a group is damaged; 7 files are not written"},
    {ArchiveFaultKind::dataBeyondTable,
     "a group holds more data than its file table says; 7 files are not written"},
    {ArchiveFaultKind::dataEndsBeforeFile, "the group's data ends before this file; 7 files are not written"},
    {ArchiveFaultKind::temporaryDataUnreadable,
     "the temporary data cannot be read back; the file is not written"},
    {ArchiveFaultKind::fileNotCreated, "the file cannot be created"},
    {ArchiveFaultKind::fileNotWrittenInFull, "the file could not be written in full"},
    {ArchiveFaultKind::nameBytesWithoutCodePage,
     "the name holds bytes beyond ASCII, and no code page was given to read them in"},
    {ArchiveFaultKind::nameInvalidInCodePage, "the name is no valid text in its code page"},
    {ArchiveFaultKind::nameCharactersWithoutCodePage,
     "the name holds characters beyond ASCII, and no code page was given to store them in"},
    {ArchiveFaultKind::nameNotStorableInCodePage, "the name holds a character its code page cannot store"},
    {ArchiveFaultKind::nameNotReadBack, "the name would not read back the same from its code page"},
    {ArchiveFaultKind::emptyName, "the entry has an empty name"},
    {ArchiveFaultKind::leadingSeparator,
     "the name starts with a separator and would leave the target directory"},
    {ArchiveFaultKind::trailingSeparator, "the name ends with a separator and names no file"},
    {ArchiveFaultKind::colonInName, "the name holds a drive letter or a colon"},
    {ArchiveFaultKind::controlCharacter, "the name holds a control character"},
    {ArchiveFaultKind::forbiddenCharacter, "the name holds a character Windows allows in no file name"},
    {ArchiveFaultKind::parentLevel, "the name has a \"..\" level and would leave the target directory"},
    {ArchiveFaultKind::deviceName, "the name is a device name"},
    {ArchiveFaultKind::backslashInName,
     "the name holds a \"\\\", which the installer takes for a folder separator"},
    {ArchiveFaultKind::levelEndsInDotOrSpace,
     "a level of the name ends with a dot or a space, which Windows drops"},
};

ArchiveFault Numbered(ArchiveFaultKind kind)
{
    ArchiveFault fault;
    fault.kind = kind;
    fault.found = 7;
    fault.expected = 9;
    return fault;
}

TEST(ArchiveFaultWords, EveryKindHasItsOwnWords)
{
    std::set<int> kinds;
    std::set<std::string> words;
    for (const WordsCase &sample : wordsCases) {
        EXPECT_EQ(FaultWords(Numbered(sample.kind)), sample.words);
        kinds.insert(static_cast<int>(sample.kind));
        words.insert(sample.words);
    }
    int last = static_cast<int>(ArchiveFaultKind::levelEndsInDotOrSpace);
    EXPECT_EQ(kinds.size(), static_cast<size_t>(last)) << "a kind has no case here";
    EXPECT_EQ(words.size(), kinds.size()) << "two kinds read the same";
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
