// What can be wrong with a component archive, as values: the reader, the extraction engine and
// the tool report these, and their words are written once, in archive_fault.cpp.
#ifndef SETUP_INSTALL_ARCHIVE_FAULT_H
#define SETUP_INSTALL_ARCHIVE_FAULT_H

#include "lumora/string.h"

#include <cstdint>
#include <string>

enum class ArchiveFaultKind {
    none,
    // the archive as a whole
    cannotOpen,
    notAnArchive,
    holdsNoGroup, // as the tool says it
    holdsNoFiles, // as the installer says it
    // a group table; nothing after it can be found
    tableCut,
    noFilesTag,
    countBeyondArchive,
    sizeBeyondLimit,
    noCdataTag,
    lengthBeyondLimit,
    packedDataCut,
    // a group's stream, as the tool checks it; the lengths name `found` and `expected`
    noDecompressor,
    streamDamaged,
    notBzip2,
    streamEndsEarly,
    bytesAfterStream,
    unpackedLengthDiffers,
    decompressedLengthDiffers,
    // a group, as the installer extracts it; `found` files are not written
    noRoomForTemporaryFiles,
    groupDataDamaged,
    dataBeyondTable,
    // an entry, as the installer extracts it
    dataEndsBeforeFile, // `found` files are not written
    temporaryDataUnreadable,
    fileNotCreated,
    fileNotWrittenInFull,
    // an entry's name, decoded from or stored in a code page
    nameBytesWithoutCodePage,
    nameInvalidInCodePage,
    nameCharactersWithoutCodePage,
    nameNotStorableInCodePage,
    nameNotReadBack,
    // an entry's name, as the installer judges it
    emptyName,
    leadingSeparator,
    driveLetter,
    trailingSeparator,
    colonInName,
    controlCharacter,
    forbiddenCharacter,
    parentLevel,
    dotsOnlyLevel,
    deviceName,
    // a name the tool will not store, though the installer would take it
    backslashInName,
    levelEndsInDotOrSpace,
};

struct ArchiveFault {
    ArchiveFaultKind kind = ArchiveFaultKind::none;
    int group = 0;        // 1-based; 0 for the archive as a whole
    lumora::String entry; // the entry concerned, decoded or shown as bytes; empty for none
    int64_t found = 0;    // the number the kind names first (a length, or the files not written)
    int64_t expected = 0; // and second
};

bool IsNameFault(ArchiveFaultKind kind);
bool IsTableFault(ArchiveFaultKind kind);

// The fault in words, without the group or entry: "the archive ends inside a group table".
std::string FaultWords(const ArchiveFault &fault);
std::string FaultWords(ArchiveFaultKind kind);

// The same as the installation report says it, with what the installer does about it:
// "...; the rest of it is skipped" after a table, "...; the file is not written" after a name.
std::string InstallerWords(const ArchiveFault &fault);

#endif
