// Builds component archives (.tsa): the files' table and their data compressed as one bzip2
// stream ("BZh9") per group, groups compressed in parallel and written in order.
#ifndef SETUP_TOOLS_ARCHIVE_WRITER_H
#define SETUP_TOOLS_ARCHIVE_WRITER_H

#include "install/code_page.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct PackEntry {
    std::filesystem::path sourcePath; // where the data is read from
    std::string name;                 // the name's bytes as stored: relative, "/" between levels
    int64_t size = 0;
    std::string sourceName; // the same name as the system gives it (UTF-8 on Linux)
};

struct PackOptions {
    std::string prefix;                // put before every stored name: "" or a folder ending in "/"
    std::vector<std::string> excludes; // patterns of names to leave out
    int codePage = asciiOnly;          // the code page names are stored in
};

struct Collection {
    std::vector<PackEntry> entries;
    std::vector<std::string> faults; // one line per path that cannot be stored; nothing may be packed
    std::vector<std::string> notes;  // one line per folder or other thing that is left out
};

// The entries for the given paths: a file under its own name, a folder's files (at every
// depth, sorted by name) under their paths relative to that folder, each behind the prefix
// and stored in the options' code page.
// A path or level that matches an exclude pattern is left out: "*" matches any run and "?"
// any one character but "/", "[...]" one of a set, letter case aside; a pattern with a "/"
// before its end is matched against the whole path below the folder, one without against each
// level; one ending in "/" leaves out folders only. A pattern that leaves nothing out is
// named in the notes. Faults: a missing path, a
// name too long for the format, refused by the installer or not stored exactly by the code
// page, a file of 2 GB or more, and two names that Windows takes for one. Folders left without files are
// named in the notes.
// The paths are taken as paths, not as bytes: a folder name found on the disk need not be one
// the system code page holds.
Collection CollectEntries(const std::vector<std::filesystem::path> &paths, const PackOptions &options);

// True when the exclude pattern matches the text, as described above for one level, letter case aside.
bool MatchesPattern(const std::string &pattern, const std::string &text);

// Consecutive runs of entries whose sizes add up to about groupSize bytes each, and of at
// most 4096 files; a file larger than groupSize has a group to itself. Depends only on the sizes, so the
// archive is the same whatever the number of threads.
std::vector<std::vector<PackEntry>> SplitIntoGroups(const std::vector<PackEntry> &entries, int64_t groupSize);

// One group exactly as stored: table, "CDATA", packed and unpacked lengths, bzip2 stream.
bool BuildGroup(const std::vector<PackEntry> &group, std::string &bytes, std::string &error);

// Writes "TSA" and every group to outputPath, compressing up to `jobs` groups at a time.
// onProgress gets the input bytes done so far and the total. The archive is written to a
// new file beside outputPath, which takes its place only once it is complete, so a failure
// leaves whatever was there before.
bool WriteArchive(const std::string &outputPath, const std::vector<std::vector<PackEntry>> &groups, int jobs,
                  const std::function<void(int64_t, int64_t)> &onProgress, std::string &error);

#endif
