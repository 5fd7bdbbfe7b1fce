#include "tools/archive_writer.h"

#include "install/archive_format.h"
#include "install/entry_name.h"
#include "lumora/utf8.h"

#include <bzlib.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <numeric>
#include <set>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

const int readPiece = 1 << 20;
// The installer holds one group's table in memory; this keeps it small for many tiny files.
const size_t groupFileLimit = 4096;

// The name as stored, or false when the system cannot give it as bytes.
bool StoredForm(const fs::path &path, std::string &name)
{
    try {
        name = path.generic_string();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

std::string Shown(const fs::path &path)
{
    std::string text;
    return StoredForm(path, text) ? text : "a path that cannot be shown";
}

// A pattern ending in "/" names folders only; the "/" before its end decides, as for others,
// whether it is matched against the whole path or against each level.
bool Excludes(const std::string &pattern, const std::string &relative, const std::string &level, bool folder)
{
    std::string body = pattern;
    bool foldersOnly = !body.empty() && body.back() == '/';
    if (foldersOnly) body.pop_back();
    if (foldersOnly && !folder) return false;
    bool whole = body.find('/') != std::string::npos;
    return MatchesPattern(body, whole ? relative : level);
}

class Collector {
public:
    Collector(const PackOptions &options, Collection &collection)
        : options(options), collection(collection), used(options.excludes.size(), false)
    {
    }

    bool Excluded(const std::string &relative, const std::string &level, bool folder)
    {
        for (size_t k = 0; k < options.excludes.size(); ++k) {
            if (!Excludes(options.excludes[k], relative, level, folder)) continue;
            used[k] = true;
            return true;
        }
        return false;
    }

    // A pattern that left nothing out is most likely written other than meant.
    void NoteUnusedPatterns()
    {
        for (size_t k = 0; k < used.size(); ++k) {
            if (!used[k])
                collection.notes.push_back("warning: --exclude " + options.excludes[k] + " matches nothing");
        }
    }

    void AddFile(const fs::path &source, const std::string &relative)
    {
        std::error_code code;
        uintmax_t size = fs::file_size(source, code);
        std::string name = options.prefix + relative;
        if (code) {
            Fault(source, "cannot be read: " + code.message());
        } else if (size >= static_cast<uintmax_t>(numberLimit)) {
            Fault(source, "is 2 GB or larger, more than an archive entry can hold");
        } else {
            collection.entries.push_back(PackEntry{source, "", static_cast<int64_t>(size), name});
        }
    }

    void AddFolder(const fs::path &root)
    {
        std::vector<std::pair<fs::path, std::string>> files;
        std::vector<std::string> folders;
        Walk(root, "", files, folders);
        std::sort(files.begin(), files.end());
        std::set<std::string> filled;
        for (const auto &file : files) {
            AddFile(file.first, file.second);
            for (size_t end = file.second.find('/'); end != std::string::npos;
                 end = file.second.find('/', end + 1))
                filled.insert(file.second.substr(0, end));
        }
        if (files.empty()) {
            Note(root, "holds no file, so nothing of it is stored");
            return;
        }
        // Only the topmost of a run of empty folders is named; the ones inside go with it.
        for (const std::string &folder : folders) {
            size_t slash = folder.rfind('/');
            bool parentFilled = slash == std::string::npos || filled.count(folder.substr(0, slash)) > 0;
            if (filled.count(folder) == 0 && parentFilled)
                Note(root / folder, "is an empty folder, which an archive cannot hold; left out");
        }
    }

private:
    void Walk(const fs::path &folder, const std::string &relative,
              std::vector<std::pair<fs::path, std::string>> &files, std::vector<std::string> &folders)
    {
        std::error_code code;
        fs::directory_iterator it(folder, code);
        for (; !code && it != fs::directory_iterator(); it.increment(code)) {
            const fs::path &path = it->path();
            std::string level;
            if (!StoredForm(path.filename(), level)) {
                Fault(path, "has a name that cannot be stored as bytes");
                continue;
            }
            std::string below = relative.empty() ? level : relative + "/" + level;
            std::error_code kind;
            bool isFolder = it->is_directory(kind) && !it->is_symlink(kind);
            if (Excluded(below, level, isFolder)) continue;
            if (isFolder) {
                folders.push_back(below);
                Walk(path, below, files, folders);
            } else if (it->is_regular_file(kind)) {
                files.emplace_back(path, below);
            } else {
                Note(path, "is neither a file nor a folder (links to folders are not followed); left out");
            }
        }
        if (code) Fault(folder, "cannot be read: " + code.message());
    }

    void Fault(const fs::path &path, const std::string &what)
    {
        collection.faults.push_back(Shown(path) + ": " + what);
    }
    void Note(const fs::path &path, const std::string &what)
    {
        collection.notes.push_back(Shown(path) + ": " + what);
    }

    const PackOptions &options;
    Collection &collection;
    std::vector<bool> used; // by the exclude patterns, in their order
};

// A name as std::filesystem gives it in narrow form: UTF-8, on Windows too.
lumora::String FromUtf8(const std::string &name)
{
    std::wstring wide = lumora::WideFromUtf8(name);
    return lumora::String(wide.data(), static_cast<int>(wide.size()));
}

// Windows keeps one file of names that differ only in letter case, and cannot hold a file
// and a folder of one name. Each name that passes is stored in the code page.
void RefuseNames(Collection &collection, int codePage)
{
    std::map<std::string, const PackEntry *> files;
    std::set<std::string> folders;
    for (const PackEntry &entry : collection.entries) {
        std::string folded = FoldedName(entry.sourceName);
        for (size_t end = folded.find('/'); end != std::string::npos; end = folded.find('/', end + 1))
            folders.insert(folded.substr(0, end));
    }
    for (PackEntry &entry : collection.entries) {
        std::string source = Shown(entry.sourcePath);
        lumora::String name = FromUtf8(entry.sourceName);
        ArchiveFaultKind fault = PackNameFault(name);
        ArchiveFaultKind encodingFault = fault == ArchiveFaultKind::none
                                             ? EncodeEntryName(name, codePage, entry.name)
                                             : ArchiveFaultKind::none;
        std::string folded = FoldedName(entry.sourceName);
        auto first = files.emplace(folded, &entry);
        if (fault != ArchiveFaultKind::none) {
            collection.faults.push_back(source + ": " + FaultWords(fault));
        } else if (encodingFault != ArchiveFaultKind::none) {
            collection.faults.push_back(source + ": " + FaultWords(encodingFault) +
                                        (HasCodePageTables(codePage)
                                             ? " (code page " + std::to_string(codePage) + ")"
                                             : std::string(" (see --code-page)")));
        } else if (entry.name.size() > static_cast<size_t>(nameLimit)) {
            collection.faults.push_back(
                source + ": has a name longer than 65535 bytes, more than an archive entry can hold");
        } else if (!first.second && first.first->second->sourceName == entry.sourceName) {
            collection.faults.push_back(source + ": the name " + entry.sourceName +
                                        " would be stored twice (also from " +
                                        Shown(first.first->second->sourcePath) + ")");
        } else if (!first.second) {
            collection.faults.push_back(
                source + ": the name " + entry.sourceName + " differs only in letter case from " +
                first.first->second->sourceName + " (from " + Shown(first.first->second->sourcePath) +
                "); Windows would write both to one file");
        } else if (folders.count(folded) > 0) {
            collection.faults.push_back(source + ": the name " + entry.sourceName +
                                        " is also a folder of other names; Windows cannot hold both");
        }
    }
}

// A new file beside the archive, made here and nowhere else, so no other run's file and no
// link planted under its name is ever written through.
FILE *CreatePartFile(const fs::path &finalPath, fs::path &partPath)
{
#ifdef _WIN32
    long process = static_cast<long>(GetCurrentProcessId());
#else
    long process = static_cast<long>(getpid());
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        partPath = finalPath;
        partPath += ".partial-" + std::to_string(process) + "-" + std::to_string(attempt);
#ifdef _WIN32
        int handle =
            _wopen(partPath.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (handle >= 0) return _fdopen(handle, "wb");
#else
        int handle = open(partPath.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (handle >= 0) return fdopen(handle, "wb");
#endif
        if (errno != EEXIST) break;
    }
    return nullptr;
}

bool MoveOver(const fs::path &from, const fs::path &to, std::error_code &code)
{
#ifdef _WIN32
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    code = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    return false;
#else
    fs::rename(from, to, code);
    return !code;
#endif
}

bool CompressEntries(const std::vector<PackEntry> &group, std::string &stream, std::string &error)
{
    bz_stream bz{};
    if (BZ2_bzCompressInit(&bz, 9, 0, 0) != BZ_OK) {
        error = "cannot start the bzip2 compressor";
        return false;
    }
    std::vector<char> input(readPiece);
    std::vector<char> output(readPiece);
    auto drain = [&](int action) {
        int status;
        do {
            bz.next_out = output.data();
            bz.avail_out = static_cast<unsigned>(output.size());
            status = BZ2_bzCompress(&bz, action);
            stream.append(output.data(), output.size() - bz.avail_out);
        } while (status >= 0 && (bz.avail_in > 0 || (action == BZ_FINISH && status != BZ_STREAM_END)));
        return status >= 0;
    };
    bool ok = true;
    for (const PackEntry &entry : group) {
        std::ifstream file(entry.sourcePath, std::ios::binary);
        int64_t remaining = entry.size;
        while (ok && remaining > 0) {
            int piece = static_cast<int>(std::min<int64_t>(remaining, readPiece));
            ok = static_cast<bool>(file.read(input.data(), piece));
            bz.next_in = input.data();
            bz.avail_in = static_cast<unsigned>(piece);
            ok = ok && drain(BZ_RUN);
            remaining -= piece;
        }
        if (!ok) {
            error = Shown(entry.sourcePath) + ": cannot be read (changed while packing?)";
            break;
        }
    }
    ok = ok && drain(BZ_FINISH);
    BZ2_bzCompressEnd(&bz);
    return ok;
}

std::vector<int64_t> UnpackedSizes(const std::vector<std::vector<PackEntry>> &groups)
{
    std::vector<int64_t> sizes;
    for (const auto &group : groups) {
        int64_t size = 0;
        for (const PackEntry &entry : group) size += entry.size;
        sizes.push_back(size);
    }
    return sizes;
}

// Workers take groups in order; the writer takes finished ones in order. A worker waits
// while it is more than `jobs` groups ahead, so memory stays at a few groups.
class GroupPipeline {
public:
    GroupPipeline(const std::vector<std::vector<PackEntry>> &groups, int jobsWanted)
        : groups(groups), jobs(std::max(1, std::min<int>(jobsWanted, static_cast<int>(groups.size()))))
    {
        for (int k = 0; k < jobs; ++k) workers.emplace_back([this] { Work(); });
    }

    // The next group's bytes, in order; false once every group is taken or one has failed.
    bool TakeNext(std::string &bytes)
    {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait(
            guard, [&] { return failed || finished.count(nextToWrite) > 0 || nextToWrite == groups.size(); });
        if (failed || nextToWrite == groups.size()) return false;
        bytes = std::move(finished[nextToWrite]);
        finished.erase(nextToWrite);
        return true;
    }

    void MarkWritten()
    {
        std::lock_guard<std::mutex> guard(lock);
        ++nextToWrite;
        changed.notify_all();
    }

    // Waits for every worker; false with the first failed group's error.
    bool Finish(std::string &error)
    {
        for (std::thread &worker : workers) worker.join();
        if (failed) error = firstError;
        return !failed;
    }

private:
    void Work()
    {
        for (;;) {
            size_t index;
            {
                std::unique_lock<std::mutex> guard(lock);
                changed.wait(guard, [&] {
                    return failed || nextToTake >= groups.size() ||
                           nextToTake < nextToWrite + static_cast<size_t>(2 * jobs);
                });
                if (failed || nextToTake >= groups.size()) return;
                index = nextToTake++;
            }
            std::string bytes, groupError;
            bool ok = BuildGroup(groups[index], bytes, groupError);
            std::lock_guard<std::mutex> guard(lock);
            if (!ok && !failed) {
                failed = true;
                firstError = groupError;
            }
            finished[index] = std::move(bytes);
            changed.notify_all();
        }
    }

    const std::vector<std::vector<PackEntry>> &groups;
    const int jobs;
    std::mutex lock;
    std::condition_variable changed;
    std::map<size_t, std::string> finished;
    size_t nextToTake = 0, nextToWrite = 0;
    bool failed = false;
    std::string firstError;
    std::vector<std::thread> workers;
};

} // namespace

Collection CollectEntries(const std::vector<fs::path> &paths, const PackOptions &options)
{
    Collection collection;
    Collector collector(options, collection);
    for (const fs::path &root : paths) {
        std::error_code code;
        const std::string path = root.string();
        if (fs::is_regular_file(root, code)) {
            std::string name;
            if (!StoredForm(root.filename(), name))
                collection.faults.push_back(path + ": has a name that cannot be stored as bytes");
            else if (!collector.Excluded(name, name, false))
                collector.AddFile(root, name);
        } else if (fs::is_directory(root, code)) {
            collector.AddFolder(root);
        } else {
            collection.faults.push_back(path + ": no such file or folder");
        }
    }
    collector.NoteUnusedPatterns();
    if (collection.faults.empty()) RefuseNames(collection, options.codePage);
    return collection;
}

namespace {

// Windows takes names regardless of letter case, so patterns do too.
char Fold(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool MatchesPattern(const std::string &pattern, const std::string &text)
{
    size_t p = 0, t = 0;
    size_t starPattern = std::string::npos, starText = 0;
    while (t < text.size()) {
        bool matched = false;
        size_t next = p + 1;
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starText = t;
            continue;
        }
        if (p < pattern.size() && pattern[p] == '[') {
            size_t k = p + 1;
            bool negated = k < pattern.size() && (pattern[k] == '!' || pattern[k] == '^');
            if (negated) ++k;
            bool inSet = false;
            size_t first = k;
            for (; k < pattern.size() && (pattern[k] != ']' || k == first); ++k) {
                if (k + 2 < pattern.size() && pattern[k + 1] == '-' && pattern[k + 2] != ']') {
                    inSet = inSet || (text[t] >= pattern[k] && text[t] <= pattern[k + 2]) ||
                            (Fold(text[t]) >= Fold(pattern[k]) && Fold(text[t]) <= Fold(pattern[k + 2]));
                    k += 2;
                } else {
                    inSet = inSet || Fold(text[t]) == Fold(pattern[k]);
                }
            }
            if (k < pattern.size()) {
                matched = text[t] != '/' && inSet != negated;
                next = k + 1;
            } else {
                matched = text[t] == '['; // no closing bracket: a plain "["
            }
        } else if (p < pattern.size()) {
            matched = pattern[p] == '?' ? text[t] != '/' : Fold(pattern[p]) == Fold(text[t]);
        }
        if (matched) {
            p = next;
            ++t;
        } else if (starPattern != std::string::npos && text[starText] != '/') {
            p = starPattern + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::vector<PackEntry>> SplitIntoGroups(const std::vector<PackEntry> &entries, int64_t groupSize)
{
    // A group's unpacked length must itself stay below 2 GB.
    groupSize = std::min(groupSize, numberLimit - 1);
    std::vector<std::vector<PackEntry>> groups;
    int64_t filled = 0;
    for (const PackEntry &entry : entries) {
        if (groups.empty() || (filled > 0 && filled + entry.size > groupSize) ||
            groups.back().size() == groupFileLimit) {
            groups.emplace_back();
            filled = 0;
        }
        groups.back().push_back(entry);
        filled += entry.size;
    }
    if (groups.empty()) groups.emplace_back();
    return groups;
}

bool BuildGroup(const std::vector<PackEntry> &group, std::string &bytes, std::string &error)
{
    std::string stream;
    if (!CompressEntries(group, stream, error)) return false;
    if (static_cast<int64_t>(stream.size()) >= numberLimit) {
        error = "a group's compressed data exceeds 2 GB";
        return false;
    }
    int64_t unpacked = 0;
    bytes.clear();
    AppendTableHead(bytes, group.size());
    for (const PackEntry &entry : group) {
        AppendTableEntry(bytes, entry.name, entry.size);
        unpacked += entry.size;
    }
    AppendStreamHead(bytes, static_cast<int64_t>(stream.size()), unpacked);
    bytes += stream;
    return true;
}

bool WriteArchive(const std::string &outputPath, const std::vector<std::vector<PackEntry>> &groups, int jobs,
                  const std::function<void(int64_t, int64_t)> &onProgress, std::string &error)
{
    fs::path finalPath(outputPath), partPath;
    FILE *output = CreatePartFile(finalPath, partPath);
    if (output == nullptr) {
        error = outputPath + ": cannot be written (no new file can be made beside it)";
        return false;
    }
    bool written = std::fwrite(archiveMagic, 1, magicWidth, output) == static_cast<size_t>(magicWidth);

    std::vector<int64_t> groupSizes = UnpackedSizes(groups);
    int64_t total = std::accumulate(groupSizes.begin(), groupSizes.end(), int64_t(0));
    GroupPipeline pipeline(groups, jobs);
    int64_t done = 0;
    std::string bytes;
    for (size_t index = 0; pipeline.TakeNext(bytes); ++index) {
        written = written && std::fwrite(bytes.data(), 1, bytes.size(), output) == bytes.size();
        done += groupSizes[index];
        onProgress(done, total);
        pipeline.MarkWritten();
    }
    bool failed = !pipeline.Finish(error);
    written = std::fclose(output) == 0 && written;
    if (!failed && !written) {
        failed = true;
        error = outputPath + ": cannot be written in full (disk full?)";
    }
    std::error_code code;
    if (!failed && !MoveOver(partPath, finalPath, code)) {
        failed = true;
        error = outputPath + ": cannot be replaced: " + code.message();
    }
    if (failed) fs::remove(partPath, code);
    return !failed;
}
