// Builds component archives (.tsa): the files' table and their data compressed as one bzip2
// stream ("BZh9") per group, groups compressed in parallel and written in order.
#ifndef SETUP_TOOLS_ARCHIVE_WRITER_H
#define SETUP_TOOLS_ARCHIVE_WRITER_H

#include "install/code_page.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct PackEntry {
    std::string sourcePath; // where the data is read from
    std::string name;       // the name's bytes as stored: relative, "/" between levels
    int64_t size = 0;
};

// The entries for the given paths: a file under its own name, a folder's files (at every
// depth, sorted by name) under their paths relative to that folder, each name stored in
// codePage. False with `error` for a missing path, a name the code page cannot store exactly
// or the installer would refuse, a name too long for the format, a file of 2 GB or more, or a
// name given twice.
bool CollectEntries(const std::vector<std::string> &paths, std::vector<PackEntry> &entries,
                    std::string &error, int codePage = asciiOnly);

// Consecutive runs of entries whose sizes add up to about groupSize bytes each, and of at
// most 4096 files; a file larger than groupSize has a group to itself. Depends only on the sizes, so the
// archive is the same whatever the number of threads.
std::vector<std::vector<PackEntry>> SplitIntoGroups(const std::vector<PackEntry> &entries, int64_t groupSize);

// One group exactly as stored: table, "CDATA", packed and unpacked lengths, bzip2 stream.
bool BuildGroup(const std::vector<PackEntry> &group, std::string &bytes, std::string &error);

// Writes "TSA" and every group to outputPath, compressing up to `jobs` groups at a time.
// onProgress gets the input bytes done so far and the total.
bool WriteArchive(const std::string &outputPath, const std::vector<std::vector<PackEntry>> &groups, int jobs,
                  const std::function<void(int64_t, int64_t)> &onProgress, std::string &error);

#endif
