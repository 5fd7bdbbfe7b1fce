// A bundle file read and judged as the launcher judges itself: the end of its signed content,
// the trailer, the payload's SHA-256, and the table with every name. `tsa bundle --check` and
// the tests come here; the launcher reads its own file the same way through the same format.
#ifndef SETUP_BUNDLE_BUNDLE_FILE_H
#define SETUP_BUNDLE_BUNDLE_FILE_H

#include "bundle/bundle_format.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct BundledFile {
    std::u16string name;
    uint64_t offset = 0; // in the bundle file
    uint64_t size = 0;
};

struct BundleContents {
    BundleFault fault = BundleFault::none; // the first fault found; nothing after it is read
    uint64_t fileSize = 0;
    uint64_t contentEnd = 0;   // where a certificate table starts, or the file's end
    uint64_t payloadStart = 0; // the launcher's length
    BundleTrailer trailer{};
    std::vector<BundledFile> files;
};

// An unreadable file counts as no program.
BundleContents ReadBundle(const std::filesystem::path &bundle);

#endif
