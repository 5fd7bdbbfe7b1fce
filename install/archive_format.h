// The layout of component archives (.tsa), written once for the installer's reader, the tool's
// writer and its checks: "TSA", then groups back to back up to the end of the file. A group is
// fileCount (4), "FILES", fileCount entries of nameLength (2), name, size (4), then "CDATA",
// packedSize (4), unpackedSize (4) and packedSize bytes of one bzip2 stream. Numbers are
// little-endian and below 2^31. A single byte after the last group is ignored.
#ifndef SETUP_INSTALL_ARCHIVE_FORMAT_H
#define SETUP_INSTALL_ARCHIVE_FORMAT_H

#include "install/archive_fault.h"
#include "install/code_page.h"
#include "lumora/string.h"

#include <cstdint>
#include <string>
#include <vector>

class InStream;

const char archiveMagic[] = "TSA";
const char filesTag[] = "FILES";
const char cdataTag[] = "CDATA";
const int magicWidth = 3;
const int tagWidth = 5;
const int countWidth = 4;
const int nameLengthWidth = 2;
const int sizeWidth = 4;
const int lengthWidth = 4;                    // the packed and the unpacked length
const int64_t numberLimit = int64_t(1) << 31; // every stored number fits a signed 32-bit int
const int nameLimit = 65535;
const int64_t tableHeadWidth = countWidth + tagWidth;
const int64_t smallestEntryWidth = nameLengthWidth + sizeWidth;
const int64_t streamHeadWidth = tagWidth + 2 * lengthWidth;

struct ArchiveEntry {
    std::string storedName;     // the name's bytes as stored
    lumora::String name;        // decoded, "/" or "\" between levels; when refused, what reports show
    ArchiveFaultKind nameFault; // none when the name may be written below the target; else why not
    int64_t size;
};

struct ArchiveGroup {
    std::vector<ArchiveEntry> entries;
    int64_t unpackedTotal = 0; // the sum of the entries' sizes
    int64_t packedSize = 0;
    int64_t unpackedSize = 0; // as stored; a sound archive has it equal to unpackedTotal
    int64_t packedOffset = 0; // where the bzip2 stream starts in the archive
};

class ArchiveReader {
public:
    // Names are decoded through codePage (a Windows code page, systemCodePage or asciiOnly).
    explicit ArchiveReader(InStream &archive, int codePage = systemCodePage)
        : archive(archive), codePage(codePage)
    {
    }

    // Checks the magic and moves to the first group; none, or notAnArchive.
    ArchiveFaultKind Start();

    // True while at least two bytes follow the position (the end of the previous group).
    bool HasAnotherGroup() const;

    // Reads one group table and leaves the stream at the group's first packed byte. Every
    // count, length and size is checked against what the file still holds before it is
    // used, so a forged number costs no allocation. Anything but none means the rest of the
    // archive cannot be trusted.
    ArchiveFaultKind ReadGroupTable(ArchiveGroup &group);

    // Moves past the packed bytes of the group just read, to where the next group starts.
    bool SkipPackedData(const ArchiveGroup &group);

private:
    int64_t Remaining() const;
    bool ReadTag(const char *tag);

    InStream &archive;
    const int codePage;
};

// A group as stored, in the order the fields are written: AppendTableHead, one
// AppendTableEntry per file, AppendStreamHead, then the bzip2 stream itself.
void AppendNumber(std::string &bytes, uint64_t value, int width);
void AppendTableHead(std::string &bytes, size_t fileCount);
void AppendTableEntry(std::string &bytes, const std::string &storedName, int64_t size);
void AppendStreamHead(std::string &bytes, int64_t packedSize, int64_t unpackedSize);

#endif
