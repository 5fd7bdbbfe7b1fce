// Reading archives for `tsa list` and `tsa verify`.
#ifndef SETUP_TOOLS_ARCHIVE_CHECK_H
#define SETUP_TOOLS_ARCHIVE_CHECK_H

#include "install/code_page.h"

#include <cstdint>
#include <string>
#include <vector>

struct ListedEntry {
    std::string
        name; // decoded, in the platform's 8-bit text (UTF-8 on Linux); as \xNN where it does not decode
    int64_t size;
    int group; // 1-based
};

// The entries of every group in table order, their names decoded through codePage. False with
// `error` when the archive cannot be read or its tables are damaged.
bool ListArchive(const std::string &path, std::vector<ListedEntry> &entries, std::string &error,
                 int codePage = asciiOnly);

struct VerifyResult {
    int groups = 0;
    int64_t files = 0;
    int64_t unpackedBytes = 0;
    std::vector<std::string> faults; // empty when the archive is sound
};

// Decompresses every group (bzip2 checks each block's CRC and the stream's), and checks that
// the stored unpacked length equals the sum of the sizes and the decompressed length, that
// the stream fills exactly its packed length, and that every name, decoded through codePage,
// is safe to extract.
VerifyResult VerifyArchive(const std::string &path, int codePage = asciiOnly);

#endif
