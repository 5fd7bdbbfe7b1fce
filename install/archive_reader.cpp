#include "install/archive_reader.h"

#include "install/entry_name.h"

namespace {

const char magic[] = "TSA";
const int64_t numberLimit = int64_t(1) << 31; // every stored number fits a signed 32-bit int
const int tagWidth = 5;
const int64_t tableHeadWidth = 4 + tagWidth;
const int64_t smallestEntryWidth = 2 + 4;
const int64_t streamHeadWidth = tagWidth + 4 + 4;

} // namespace

bool ArchiveReader::Start(lumora::String &fault)
{
    bool ok = archive.Seek(0) && archive.Size() >= 3;
    for (int k = 0; ok && k < 3; ++k) {
        if (archive.InputNumber(1) != static_cast<unsigned char>(magic[k])) ok = false;
    }
    if (!ok) fault = "is not a component archive (no \"TSA\" at its start)";
    return ok;
}

bool ArchiveReader::HasAnotherGroup() const
{
    return archive.GetPos() < archive.Size() - 1;
}

bool ArchiveReader::ReadTag(const char *tag)
{
    bool same = true;
    for (int k = 0; k < tagWidth; ++k) {
        if (archive.InputNumber(1) != static_cast<unsigned char>(tag[k])) same = false;
    }
    return same;
}

bool ArchiveReader::ReadGroupTable(ArchiveGroup &group, lumora::String &fault)
{
    group = ArchiveGroup();
    if (Remaining() < tableHeadWidth + streamHeadWidth) {
        fault = "ends inside a group table";
        return false;
    }
    int64_t fileCount = static_cast<int64_t>(archive.InputNumber(4));
    if (!ReadTag("FILES")) {
        fault = "has a damaged group table (no \"FILES\" tag)";
        return false;
    }
    if (fileCount >= numberLimit || fileCount * smallestEntryWidth > Remaining() - streamHeadWidth) {
        fault = "has a group whose file count exceeds what the archive holds";
        return false;
    }
    for (int64_t k = 0; k < fileCount; ++k) {
        if (Remaining() < 2) {
            fault = "ends inside a group table";
            return false;
        }
        int nameLength = static_cast<int>(archive.InputNumber(2));
        if (nameLength + 4 + streamHeadWidth > Remaining()) {
            fault = "ends inside a group table";
            return false;
        }
        ArchiveEntry entry;
        entry.storedName.resize(static_cast<size_t>(nameLength));
        if (nameLength > 0) archive.InputData(&entry.storedName[0], nameLength);
        entry.nameFault = DecodeEntryName(entry.storedName, codePage, entry.name);
        entry.size = static_cast<int64_t>(archive.InputNumber(4));
        if (entry.size >= numberLimit) {
            fault = "has a file size beyond 2 GB in a group table";
            return false;
        }
        group.unpackedTotal += entry.size;
        group.entries.push_back(entry);
    }
    if (!ReadTag("CDATA")) {
        fault = "has a damaged group table (no \"CDATA\" tag)";
        return false;
    }
    group.packedSize = static_cast<int64_t>(archive.InputNumber(4));
    group.unpackedSize = static_cast<int64_t>(archive.InputNumber(4));
    group.packedOffset = archive.GetPos();
    if (group.packedSize >= numberLimit || group.unpackedSize >= numberLimit) {
        fault = "has a group length beyond 2 GB";
        return false;
    }
    if (group.packedSize > Remaining()) {
        fault = "ends inside a group's compressed data";
        return false;
    }
    return true;
}

bool ArchiveReader::SkipPackedData(const ArchiveGroup &group)
{
    return archive.Seek(group.packedOffset + group.packedSize);
}
