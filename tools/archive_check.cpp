#include "tools/archive_check.h"

#include "install/archive_reader.h"
#include "lumora/stream.h"

#include <bzlib.h>

#include <algorithm>
#include <vector>

namespace {

std::string Narrow(const lumora::String &text)
{
    return static_cast<const char *>(text);
}

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

} // namespace

bool ListArchive(const std::string &path, std::vector<ListedEntry> &entries, std::string &error, int codePage)
{
    InStream archive(lumora::STREAM_FILE, lumora::String(path.c_str()), lumora::STREAM_READ);
    if (!archive.IsOpen()) {
        error = "cannot open " + path;
        return false;
    }
    ArchiveReader reader(archive, codePage);
    lumora::String fault;
    bool ok = reader.Start(fault);
    for (int group = 1; ok && reader.HasAnotherGroup(); ++group) {
        ArchiveGroup table;
        ok = reader.ReadGroupTable(table, fault) && reader.SkipPackedData(table);
        for (const ArchiveEntry &entry : table.entries)
            entries.push_back(ListedEntry{Narrow(entry.name), entry.size, group});
    }
    if (!ok) error = path + ": the archive " + static_cast<const char *>(fault);
    return ok;
}

VerifyResult VerifyArchive(const std::string &path, int codePage)
{
    VerifyResult result;
    InStream archive(lumora::STREAM_FILE, lumora::String(path.c_str()), lumora::STREAM_READ);
    if (!archive.IsOpen()) {
        result.faults.push_back("cannot open " + path);
        return result;
    }
    ArchiveReader reader(archive, codePage);
    lumora::String fault;
    if (!reader.Start(fault)) {
        result.faults.push_back(std::string("the file ") + static_cast<const char *>(fault));
        return result;
    }
    if (!reader.HasAnotherGroup()) result.faults.push_back("the archive holds no group");
    while (reader.HasAnotherGroup()) {
        ArchiveGroup group;
        std::string where = "group " + std::to_string(result.groups + 1) + ": ";
        if (!reader.ReadGroupTable(group, fault)) {
            result.faults.push_back(where + "the archive " + static_cast<const char *>(fault));
            break;
        }
        ++result.groups;
        result.files += static_cast<int64_t>(group.entries.size());
        result.unpackedBytes += group.unpackedTotal;
        for (const ArchiveEntry &entry : group.entries) {
            if (entry.nameFault != nullptr)
                result.faults.push_back(where + Narrow(entry.name) + ": " + entry.nameFault);
        }
        if (group.unpackedSize != group.unpackedTotal) {
            result.faults.push_back(where + "its unpacked length " + std::to_string(group.unpackedSize) +
                                    " differs from the sum of its sizes " +
                                    std::to_string(group.unpackedTotal));
        }
        int64_t decompressed = 0;
        std::string streamFault = CheckStream(archive, group, decompressed);
        if (!streamFault.empty()) {
            result.faults.push_back(where + streamFault);
        } else if (decompressed != group.unpackedTotal) {
            result.faults.push_back(where + "it decompresses to " + std::to_string(decompressed) +
                                    " bytes, its files need " + std::to_string(group.unpackedTotal));
        }
        reader.SkipPackedData(group);
    }
    if (archive.GetPos() < archive.Size()) {
        result.faults.push_back("one stray byte follows the last group");
    }
    return result;
}
