#include "install/archive_fault.h"

namespace {

struct KindWords {
    ArchiveFaultKind kind;
    const char *words;
};

// Users read these in the tool's output and in the installer's report, so they stay as they are.
const KindWords kindWords[] = {
    {ArchiveFaultKind::none, ""},
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
    {ArchiveFaultKind::unpackedLengthDiffers, "its unpacked length # differs from the sum of its sizes #"},
    {ArchiveFaultKind::decompressedLengthDiffers, "it decompresses to # bytes, its files need #"},
    {ArchiveFaultKind::noRoomForTemporaryFiles,
     "neither the working directory nor the temporary folder can hold the temporary files; #"},
    {ArchiveFaultKind::groupDataDamaged, "the compressed data of a group is damaged; #"},
    {ArchiveFaultKind::dataBeyondTable, "a group holds more data than its file table says; #"},
    {ArchiveFaultKind::dataEndsBeforeFile, "the group's data ends before this file; #"},
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

const char *Template(ArchiveFaultKind kind)
{
    for (const KindWords &entry : kindWords) {
        if (entry.kind == kind) return entry.words;
    }
    return "";
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
