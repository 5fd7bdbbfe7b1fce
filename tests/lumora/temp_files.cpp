#include "temp_files.h"

#include "tests/common/remove_tree.h"

#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

void TempFiles::SetUp()
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::filesystem::path(::testing::TempDir()) /
             ("lumora_" + std::to_string(getpid()) + "_" + test->test_suite_name() + "_" + test->name());
    testsupport::RemoveTree(folder);
    std::filesystem::create_directories(folder);
}

void TempFiles::TearDown()
{
    testsupport::RemoveTree(folder);
}

lumora::String TempFiles::NameOf(const std::string &name) const
{
    return lumora::String(PathOf(name).wstring().c_str());
}

void TempFiles::WriteBytes(const std::string &name, const std::vector<unsigned char> &bytes) const
{
    std::ofstream out(PathOf(name), std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good());
}

std::vector<unsigned char> TempFiles::ReadBytes(const std::string &name) const
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
