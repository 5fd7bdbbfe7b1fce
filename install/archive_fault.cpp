#include "install/archive_fault.h"

namespace {

// Users read these in the tool's output and in the installer's report, so they stay as they are.
// One for each kind, in the order the kinds are declared.
const char *const kindWords[] = {
    // none
    "",
    // cannotOpen
    "the archive cannot be opened",
    // notAnArchive
    "the file is not a component archive (no \"TSA\" at its start)",
    // holdsNoGroup
    "the archive holds no group",
    // holdsNoFiles
    "the archive holds no files",
    // tableCut
    "the archive ends inside a group table",
    // noFilesTag
    "the archive has a damaged group table (no \"FILES\" tag)",
    // countBeyondArchive
    "the archive has a group whose file count exceeds what the archive holds",
    // sizeBeyondLimit
    "the archive has a file size beyond 2 GB in a group table",
    // noCdataTag
    "the archive has a damaged group table (no \"CDATA\" tag)",
    // lengthBeyondLimit
    "the archive has a group length beyond 2 GB",
    // packedDataCut
    "the archive ends inside a group's compressed data",
    // noDecompressor
    "cannot start the bzip2 decompressor",
    // streamDamaged
    "its compressed data is damaged (bzip2 CRC or data error)",
    // notBzip2
    "its compressed data is not a bzip2 stream",
    // streamEndsEarly
    "its bzip2 stream ends early",
    // bytesAfterStream
    "bytes follow its bzip2 stream within the packed length",
    // unpackedLengthDiffers
    "its unpacked length # differs from the sum of its sizes #",
    // decompressedLengthDiffers
    "it decompresses to # bytes, its files need #",
    // noRoomForTemporaryFiles
    "neither the working directory nor the temporary folder can hold the temporary files; #",
    // groupDataDamaged
    "the compressed data of a group is damaged; #",
    // dataBeyondTable
    "a group holds more data than its file table says; #",
    // dataEndsBeforeFile
    "the group's data ends before this file; #",
    // temporaryDataUnreadable
    "the temporary data cannot be read back; the file is not written",
    // fileNotCreated
    "the file cannot be created",
    // fileNotWrittenInFull
    "the file could not be written in full",
    // nameBytesWithoutCodePage
    "the name holds bytes beyond ASCII, and no code page was given to read them in",
    // nameInvalidInCodePage
    "the name is no valid text in its code page",
    // nameCharactersWithoutCodePage
    "the name holds characters beyond ASCII, and no code page was given to store them in",
    // nameNotStorableInCodePage
    "the name holds a character its code page cannot store",
    // nameNotReadBack
    "the name would not read back the same from its code page",
    // emptyName
    "the entry has an empty name",
    // leadingSeparator
    "the name starts with a separator and would leave the target directory",
    // driveLetter
    "the name starts with a drive and would leave the target directory",
    // trailingSeparator
    "the name ends with a separator and names no file",
    // colonInName
    "the name holds a colon",
    // controlCharacter
    "the name holds a control character",
    // forbiddenCharacter
    "the name holds a character Windows allows in no file name",
    // parentLevel
    "the name has a \"..\" level and would leave the target directory",
    // dotsOnlyLevel
    "the name has a level of dots and spaces only",
    // deviceName
    "the name is a device name",
    // backslashInName
    "the name holds a \"\\\", which the installer takes for a folder separator",
    // levelEndsInDotOrSpace
    "a level of the name ends with a dot or a space, which Windows drops",
};
static_assert(sizeof kindWords / sizeof kindWords[0] ==
                  static_cast<size_t>(ArchiveFaultKind::levelEndsInDotOrSpace) + 1,
              "every kind has its words");

const char *Template(ArchiveFaultKind kind)
{
    size_t index = static_cast<size_t>(kind);
    return index < sizeof kindWords / sizeof kindWords[0] ? kindWords[index] : "";
}

// The kinds of a group the installer gives up on name how many files that costs.
std::string FilesNotWritten(int64_t count)
{
    return std::to_string(count) + (count == 1 ? " file is not written" : " files are not written");
}

bool CountsFilesNotWritten(ArchiveFaultKind kind)
{
    return kind == ArchiveFaultKind::noRoomForTemporaryFiles || kind == ArchiveFaultKind::groupDataDamaged ||
           kind == ArchiveFaultKind::dataBeyondTable || kind == ArchiveFaultKind::dataEndsBeforeFile;
}

} // namespace

bool IsNameFault(ArchiveFaultKind kind)
{
    return kind >= ArchiveFaultKind::nameBytesWithoutCodePage &&
           kind <= ArchiveFaultKind::levelEndsInDotOrSpace;
}

bool IsTableFault(ArchiveFaultKind kind)
{
    return kind >= ArchiveFaultKind::tableCut && kind <= ArchiveFaultKind::packedDataCut;
}

std::string FaultWords(const ArchiveFault &fault)
{
    std::string words;
    const int64_t numbers[] = {fault.found, fault.expected};
    size_t used = 0;
    for (const char *c = Template(fault.kind); *c != '\0'; ++c) {
        if (*c != '#') {
            words += *c;
        } else if (CountsFilesNotWritten(fault.kind)) {
            words += FilesNotWritten(fault.found);
        } else {
            words += std::to_string(numbers[used < 2 ? used++ : 1]);
        }
    }
    return words;
}

std::string FaultWords(ArchiveFaultKind kind)
{
    ArchiveFault fault;
    fault.kind = kind;
    return FaultWords(fault);
}

std::string InstallerWords(const ArchiveFault &fault)
{
    if (IsTableFault(fault.kind)) return FaultWords(fault) + "; the rest of it is skipped";
    if (IsNameFault(fault.kind)) return FaultWords(fault) + "; the file is not written";
    return FaultWords(fault);
}
