#include "install/extraction.h"

#include "install/archive_reader.h"
#include "install/chunked_copy.h"
#include "install/entry_name.h"
#include "install/platform_fs.h"
#include "install/temp_files.h"
#include "lumora/stream.h"

#include <bzlib.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

const int decompressionReadSize = 1024;
const int storeBlockSize = 1 << 16;

struct GroupDecompression {
    bool prepared = false;        // both temp files were made in the chosen folder
    bool streamDamaged = false;   // BZ2_bzread failed before the end of the stream
    bool dataBeyondFiles = false; // the stream holds more than the entries' sizes
};

// libbz2 opens files by 8-bit name only, which cannot spell every folder; the file is opened
// by its wide name and handed over. A failure inside BZ2_bzdopen may or may not have closed the
// descriptor, so it is left alone then rather than closed twice.
BZFILE *OpenCompressedFile(const lumora::String &path)
{
    int descriptor = OpenReadDescriptor(path);
    return descriptor < 0 ? nullptr : BZ2_bzdopen(descriptor, "r");
}

lumora::String FilesNotWritten(size_t count)
{
    return lumora::String::FromInt(static_cast<long long>(count)) +
           (count == 1 ? " file is not written" : " files are not written");
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
    void Fault(const lumora::String &file, const lumora::String &what)
    {
        report.AddFault(component, file, what);
        complete = false;
    }
    void ExtractGroup(InStream &archive, const ArchiveGroup &group);
    GroupDecompression PrepareData(InStream &archive, const ArchiveGroup &group, TempFiles &temp);
    bool StorePackedData(InStream &archive, const ArchiveGroup &group, TempFiles &temp);
    void WriteFiles(const ArchiveGroup &group, const TempFiles &temp);
    void WriteFile(InStream &data, const ArchiveEntry &entry);
    void MakeDirectoryLevels(const lumora::String &name);

    const lumora::String &archiveName;
    const lumora::String targetPrefix;
    InstallProgress &progress;
    InstallReport &report;
    const lumora::String &component;
    const int codePage;
    bool complete = true;
};

bool ArchiveExtraction::Run()
{
    InStream archive(lumora::STREAM_FILE, archiveName, lumora::STREAM_READ);
    ArchiveReader reader(archive, codePage);
    lumora::String fault;
    if (!archive.IsOpen()) {
        Fault(archiveName, "the archive cannot be opened");
    } else if (!reader.Start(fault)) {
        Fault(archiveName, lumora::String("the file ") + fault);
    } else if (!reader.HasAnotherGroup()) {
        Fault(archiveName, "the archive holds no files");
    } else {
        do {
            ArchiveGroup group;
            if (!reader.ReadGroupTable(group, fault)) {
                Fault(archiveName, lumora::String("the archive ") + fault + "; the rest of it is skipped");
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
    // Read-only media cannot hold the temp files; the user's temporary folder can.
    auto temp = std::make_unique<TempFiles>(lumora::String());
    GroupDecompression result = PrepareData(archive, group, *temp);
    if (!result.prepared) {
        temp = std::make_unique<TempFiles>(TemporaryFolder());
        result = PrepareData(archive, group, *temp);
    }
    if (!result.prepared) {
        Fault(archiveName,
              lumora::String("neither the working directory nor the temporary folder can hold the "
                             "temporary files; ") +
                  FilesNotWritten(group.entries.size()));
        return;
    }
    // bzip2 checks a block's CRC only after handing out its data, so nothing of a damaged
    // group can be trusted; nor can data that disagrees with its own table.
    if (result.streamDamaged || result.dataBeyondFiles) {
        Fault(archiveName,
              lumora::String(result.streamDamaged ? "the compressed data of a group is damaged; "
                                                  : "a group holds more data than its file table says; ") +
                  FilesNotWritten(group.entries.size()));
        return;
    }
    WriteFiles(group, *temp);
}

bool ArchiveExtraction::StorePackedData(InStream &archive, const ArchiveGroup &group, TempFiles &temp)
{
    OutStream buffer(lumora::STREAM_FILE, temp.BufferPath(), lumora::STREAM_CREATE);
    if (!buffer.IsOpen()) return false;
    temp.BufferMade();
    std::vector<unsigned char> block(storeBlockSize);
    bool ok = archive.Seek(group.packedOffset);
    for (int64_t remaining = group.packedSize; ok && remaining > 0;) {
        int piece = static_cast<int>(std::min<int64_t>(remaining, storeBlockSize));
        ok = archive.InputData(block.data(), piece) == piece && buffer.OutputData(block.data(), piece);
        remaining -= piece;
    }
    return buffer.Close() && ok;
}

GroupDecompression ArchiveExtraction::PrepareData(InStream &archive, const ArchiveGroup &group,
                                                  TempFiles &temp)
{
    GroupDecompression result;
    if (!StorePackedData(archive, group, temp)) return result;
    BZFILE *packed = OpenCompressedFile(temp.BufferPath());
    if (packed == nullptr) return result;
    OutStream data(lumora::STREAM_FILE, temp.DataPath(), lumora::STREAM_CREATE);
    if (data.IsOpen()) {
        temp.DataMade();
        // Nothing past the entries' sizes is ever used, so a stream that inflates without end
        // fills neither the disk nor the time.
        char buffer[decompressionReadSize];
        int64_t written = 0;
        int count = 0;
        bool writing = true;
        while (writing && (count = BZ2_bzread(packed, buffer, decompressionReadSize)) > 0) {
            writing = data.OutputData(buffer, count);
            written += count;
            if (written > group.unpackedTotal) break;
        }
        result.prepared = data.Close() && writing;
        result.streamDamaged = count < 0;
        result.dataBeyondFiles = written > group.unpackedTotal;
    }
    BZ2_bzclose(packed);
    temp.RemoveBuffer();
    return result;
}

void ArchiveExtraction::WriteFiles(const ArchiveGroup &group, const TempFiles &temp)
{
    InStream data(lumora::STREAM_FILE, temp.DataPath(), lumora::STREAM_READ);
    int64_t available = data.Size();
    int64_t offset = 0;
    for (size_t k = 0; k < group.entries.size(); ++k) {
        const ArchiveEntry &entry = group.entries[k];
        if (entry.size > available - offset) {
            Fault(entry.name, lumora::String("the group's data ends before this file; ") +
                                  FilesNotWritten(group.entries.size() - k));
            break;
        }
        if (entry.nameFault != nullptr) {
            Fault(entry.name, lumora::String(entry.nameFault) + "; the file is not written");
        } else {
            data.Seek(offset);
            WriteFile(data, entry);
        }
        offset += entry.size;
    }
}

void ArchiveExtraction::WriteFile(InStream &data, const ArchiveEntry &entry)
{
    MakeDirectoryLevels(entry.name);
    OutStream file(lumora::STREAM_FILE, targetPrefix + entry.name, lumora::STREAM_CREATE);
    if (!file.IsOpen()) {
        Fault(entry.name, "the file cannot be created");
        return;
    }
    progress.SetFileProgress(0);
    bool copied =
        CopyWithProgress(data, file, entry.size, [this](int percent) { progress.SetFileProgress(percent); });
    if (!file.Close() || !copied) Fault(entry.name, "the file could not be written in full");
}

// Each level is made before the one below it; an existing level is the normal case.
void ArchiveExtraction::MakeDirectoryLevels(const lumora::String &name)
{
    lumora::String level;
    for (int k = 0; k < name.Length(); ++k) {
        wchar_t c = name[k];
        if (IsPathSeparator(c)) MakeDirectory(targetPrefix + level);
        wchar_t character[2] = {IsPathSeparator(c) ? L'\\' : c, L'\0'};
        level.Append(lumora::String(character));
    }
}

} // namespace

bool ExtractArchive(const lumora::String &archiveName, const lumora::String &targetDir,
                    InstallProgress &progress, InstallReport &report, const lumora::String &componentLabel,
                    int codePage)
{
    return ArchiveExtraction(archiveName, targetDir, progress, report, componentLabel, codePage).Run();
}
