#include "tools/archive_check.h"

#include "install/archive_reader.h"
#include "install/entry_name.h"
#include "lumora/stream.h"
#include "tools/terminal_text.h"

#include <bzlib.h>

#include <algorithm>
#include <vector>

namespace {

// Decompresses the group's packed bytes from the archive's position; returns the fault or "".
std::string CheckStream(InStream &archive, const ArchiveGroup &group, int64_t &decompressed)
{
    bz_stream bz{};
    if (BZ2_bzDecompressInit(&bz, 0, 0) != BZ_OK) return "cannot start the bzip2 decompressor";
    std::vector<char> input(1 << 16), output(1 << 16);
    int64_t packedLeft = group.packedSize;
    int status = BZ_OK;
    decompressed = 0;
    bool produced = true;
    while (status == BZ_OK) {
        if (bz.avail_in == 0 && packedLeft > 0) {
            int piece = static_cast<int>(std::min<int64_t>(packedLeft, static_cast<int64_t>(input.size())));
            int got = archive.InputData(input.data(), piece);
            packedLeft -= piece;
            if (got != piece) break;
            bz.next_in = input.data();
            bz.avail_in = static_cast<unsigned>(got);
        } else if (bz.avail_in == 0 && !produced) {
            break; // input used up and nothing more comes out: the stream is cut short
        }
        bz.next_out = output.data();
        bz.avail_out = static_cast<unsigned>(output.size());
        status = BZ2_bzDecompress(&bz);
        int64_t count = static_cast<int64_t>(output.size() - bz.avail_out);
        produced = count > 0;
        decompressed += count;
    }
    unsigned leftOver = bz.avail_in;
    BZ2_bzDecompressEnd(&bz);
    if (status == BZ_DATA_ERROR) return "its compressed data is damaged (bzip2 CRC or data error)";
    if (status == BZ_DATA_ERROR_MAGIC) return "its compressed data is not a bzip2 stream";
    if (status != BZ_STREAM_END) return "its bzip2 stream ends early";
    if (leftOver > 0 || packedLeft > 0) return "bytes follow its bzip2 stream within the packed length";
    return "";
}

void AddGroup(ArchiveListing &listing, const ArchiveGroup &group)
{
    ++listing.groups;
    listing.packedBytes += group.packedSize;
    for (const ArchiveEntry &entry : group.entries) {
        listing.entries.push_back(
            ListedEntry{DecodedNameText(entry.name), entry.size, listing.groups, entry.nameFault != nullptr});
        listing.storedBytes += entry.size;
    }
}

} // namespace

ArchiveListing ListArchive(const std::string &path, int codePage)
{
    ArchiveListing listing;
    InStream archive(lumora::STREAM_FILE, lumora::String(path.c_str()), lumora::STREAM_READ);
    if (!archive.IsOpen()) {
        listing.fault = "the archive cannot be opened";
        return listing;
    }
    ArchiveReader reader(archive, codePage);
    lumora::String fault;
    if (!reader.Start(fault)) {
        listing.fault = std::string("the file ") + static_cast<const char *>(fault);
        return listing;
    }
    while (reader.HasAnotherGroup()) {
        ArchiveGroup group;
        if (!reader.ReadGroupTable(group, fault)) {
            listing.fault = "group " + std::to_string(listing.groups + 1) + ": the archive " +
                            static_cast<const char *>(fault);
            break;
        }
        AddGroup(listing, group);
        reader.SkipPackedData(group);
    }
    return listing;
}

VerifyResult VerifyArchive(const std::string &path, int codePage)
{
    VerifyResult result;
    InStream archive(lumora::STREAM_FILE, lumora::String(path.c_str()), lumora::STREAM_READ);
    if (!archive.IsOpen()) {
        result.faults.push_back(ArchiveFault{0, "", "the archive cannot be opened"});
        return result;
    }
    ArchiveReader reader(archive, codePage);
    lumora::String fault;
    if (!reader.Start(fault)) {
        result.faults.push_back(
            ArchiveFault{0, "", std::string("the file ") + static_cast<const char *>(fault)});
        return result;
    }
    if (!reader.HasAnotherGroup()) result.faults.push_back(ArchiveFault{0, "", "the archive holds no group"});
    while (reader.HasAnotherGroup()) {
        ArchiveGroup group;
        int number = result.listing.groups + 1;
        if (!reader.ReadGroupTable(group, fault)) {
            // Nothing after a damaged table can be found, so it is the archive's last finding.
            result.faults.push_back(
                ArchiveFault{number, "", std::string("the archive ") + static_cast<const char *>(fault)});
            return result;
        }
        AddGroup(result.listing, group);
        for (const ArchiveEntry &entry : group.entries) {
            if (entry.nameFault != nullptr)
                result.faults.push_back(ArchiveFault{number, DecodedNameText(entry.name), entry.nameFault});
        }
        if (group.unpackedSize != group.unpackedTotal) {
            result.faults.push_back(ArchiveFault{number, "",
                                                 "its unpacked length " + std::to_string(group.unpackedSize) +
                                                     " differs from the sum of its sizes " +
                                                     std::to_string(group.unpackedTotal)});
        }
        int64_t decompressed = 0;
        std::string streamFault = CheckStream(archive, group, decompressed);
        if (!streamFault.empty()) {
            result.faults.push_back(ArchiveFault{number, "", streamFault});
        } else if (decompressed != group.unpackedTotal) {
            result.faults.push_back(ArchiveFault{number, "",
                                                 "it decompresses to " + std::to_string(decompressed) +
                                                     " bytes, its files need " +
                                                     std::to_string(group.unpackedTotal)});
        }
        reader.SkipPackedData(group);
    }
    result.trailingByte = archive.GetPos() < archive.Size();
    return result;
}

std::string FaultText(const ArchiveFault &fault)
{
    std::string text = fault.group > 0 ? "group " + std::to_string(fault.group) + ": " : "";
    if (!fault.entry.empty()) text += fault.entry + ": ";
    return text + fault.what;
}
