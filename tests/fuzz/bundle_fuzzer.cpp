// libFuzzer target: any bytes as the end of a bundle file and as a bundle's payload, through the
// checks the launcher makes before it writes a byte. Whatever the bytes, the reader stays
// inside them, and every file it lets through lies within the payload and has a name that
// stays below the launcher's folder.
#include "bundle/bundle_format.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The plainest form of the rule, written apart from the reader's: no level empty, "." or
// "..", and no drive, server or other separator anywhere.
bool StaysBelow(const PayloadEntry &entry)
{
    uint32_t levelStart = 0;
    for (uint32_t k = 0; k <= entry.nameUnits; ++k) {
        uint16_t unit = k < entry.nameUnits ? entry.NameUnit(k) : '\\';
        if (unit == ':' || unit == '/') return false;
        if (unit != '\\') continue;
        uint32_t length = k - levelStart;
        bool dots = length > 0 && entry.NameUnit(levelStart) == '.' &&
                    (length == 1 || (length == 2 && entry.NameUnit(levelStart + 1) == '.'));
        if (length == 0 || dots) return false;
        levelStart = k + 1;
    }
    return true;
}

void CheckAsFileEnd(const uint8_t *data, size_t size)
{
    uint64_t end = 0, start = 0;
    BundleTrailer trailer;
    if (SignedContentEnd(data, size, size, end) != BundleFault::none) return;
    if (end > size) __builtin_trap();
    if (end < bundleTrailerSize ||
        ReadTrailer(data + end - bundleTrailerSize, end, trailer, start) != BundleFault::none)
        return;
    if (start + trailer.payloadSize + bundleTrailerSize != end) __builtin_trap();
}

void CheckAsPayload(const uint8_t *data, size_t size)
{
    PayloadHeader header{};
    if (ReadPayloadHeader(data, size, header) != BundleFault::none) return;
    PayloadTable table(data + payloadHeaderSize, header);
    if (table.Check(size) != BundleFault::none) return;
    uint64_t next = payloadHeaderSize + header.tableSize;
    uint32_t count = 0;
    PayloadEntry entry;
    while (table.Next(entry)) {
        if (entry.offset != next || entry.size > size - entry.offset || !StaysBelow(entry)) __builtin_trap();
        next += entry.size;
        ++count;
    }
    if (count != header.fileCount || size - next >= bundleAlignment) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckAsFileEnd(data, size);
    CheckAsPayload(data, size);
    return 0;
}
