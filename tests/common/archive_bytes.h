// Component archive bytes for tests, sound or damaged on purpose. Written apart from the tool's
// writer, so that the writer and the reader are each checked against it; only the layout's
// constants are shared.
#ifndef SETUP_TESTS_COMMON_ARCHIVE_BYTES_H
#define SETUP_TESTS_COMMON_ARCHIVE_BYTES_H

#include "install/archive_format.h"

#include <bzlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace testsupport {

struct RawFile {
    std::string name; // the name's bytes as stored
    std::string data;
};

inline std::string LittleEndian(uint64_t value, int width)
{
    std::string bytes;
    for (int k = 0; k < width; ++k) bytes += static_cast<char>((value >> (8 * k)) & 0xff);
    return bytes;
}

// One complete bzip2 stream of 900 kB blocks.
inline std::string Bzip2(const std::string &data)
{
    std::vector<char> input(data.begin(), data.end());
    input.push_back('\0'); // the library refuses a null source even for no bytes
    unsigned length = static_cast<unsigned>(data.size() + data.size() / 100 + 1000);
    std::string stream(length, '\0');
    if (BZ2_bzBuffToBuffCompress(&stream[0], &length, input.data(), static_cast<unsigned>(data.size()), 9, 0,
                                 0) != BZ_OK)
        std::abort();
    stream.resize(length);
    return stream;
}

inline std::string EntryBytes(const std::string &name, uint64_t size)
{
    return LittleEndian(name.size(), nameLengthWidth) + name + LittleEndian(size, sizeWidth);
}

// The file count and "FILES", then the entries as given.
inline std::string TableBytes(uint64_t fileCount, const std::string &entries)
{
    return LittleEndian(fileCount, countWidth) + std::string(filesTag, tagWidth) + entries;
}

// "CDATA" and the two lengths that stand before a group's stream.
inline std::string StreamHeadBytes(uint64_t packedSize, uint64_t unpackedSize)
{
    return std::string(cdataTag, tagWidth) + LittleEndian(packedSize, lengthWidth) +
           LittleEndian(unpackedSize, lengthWidth);
}

// A group as the layout has it, with the stream and the stored unpacked length as given, for
// damaged groups.
inline std::string GroupBytes(const std::vector<RawFile> &files, const std::string &stream,
                              uint64_t unpackedSize)
{
    std::string entries;
    for (const RawFile &file : files) entries += EntryBytes(file.name, file.data.size());
    return TableBytes(files.size(), entries) + StreamHeadBytes(stream.size(), unpackedSize) + stream;
}

// A sound group: the files' data concatenated in table order, compressed as one stream.
inline std::string GroupBytes(const std::vector<RawFile> &files)
{
    std::string data;
    for (const RawFile &file : files) data += file.data;
    return GroupBytes(files, Bzip2(data), data.size());
}

inline std::string ArchiveBytes(const std::vector<std::string> &groups)
{
    std::string bytes(archiveMagic, magicWidth);
    for (const std::string &group : groups) bytes += group;
    return bytes;
}

} // namespace testsupport

#endif
