#include "tools/archive_writer.h"

#include "install/entry_name.h"

#include <bzlib.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace fs = std::filesystem;

namespace {

const int64_t numberLimit = int64_t(1) << 31;
const int nameLimit = 65535;
const int readPiece = 1 << 20;
// The installer holds one group's table in memory; this keeps it small for many tiny files.
const size_t groupFileLimit = 4096;

void AppendNumber(std::string &bytes, uint64_t value, int width)
{
    for (int k = 0; k < width; ++k) bytes += static_cast<char>((value >> (8 * k)) & 0xff);
}

// The name as the installer will read it: Windows' own wide names, UTF-8 elsewhere.
lumora::String NameOf(const fs::path &relative)
{
#ifdef _WIN32
    return lumora::String(relative.generic_wstring().c_str());
#else
    return lumora::String(relative.generic_string().c_str());
#endif
}

bool AddEntry(const fs::path &source, const fs::path &relative, int codePage, std::vector<PackEntry> &entries,
              std::string &error)
{
    std::string name;
    const char *nameFault = EncodeEntryName(NameOf(relative), codePage, name);
    if (nameFault != nullptr) {
        error = source.string() + ": " + nameFault;
        error += HasCodePageTables(codePage) ? " (code page " + std::to_string(codePage) + ")"
                                             : " (see --code-page)";
        return false;
    }
    std::error_code code;
    int64_t size = static_cast<int64_t>(fs::file_size(source, code));
    if (code) {
        error = "cannot read " + source.string() + ": " + code.message();
        return false;
    }
    if (size >= numberLimit) {
        error = source.string() + " is 2 GB or larger, more than an archive entry can hold";
        return false;
    }
    if (name.size() > static_cast<size_t>(nameLimit)) {
        error = "the name " + name.substr(0, 40) + "... is longer than 65535 bytes";
        return false;
    }
    entries.push_back(PackEntry{source.string(), name, size});
    return true;
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
            error = "cannot read " + entry.sourcePath + " (changed while packing?)";
            break;
        }
    }
    ok = ok && drain(BZ_FINISH);
    BZ2_bzCompressEnd(&bz);
    return ok;
}

} // namespace

bool CollectEntries(const std::vector<std::string> &paths, std::vector<PackEntry> &entries,
                    std::string &error, int codePage)
{
    for (const std::string &path : paths) {
        std::error_code code;
        fs::path root(path);
        if (fs::is_regular_file(root, code)) {
            if (!AddEntry(root, root.filename(), codePage, entries, error)) return false;
        } else if (fs::is_directory(root, code)) {
            std::vector<fs::path> files;
            for (auto it = fs::recursive_directory_iterator(root, code); !code && it != fs::end(it);
                 it.increment(code)) {
                if (it->is_regular_file()) files.push_back(it->path());
            }
            if (code) {
                error = "cannot read the folder " + path + ": " + code.message();
                return false;
            }
            std::sort(files.begin(), files.end());
            for (const fs::path &file : files) {
                if (!AddEntry(file, file.lexically_relative(root), codePage, entries, error)) return false;
            }
        } else {
            error = path + ": no such file or folder";
            return false;
        }
    }
    std::set<std::string> names;
    for (const PackEntry &entry : entries) {
        if (!names.insert(entry.name).second) {
            error = "the name " + entry.name + " would be stored twice";
            return false;
        }
    }
    return true;
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
    AppendNumber(bytes, group.size(), 4);
    bytes += "FILES";
    for (const PackEntry &entry : group) {
        AppendNumber(bytes, entry.name.size(), 2);
        bytes += entry.name;
        AppendNumber(bytes, static_cast<uint64_t>(entry.size), 4);
        unpacked += entry.size;
    }
    bytes += "CDATA";
    AppendNumber(bytes, stream.size(), 4);
    AppendNumber(bytes, static_cast<uint64_t>(unpacked), 4);
    bytes += stream;
    return true;
}

bool WriteArchive(const std::string &outputPath, const std::vector<std::vector<PackEntry>> &groups, int jobs,
                  const std::function<void(int64_t, int64_t)> &onProgress, std::string &error)
{
    std::ofstream output(outputPath, std::ios::binary | std::ios::trunc);
    if (!output) {
        error = "cannot create " + outputPath;
        return false;
    }
    output.write("TSA", 3);

    int64_t total = 0;
    std::vector<int64_t> groupSizes;
    for (const auto &group : groups) {
        int64_t size = 0;
        for (const PackEntry &entry : group) size += entry.size;
        groupSizes.push_back(size);
        total += size;
    }

    // Workers take groups in order; the writer takes finished ones in order. A worker waits
    // while it is more than `jobs` groups ahead, so memory stays at a few groups.
    std::mutex lock;
    std::condition_variable changed;
    std::map<size_t, std::string> finished;
    size_t nextToTake = 0, nextToWrite = 0;
    bool failed = false;
    auto work = [&]() {
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
                error = groupError;
            }
            finished[index] = std::move(bytes);
            changed.notify_all();
        }
    };
    jobs = std::max(1, std::min<int>(jobs, static_cast<int>(groups.size())));
    std::vector<std::thread> workers;
    for (int k = 0; k < jobs; ++k) workers.emplace_back(work);

    int64_t done = 0;
    while (true) {
        std::string bytes;
        {
            std::unique_lock<std::mutex> guard(lock);
            changed.wait(guard, [&] {
                return failed || finished.count(nextToWrite) > 0 || nextToWrite == groups.size();
            });
            if (failed || nextToWrite == groups.size()) break;
            bytes = std::move(finished[nextToWrite]);
            finished.erase(nextToWrite);
        }
        output.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        done += groupSizes[nextToWrite];
        onProgress(done, total);
        std::lock_guard<std::mutex> guard(lock);
        ++nextToWrite;
        changed.notify_all();
    }
    for (std::thread &worker : workers) worker.join();
    output.close();
    if (!failed && !output) {
        failed = true;
        error = "cannot write " + outputPath + " (disk full?)";
    }
    if (failed) std::remove(outputPath.c_str());
    return !failed;
}
