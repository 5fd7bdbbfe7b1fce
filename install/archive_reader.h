// Reads the group tables of a component archive (.tsa), trusting no number in it.
//
// Layout: "TSA", then groups back to back up to the end of the file. A group is
// fileCount (4), "FILES", fileCount entries of nameLength (2), name, size (4), then
// "CDATA", packedSize (4), unpackedSize (4) and packedSize bytes of one bzip2 stream.
// Numbers are little-endian and below 2^31. A single byte after the last group is ignored.
#ifndef SETUP_INSTALL_ARCHIVE_READER_H
#define SETUP_INSTALL_ARCHIVE_READER_H

#include "install/code_page.h"
#include "lumora/stream.h"
#include "lumora/string.h"

#include <cstdint>
#include <string>
#include <vector>

struct ArchiveEntry {
    std::string storedName; // the name's bytes as stored
    lumora::String name;    // decoded, "/" or "\" between levels; when refused, what reports show
    const char *nameFault;  // null when the name may be written below the target; else why not
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

    // Checks the magic and moves to the first group. On failure `fault` says why.
    bool Start(lumora::String &fault);

    // True while at least two bytes follow the position (the end of the previous group).
    bool HasAnotherGroup() const;

    // Reads one group table and leaves the stream at the group's first packed byte. Every
    // count, length and size is checked against what the file still holds before it is
    // used, so a forged number costs no allocation. On failure `fault` says why and the
    // rest of the archive cannot be trusted.
    bool ReadGroupTable(ArchiveGroup &group, lumora::String &fault);

    // Moves past the packed bytes of the group just read, to where the next group starts.
    bool SkipPackedData(const ArchiveGroup &group);

private:
    int64_t Remaining() const { return archive.Size() - archive.GetPos(); }
    bool ReadTag(const char *tag);

    InStream &archive;
    const int codePage;
};

#endif
