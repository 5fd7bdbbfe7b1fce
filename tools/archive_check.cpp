#include "tools/archive_check.h"

#include "install/archive_format.h"
#include "install/group_decoder.h"
#include "lumora/stream.h"
#include "tools/program_file.h"
#include "tools/terminal_text.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// Decompresses the group's packed bytes from the archive's position, as the installer does
// and without keeping them; returns the fault or none.
ArchiveFaultKind CheckStream(InStream &archive, const ArchiveGroup &group, int64_t &decompressed,
                             const std::function<void(int64_t, const char *, int)> &look)
{
    int64_t offset = 0;
    GroupDecoding decoding = DecodeGroup(
        group, [&archive](void *buffer, int count) { return archive.InputData(buffer, count); },
        [&](const void *data, int count) {
            look(offset, static_cast<const char *>(data), count);
            offset += count;
            return true;
        });
    decompressed = decoding.unpacked;
    return decoding.readFailed ? ArchiveFaultKind::streamEndsEarly : decoding.fault;
}

void AddGroup(ArchiveListing &listing, const ArchiveGroup &group)
{
    ++listing.groups;
    listing.packedBytes += group.packedSize;
    for (const ArchiveEntry &entry : group.entries) {
        listing.entries.push_back(ListedEntry{DecodedNameText(entry.name), entry.size, listing.groups,
                                              entry.nameFault != ArchiveFaultKind::none,
                                              static_cast<const wchar_t *>(entry.name), 0});
        listing.storedBytes += entry.size;
    }
}

ArchiveFault Fault(ArchiveFaultKind kind, int group = 0, const lumora::String &entry = lumora::String(),
                   int64_t found = 0, int64_t expected = 0)
{
    ArchiveFault fault;
    fault.kind = kind;
    fault.group = group;
    fault.entry = entry;
    fault.found = found;
    fault.expected = expected;
    return fault;
}

// The first bytes of each program file of a group as it decompresses, enough for its headers.
class ProgramHeads {
public:
    ProgramHeads(const ArchiveGroup &group, size_t firstListed)
    {
        int64_t start = 0;
        for (size_t k = 0; k < group.entries.size(); ++k) {
            const ArchiveEntry &entry = group.entries[k];
            std::wstring name = static_cast<const wchar_t *>(entry.name);
            std::wstring tail = name.size() >= 4 ? name.substr(name.size() - 4) : L"";
            for (wchar_t &c : tail) c = static_cast<wchar_t>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
            if (tail == L".exe" || tail == L".dll")
                heads.push_back(Head{firstListed + k, start, std::min<int64_t>(entry.size, headLength), ""});
            start += entry.size;
        }
    }
    void Look(int64_t offset, const char *data, int count)
    {
        for (Head &head : heads) {
            int64_t from = std::max(offset, head.start),
                    to = std::min(offset + count, head.start + head.length);
            if (from < to) head.bytes.append(data + (from - offset), static_cast<size_t>(to - from));
        }
    }
    void Record(ArchiveListing &listing) const
    {
        for (const Head &head : heads) {
            ProgramHeader header = ReadProgramHeader(head.bytes);
            if (header.isProgram) listing.entries[head.listed].machine = header.machine;
        }
    }

private:
    static constexpr int64_t headLength = 4096;
    struct Head {
        size_t listed;
        int64_t start, length;
        std::string bytes;
    };
    std::vector<Head> heads;
};

} // namespace

ArchiveListing ListArchive(const lumora::String &path, int codePage)
{
    ArchiveListing listing;
    InStream archive(lumora::STREAM_FILE, path, lumora::STREAM_READ);
    if (!archive.IsOpen()) {
        listing.fault = Fault(ArchiveFaultKind::cannotOpen);
        return listing;
    }
    ArchiveReader reader(archive, codePage);
    ArchiveFaultKind fault = reader.Start();
    if (fault != ArchiveFaultKind::none) {
        listing.fault = Fault(fault);
        return listing;
    }
    while (reader.HasAnotherGroup()) {
        ArchiveGroup group;
        if ((fault = reader.ReadGroupTable(group)) != ArchiveFaultKind::none) {
            listing.fault = Fault(fault, listing.groups + 1);
            break;
        }
        AddGroup(listing, group);
        reader.SkipPackedData(group);
    }
    return listing;
}

lumora::String EngineText(const std::filesystem::path &path)
{
#ifdef _WIN32
    return lumora::String(path.wstring().c_str());
#else
    return lumora::String(path.string().c_str());
#endif
}

VerifyResult VerifyArchive(const lumora::String &path, int codePage)
{
    VerifyResult result;
    InStream archive(lumora::STREAM_FILE, path, lumora::STREAM_READ);
    if (!archive.IsOpen()) {
        result.faults.push_back(Fault(ArchiveFaultKind::cannotOpen));
        return result;
    }
    ArchiveReader reader(archive, codePage);
    ArchiveFaultKind fault = reader.Start();
    if (fault != ArchiveFaultKind::none) {
        result.faults.push_back(Fault(fault));
        return result;
    }
    if (!reader.HasAnotherGroup()) result.faults.push_back(Fault(ArchiveFaultKind::holdsNoGroup));
    while (reader.HasAnotherGroup()) {
        ArchiveGroup group;
        int number = result.listing.groups + 1;
        if ((fault = reader.ReadGroupTable(group)) != ArchiveFaultKind::none) {
            // Nothing after a damaged table can be found, so it is the archive's last finding.
            result.faults.push_back(Fault(fault, number));
            return result;
        }
        size_t firstListed = result.listing.entries.size();
        AddGroup(result.listing, group);
        ProgramHeads programs(group, firstListed);
        for (const ArchiveEntry &entry : group.entries) {
            if (entry.nameFault != ArchiveFaultKind::none)
                result.faults.push_back(Fault(entry.nameFault, number, entry.name));
        }
        if (group.unpackedSize != group.unpackedTotal) {
            result.faults.push_back(Fault(ArchiveFaultKind::unpackedLengthDiffers, number, lumora::String(),
                                          group.unpackedSize, group.unpackedTotal));
        }
        int64_t decompressed = 0;
        ArchiveFaultKind streamFault =
            CheckStream(archive, group, decompressed, [&](int64_t offset, const char *data, int count) {
                programs.Look(offset, data, count);
            });
        programs.Record(result.listing);
        if (streamFault != ArchiveFaultKind::none) {
            result.faults.push_back(Fault(streamFault, number));
        } else if (decompressed != group.unpackedTotal) {
            result.faults.push_back(Fault(ArchiveFaultKind::decompressedLengthDiffers, number,
                                          lumora::String(), decompressed, group.unpackedTotal));
        }
        reader.SkipPackedData(group);
    }
    result.trailingByte = archive.GetPos() < archive.Size();
    return result;
}

std::string FaultText(const ArchiveFault &fault)
{
    std::string text = fault.group > 0 ? "group " + std::to_string(fault.group) + ": " : "";
    if (fault.entry.Length() > 0) text += DecodedNameText(fault.entry) + ": ";
    return text + FaultWords(fault);
}
