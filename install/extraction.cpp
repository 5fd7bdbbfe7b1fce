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

// Inflates the group's stream, stored in `packed`, into `data`.
GroupDecompression Decompress(TempFile &packed, TempFile &data, const ArchiveGroup &group,
                              InstallProgress &progress)
{
    GroupDecompression result;
    if (!packed.Seek(0)) return result;
    int percentShown = -1;
    // A large group takes seconds to unpack; the bar shows that it does.
    auto packedRead = [&](int64_t bytes) {
        int percent = group.packedSize > 0 ? CopyPercent(bytes, group.packedSize) : 100;
        if (percent == percentShown) return;
        percentShown = percent;
        progress.SetUnpackProgress(percent);
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
                      int codePage)
        : archiveName(archiveName), targetPrefix(targetDir + "\\"), progress(progress), report(report),
          component(component), codePage(codePage)
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
    void ExtractGroup(InStream &archive, const ArchiveGroup &group);
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

void ArchiveExtraction::ExtractGroup(InStream &archive, const ArchiveGroup &group)
{
    // The working folder's names first, where nobody else holds them; a working folder that
    // fills up or fails sends both files to the user's temporary folder.
    TempFile data;
    GroupDecompression result = PrepareData(archive, group, true, data);
    if (!result.prepared && !result.streamDamaged) result = PrepareData(archive, group, false, data);
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
    return Decompress(packed, data, group, progress);
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
    if (file.Close() && copied)
        progress.FileDone();
    else
        Fault(entry.name, ArchiveFaultKind::fileNotWrittenInFull);
}

} // namespace

bool ExtractArchive(const lumora::String &archiveName, const lumora::String &targetDir,
                    InstallProgress &progress, InstallReport &report, const lumora::String &componentLabel,
                    int codePage)
{
    return ArchiveExtraction(archiveName, targetDir, progress, report, componentLabel, codePage).Run();
}
