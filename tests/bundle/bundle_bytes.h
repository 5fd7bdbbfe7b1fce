// Payloads and bundles made to measure for tests, hostile ones included: tables written
// from names and sizes, and trailers that vouch for whatever bytes they follow.
#ifndef SETUP_TESTS_BUNDLE_BUNDLE_BYTES_H
#define SETUP_TESTS_BUNDLE_BUNDLE_BYTES_H

#include "bundle/bundle_format.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct PayloadFile {
    std::u16string name;
    std::string bytes;
};

inline std::string NumberBytes(uint64_t value, int width)
{
    std::string bytes(static_cast<size_t>(width), '\0');
    PutNumber(reinterpret_cast<uint8_t *>(&bytes[0]), value, width);
    return bytes;
}

inline std::string NameBytes(const std::u16string &name)
{
    std::string bytes;
    for (char16_t unit : name) bytes += NumberBytes(unit, 2);
    return bytes;
}

// The payload's head and the files' bytes, sizes as the files have them.
inline std::string PayloadBytes(const std::vector<PayloadFile> &files, size_t padding = 0)
{
    std::string table, data;
    for (const PayloadFile &file : files) {
        table += NumberBytes(file.bytes.size(), 8) + NumberBytes(file.name.size(), 2) + NameBytes(file.name);
        data += file.bytes;
    }
    return NumberBytes(files.size(), 4) + NumberBytes(table.size(), 4) + table + data +
           std::string(padding, '\0');
}

// launcher + payload + a trailer vouching for the payload as it is.
inline std::string BundleBytes(const std::string &launcher, const std::string &payload)
{
    Sha256 digest;
    digest.Update(payload.data(), payload.size());
    BundleTrailer trailer;
    digest.Finish(trailer.digest);
    trailer.payloadSize = payload.size();
    std::string end(bundleTrailerSize, '\0');
    WriteTrailer(trailer, reinterpret_cast<uint8_t *>(&end[0]));
    return launcher + payload + end;
}

} // namespace testsupport

#endif
