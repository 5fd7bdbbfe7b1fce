#include "byte_files.h"

#include <fstream>
#include <iterator>

void ByteFilesTest::WriteBytes(const std::string &name, const std::vector<unsigned char> &bytes) const
{
    std::ofstream out(PathOf(name), std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good());
}

std::vector<unsigned char> ByteFilesTest::ReadBytes(const std::string &name) const
{
    std::ifstream in(PathOf(name), std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<unsigned char> PatternBytes(size_t count)
{
    std::vector<unsigned char> bytes(count);
    for (size_t i = 0; i < count; i++) bytes[i] = static_cast<unsigned char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}
