#include "install/extraction.h"

#include "install/archive_format.h"
#include "install/chunked_copy.h"
#include "install/entry_name.h"
#include "install/group_decoder.h"
#include "install/phase_times.h"
#include "install/platform_fs.h"
#include "install/temp_files.h"
#include "lumora/stream.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <system_error>
#include <vector>

namespace {

const int transferBlockSize = 1 << 16;

struct GroupDecompression {
    bool prepared = false;        // both temp files were made and written
    bool streamDamaged = false;   // the stream broke off or failed its checks before its end
    bool dataBeyondFiles = false; // the stream holds more than the entries' sizes
    int64_t dataSize = 0;         // bytes in the data file
};

bool CreateTempFile(TempFile &file, const char *name, bool inWorkingFolder)
{
    return inWorkingFolder ? file.Create(name) : file.CreateInTemporaryFolder(name);
}

// Inflates the group's stream, stored in `packed`, into `data`; showUnpack gets each new
// percentage of the packed bytes read.
GroupDecompression Decompress(TempFile &packed, TempFile &data, const ArchiveGroup &group,
                              const std::function<void(int)> &showUnpack)
{
    GroupDecompression result;
    if (!packed.Seek(0)) return result;
    int percentShown = -1;
    // A large group takes seconds to unpack; the bar shows that it does.
    auto packedRead = [&](int64_t bytes) {
        int percent = group.packedSize > 0 ? CopyPercent(bytes, group.packedSize) : 100;
        if (percent == percentShown) return;
        percentShown = percent;
        showUnpack(percent);
    };
    // The inflate phase's time includes the reads and writes timed within it.
    PhaseClock inflateClock(Phase::inflate);
    GroupDecoding decoding = DecodeGroup(
        group,
        [&packed](void *buffer, int count) {
            PhaseClock clock(Phase::inflateRead);
            return packed.Read(buffer, count);
        },
        [&data](const void *bytes, int count) {
            PhaseClock clock(Phase::inflateWrite);
            return data.Write(bytes, count);
        },
        packedRead);
    result.prepared = !decoding.writeFailed;
    // Bytes after the stream's end within its packed length are never read as data.
    result.streamDamaged = decoding.readFailed || (decoding.fault != ArchiveFaultKind::none &&
                                                   decoding.fault != ArchiveFaultKind::bytesAfterStream);
    result.dataBeyondFiles = decoding.beyondTable;
    result.dataSize = decoding.unpacked;
    return result;
}

class ArchiveExtraction {
public:
    ArchiveExtraction(const lumora::String &archiveName, const lumora::String &targetDir,
                      InstallProgress &progress, InstallReport &report, const lumora::String &component,
                      int codePage, int jobs)
        : archiveName(archiveName), targetPrefix(targetDir + "\\"), progress(progress), report(report),
          component(component), codePage(codePage), jobs(jobs),
          folders([&report](const lumora::String &level) { return MakeReportedDirectory(level, report); })
    {
    }

    bool Run();

private:
    void Fault(const lumora::String &file, ArchiveFaultKind kind, size_t filesNotWritten = 0)
    {
        ArchiveFault fault;
        fault.kind = kind;
        fault.found = static_cast<int64_t>(filesNotWritten);
        report.AddFault(component, file, fault);
        complete = false;
    }
    struct GroupInFlight;
    void ExtractGroupsSideBySide(InStream &archive, ArchiveReader &reader);
    void StartGroup(InStream &archive, GroupInFlight &group);
    void FinishGroup(InStream &archive, GroupInFlight &group);
    void ExtractGroup(InStream &archive, const ArchiveGroup &group);
    void WriteGroup(InStream &archive, const ArchiveGroup &group, GroupDecompression result, TempFile &data);
    GroupDecompression PrepareData(InStream &archive, const ArchiveGroup &group, bool inWorkingFolder,
                                   TempFile &data);
    bool StorePackedData(InStream &archive, const ArchiveGroup &group, TempFile &packed);
    void WriteFiles(const ArchiveGroup &group, TempFile &data, int64_t dataSize);
    void WriteFile(TempFile &data, const ArchiveEntry &entry);

    const lumora::String &archiveName;
    const lumora::String targetPrefix;
    InstallProgress &progress;
    InstallReport &report;
    const lumora::String &component;
    const int codePage;
    const int jobs;
    FolderLevels folders;
    bool complete = true;
};

bool ArchiveExtraction::Run()
{
    InStream archive(lumora::STREAM_FILE, archiveName, lumora::STREAM_READ);
    ArchiveReader reader(archive, codePage);
    ArchiveFaultKind fault = ArchiveFaultKind::none;
    if (!archive.IsOpen()) {
        Fault(archiveName, ArchiveFaultKind::cannotOpen);
    } else if ((fault = reader.Start()) != ArchiveFaultKind::none) {
        Fault(archiveName, fault);
    } else if (!reader.HasAnotherGroup()) {
        Fault(archiveName, ArchiveFaultKind::holdsNoFiles);
    } else if (jobs > 1) {
        ExtractGroupsSideBySide(archive, reader);
    } else {
        do {
            ArchiveGroup group;
            if ((fault = reader.ReadGroupTable(group)) != ArchiveFaultKind::none) {
                Fault(archiveName, fault);
                break;
            }
            ExtractGroup(archive, group);
            reader.SkipPackedData(group);
        } while (reader.HasAnotherGroup());
    }
    return complete;
}

// A group whose packed bytes are stored and whose data is being inflated on a thread of its own.
struct ArchiveExtraction::GroupInFlight {
    ArchiveGroup group;
    TempFile packed;
    TempFile data;
    std::atomic<int> unpackPercent{-1};
    std::future<GroupDecompression> decoding; // not valid when the group could not be stored
};

// Later groups are inflated while the earliest one's files are written, each on a thread of its
// own, up to `jobs` at once. Files are written, faults reported and progress shown on this
// thread in the archive's order, so the result is the one the single-threaded way gives.
void ArchiveExtraction::ExtractGroupsSideBySide(InStream &archive, ArchiveReader &reader)
{
    std::deque<std::unique_ptr<GroupInFlight>> inFlight;
    ArchiveFaultKind fault = ArchiveFaultKind::none;
    do {
        auto next = std::make_unique<GroupInFlight>();
        if ((fault = reader.ReadGroupTable(next->group)) != ArchiveFaultKind::none) break;
        StartGroup(archive, *next);
        reader.SkipPackedData(next->group);
        inFlight.push_back(std::move(next));
        if (static_cast<int>(inFlight.size()) == jobs) {
            FinishGroup(archive, *inFlight.front());
            inFlight.pop_front();
        }
    } while (reader.HasAnotherGroup());
    for (; !inFlight.empty(); inFlight.pop_front()) FinishGroup(archive, *inFlight.front());
    // A table that cannot be read is reported after every group before it, as it is found there.
    if (fault != ArchiveFaultKind::none) Fault(archiveName, fault);
}

void ArchiveExtraction::StartGroup(InStream &archive, GroupInFlight &group)
{
    if (!CreateTempFile(group.packed, "buffer.temp", true) ||
        !StorePackedData(archive, group.group, group.packed) ||
        !CreateTempFile(group.data, "data.temp", true)) {
        group.packed.Remove();
        group.data.Remove();
        return;
    }
    try {
        group.decoding = std::async(std::launch::async, [&group] {
            GroupDecompression result = Decompress(group.packed, group.data, group.group,
                                                   [&group](int percent) { group.unpackPercent = percent; });
            group.packed.Remove();
            return result;
        });
    } catch (const std::system_error &) {
        // No thread to be had: FinishGroup inflates the group itself, as if it could not be stored.
        group.packed.Remove();
        group.data.Remove();
    }
}

void ArchiveExtraction::FinishGroup(InStream &archive, GroupInFlight &group)
{
    GroupDecompression result;
    if (group.decoding.valid()) {
        // The bar follows the group being waited for; only this thread calls progress.
        int shown = -1;
        while (group.decoding.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
            int percent = group.unpackPercent;
            if (percent != shown && percent >= 0) progress.SetUnpackProgress(shown = percent);
        }
        result = group.decoding.get();
        // The last value read ends the bar where the single-threaded way ends it.
        int last = group.unpackPercent;
        if (last != shown && last >= 0) progress.SetUnpackProgress(last);
    }
    WriteGroup(archive, group.group, result, group.data);
    group.data.Remove();
}

void ArchiveExtraction::ExtractGroup(InStream &archive, const ArchiveGroup &group)
{
    TempFile data;
    WriteGroup(archive, group, PrepareData(archive, group, true, data), data);
}

void ArchiveExtraction::WriteGroup(InStream &archive, const ArchiveGroup &group, GroupDecompression result,
                                   TempFile &data)
{
    // The working folder's names come first, where nobody else holds them; a working folder
    // that fills up or fails sends both files to the user's temporary folder. The archive may
    // be read then out of turn, so the reader's place is kept.
    if (!result.prepared && !result.streamDamaged) {
        int64_t readerPlace = archive.GetPos();
        result = PrepareData(archive, group, false, data);
        archive.Seek(readerPlace);
    }
    if (!result.prepared) {
        Fault(archiveName, ArchiveFaultKind::noRoomForTemporaryFiles, group.entries.size());
        return;
    }
    // bzip2 checks a block's CRC only after handing out its data, so nothing of a damaged
    // group can be trusted; nor can data that disagrees with its own table.
    if (result.streamDamaged || result.dataBeyondFiles) {
        Fault(archiveName,
              result.streamDamaged ? ArchiveFaultKind::groupDataDamaged : ArchiveFaultKind::dataBeyondTable,
              group.entries.size());
        return;
    }
    WriteFiles(group, data, result.dataSize);
}

bool ArchiveExtraction::StorePackedData(InStream &archive, const ArchiveGroup &group, TempFile &packed)
{
    PhaseClock clock(Phase::storePacked);
    std::vector<unsigned char> block(transferBlockSize);
    bool ok = archive.Seek(group.packedOffset);
    for (int64_t remaining = group.packedSize; ok && remaining > 0;) {
        int piece = static_cast<int>(std::min<int64_t>(remaining, transferBlockSize));
        ok = archive.InputData(block.data(), piece) == piece && packed.Write(block.data(), piece);
        remaining -= piece;
    }
    return ok;
}

GroupDecompression ArchiveExtraction::PrepareData(InStream &archive, const ArchiveGroup &group,
                                                  bool inWorkingFolder, TempFile &data)
{
    TempFile packed;
    if (!CreateTempFile(packed, "buffer.temp", inWorkingFolder) || !StorePackedData(archive, group, packed))
        return GroupDecompression();
    if (!CreateTempFile(data, "data.temp", inWorkingFolder)) return GroupDecompression();
    return Decompress(packed, data, group, [this](int percent) { progress.SetUnpackProgress(percent); });
}

void ArchiveExtraction::WriteFiles(const ArchiveGroup &group, TempFile &data, int64_t dataSize)
{
    int64_t offset = 0;
    for (size_t k = 0; k < group.entries.size(); ++k) {
        const ArchiveEntry &entry = group.entries[k];
        if (entry.size > dataSize - offset) {
            Fault(entry.name, ArchiveFaultKind::dataEndsBeforeFile, group.entries.size() - k);
            break;
        }
        if (entry.nameFault != ArchiveFaultKind::none) {
            Fault(entry.name, entry.nameFault);
        } else if (!data.Seek(offset)) {
            Fault(entry.name, ArchiveFaultKind::temporaryDataUnreadable);
        } else {
            WriteFile(data, entry);
        }
        offset += entry.size;
    }
}

void ArchiveExtraction::WriteFile(TempFile &data, const ArchiveEntry &entry)
{
    PhaseTimes::Count(Tally::files);
    const lumora::String path = targetPrefix + entry.name;
    PhaseClock clock(Phase::folders);
    // Each level is made before the one below it.
    folders.MakeFor(path, targetPrefix.Length());
    clock.Switch(Phase::fileCreate);
    OutStream file(lumora::STREAM_FILE, path, lumora::STREAM_CREATE);
    clock.Switch(Phase::fileCopy);
    if (!file.IsOpen()) {
        folders.Forget();
        Fault(entry.name, ArchiveFaultKind::fileNotCreated);
        return;
    }
    progress.SetFileProgress(0);
    auto read = [&data](void *buffer, int count) { return data.Read(buffer, count); };
    bool copied =
        CopyWithProgress(read, file, entry.size, [this](int percent) { progress.SetFileProgress(percent); });
    clock.Switch(Phase::fileClose);
    if (file.Close() && copied) {
        progress.FileDone();
        report.FileWritten(path, entry.size);
    } else {
        Fault(entry.name, ArchiveFaultKind::fileNotWrittenInFull);
    }
}

} // namespace

bool MakeReportedDirectory(const lumora::String &path, InstallReport &report)
{
    bool made = MakeDirectory(path);
    if (made) report.FolderMade(path);
    return made;
}

bool ExtractArchive(const lumora::String &archiveName, const lumora::String &targetDir,
                    InstallProgress &progress, InstallReport &report, const lumora::String &componentLabel,
                    int codePage, int jobs)
{
    return ArchiveExtraction(archiveName, targetDir, progress, report, componentLabel, codePage, jobs).Run();
}
