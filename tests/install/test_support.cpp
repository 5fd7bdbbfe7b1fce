#include "test_support.h"

#include <bzlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>

std::string LittleEndian(uint64_t value, int width)
{
    std::string bytes;
    for (int k = 0; k < width; ++k) bytes += static_cast<char>((value >> (8 * k)) & 0xff);
    return bytes;
}

std::string Bzip2(const std::string &data)
{
    std::vector<char> input(data.begin(), data.end());
    input.push_back('\0'); // the library refuses a null source even for no bytes
    unsigned length = static_cast<unsigned>(data.size() + data.size() / 100 + 1000);
    std::string stream(length, '\0');
    int status = BZ2_bzBuffToBuffCompress(&stream[0], &length, input.data(),
                                          static_cast<unsigned>(data.size()), 9, 0, 0);
    EXPECT_EQ(status, BZ_OK);
    stream.resize(length);
    return stream;
}

std::string GroupBytes(const std::vector<RawFile> &files, const std::string &stream, uint64_t unpackedSize)
{
    std::string bytes = LittleEndian(files.size(), 4) + "FILES";
    for (const RawFile &file : files) {
        bytes += LittleEndian(file.name.size(), 2) + file.name + LittleEndian(file.data.size(), 4);
    }
    return bytes + "CDATA" + LittleEndian(stream.size(), 4) + LittleEndian(unpackedSize, 4) + stream;
}

std::string GroupBytes(const std::vector<RawFile> &files)
{
    std::string data;
    for (const RawFile &file : files) data += file.data;
    return GroupBytes(files, Bzip2(data), data.size());
}

std::string ArchiveBytes(const std::vector<std::string> &groups)
{
    std::string bytes = "TSA";
    for (const std::string &group : groups) bytes += group;
    return bytes;
}

void WriteBytes(const fs::path &path, const std::string &bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good()) << path;
}

std::string ReadBytes(const fs::path &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::vector<std::string> FilesBelow(const fs::path &folder)
{
    std::vector<std::string> files;
    for (const auto &item : fs::recursive_directory_iterator(folder)) {
        if (item.is_regular_file())
            files.push_back(item.path().lexically_relative(folder).generic_u8string());
    }
    std::sort(files.begin(), files.end());
    return files;
}
