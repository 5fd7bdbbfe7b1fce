#include "bundle/bundle_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const size_t readChunk = 1 << 20;

bool ReadAt(std::ifstream &stream, uint64_t offset, size_t size, std::string &bytes)
{
    bytes.resize(size);
    stream.clear();
    stream.seekg(static_cast<std::streamoff>(offset));
    stream.read(&bytes[0], static_cast<std::streamsize>(size));
    return static_cast<size_t>(stream.gcount()) == size;
}

const uint8_t *Bytes(const std::string &bytes)
{
    return reinterpret_cast<const uint8_t *>(bytes.data());
}

bool DigestMatches(std::ifstream &stream, uint64_t start, uint64_t size, const uint8_t *expected)
{
    Sha256 digest;
    std::string chunk;
    for (uint64_t done = 0; done < size;) {
        size_t wanted = static_cast<size_t>(std::min<uint64_t>(size - done, readChunk));
        if (!ReadAt(stream, start + done, wanted, chunk)) return false;
        digest.Update(chunk.data(), chunk.size());
        done += wanted;
    }
    uint8_t found[sha256Size];
    digest.Finish(found);
    return std::memcmp(found, expected, sha256Size) == 0;
}

} // namespace

BundleContents ReadBundle(const fs::path &bundle)
{
    BundleContents contents;
    std::ifstream stream(bundle, std::ios::binary);
    std::error_code code;
    contents.fileSize = fs::file_size(bundle, code);
    std::string bytes;
    if (!stream || code) {
        contents.fault = BundleFault::notAProgram;
        return contents;
    }
    ReadAt(stream, 0, static_cast<size_t>(std::min<uint64_t>(contents.fileSize, programHeadSize)), bytes);
    contents.fault = SignedContentEnd(Bytes(bytes), bytes.size(), contents.fileSize, contents.contentEnd);
    if (contents.fault != BundleFault::none) return contents;
    if (contents.contentEnd < bundleTrailerSize ||
        !ReadAt(stream, contents.contentEnd - bundleTrailerSize, bundleTrailerSize, bytes)) {
        contents.fault = BundleFault::noTrailer;
        return contents;
    }
    contents.fault = ReadTrailer(Bytes(bytes), contents.contentEnd, contents.trailer, contents.payloadStart);
    if (contents.fault != BundleFault::none) return contents;
    uint64_t payloadSize = contents.trailer.payloadSize;
    if (!DigestMatches(stream, contents.payloadStart, payloadSize, contents.trailer.digest)) {
        contents.fault = BundleFault::digestDiffers;
        return contents;
    }
    PayloadHeader header{};
    ReadAt(stream, contents.payloadStart, payloadHeaderSize, bytes);
    contents.fault = ReadPayloadHeader(Bytes(bytes), payloadSize, header);
    if (contents.fault != BundleFault::none) return contents;
    ReadAt(stream, contents.payloadStart + payloadHeaderSize, header.tableSize, bytes);
    PayloadTable table(Bytes(bytes), header);
    contents.fault = table.Check(payloadSize);
    if (contents.fault != BundleFault::none) return contents;
    PayloadEntry entry;
    while (table.Next(entry)) {
        BundledFile file;
        for (uint32_t k = 0; k < entry.nameUnits; ++k) file.name += static_cast<char16_t>(entry.NameUnit(k));
        file.offset = contents.payloadStart + entry.offset;
        file.size = entry.size;
        contents.files.push_back(file);
    }
    return contents;
}
