#include "install/archive_format.h"

#include "install/entry_name.h"
#include "lumora/stream.h"

ArchiveFaultKind ArchiveReader::Start()
{
    bool ok = archive.Seek(0) && archive.Size() >= magicWidth;
    for (int k = 0; ok && k < magicWidth; ++k) {
        if (archive.InputNumber(1) != static_cast<unsigned char>(archiveMagic[k])) ok = false;
    }
    return ok ? ArchiveFaultKind::none : ArchiveFaultKind::notAnArchive;
}

bool ArchiveReader::HasAnotherGroup() const
{
    return archive.GetPos() < archive.Size() - 1;
}

int64_t ArchiveReader::Remaining() const
{
    return archive.Size() - archive.GetPos();
}

bool ArchiveReader::ReadTag(const char *tag)
{
    bool same = true;
    for (int k = 0; k < tagWidth; ++k) {
        if (archive.InputNumber(1) != static_cast<unsigned char>(tag[k])) same = false;
    }
    return same;
}

ArchiveFaultKind ArchiveReader::ReadGroupTable(ArchiveGroup &group)
{
    group = ArchiveGroup();
    if (Remaining() < tableHeadWidth + streamHeadWidth) return ArchiveFaultKind::tableCut;
    int64_t fileCount = static_cast<int64_t>(archive.InputNumber(countWidth));
    if (!ReadTag(filesTag)) return ArchiveFaultKind::noFilesTag;
    if (fileCount >= numberLimit || fileCount * smallestEntryWidth > Remaining() - streamHeadWidth)
        return ArchiveFaultKind::countBeyondArchive;
    for (int64_t k = 0; k < fileCount; ++k) {
        if (Remaining() < nameLengthWidth) return ArchiveFaultKind::tableCut;
        int nameLength = static_cast<int>(archive.InputNumber(nameLengthWidth));
        if (nameLength + sizeWidth + streamHeadWidth > Remaining()) return ArchiveFaultKind::tableCut;
        ArchiveEntry entry;
        entry.storedName.resize(static_cast<size_t>(nameLength));
        if (nameLength > 0) archive.InputData(&entry.storedName[0], nameLength);
        entry.nameFault = DecodeEntryName(entry.storedName, codePage, entry.name);
        entry.size = static_cast<int64_t>(archive.InputNumber(sizeWidth));
        if (entry.size >= numberLimit) return ArchiveFaultKind::sizeBeyondLimit;
        group.unpackedTotal += entry.size;
        group.entries.push_back(entry);
    }
    if (!ReadTag(cdataTag)) return ArchiveFaultKind::noCdataTag;
    group.packedSize = static_cast<int64_t>(archive.InputNumber(lengthWidth));
    group.unpackedSize = static_cast<int64_t>(archive.InputNumber(lengthWidth));
    group.packedOffset = archive.GetPos();
    if (group.packedSize >= numberLimit || group.unpackedSize >= numberLimit)
        return ArchiveFaultKind::lengthBeyondLimit;
    if (group.packedSize > Remaining()) return ArchiveFaultKind::packedDataCut;
    return ArchiveFaultKind::none;
}

bool ArchiveReader::SkipPackedData(const ArchiveGroup &group)
{
    return archive.Seek(group.packedOffset + group.packedSize);
}

void AppendNumber(std::string &bytes, uint64_t value, int width)
{
    for (int k = 0; k < width; ++k) bytes += static_cast<char>((value >> (8 * k)) & 0xff);
}

void AppendTableHead(std::string &bytes, size_t fileCount)
{
    AppendNumber(bytes, fileCount, countWidth);
    bytes.append(filesTag, tagWidth);
}

void AppendTableEntry(std::string &bytes, const std::string &storedName, int64_t size)
{
    AppendNumber(bytes, storedName.size(), nameLengthWidth);
    bytes += storedName;
    AppendNumber(bytes, static_cast<uint64_t>(size), sizeWidth);
}

void AppendStreamHead(std::string &bytes, int64_t packedSize, int64_t unpackedSize)
{
    bytes.append(cdataTag, tagWidth);
    AppendNumber(bytes, static_cast<uint64_t>(packedSize), lengthWidth);
    AppendNumber(bytes, static_cast<uint64_t>(unpackedSize), lengthWidth);
}
