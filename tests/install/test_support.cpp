#include "test_support.h"

#include <algorithm>
#include <fstream>
#include <sstream>

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
