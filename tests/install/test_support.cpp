#include "test_support.h"

#include "tests/common/remove_tree.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

const char *TempVariable()
{
#ifdef _WIN32
    return "TMP";
#else
    return "TMPDIR";
#endif
}

long ProcessNumber()
{
#ifdef _WIN32
    return static_cast<long>(GetCurrentProcessId());
#else
    return static_cast<long>(getpid());
#endif
}

void SetTempVariable(const std::string &value)
{
#ifdef _WIN32
    SetEnvironmentVariableA("TMP", value.empty() ? nullptr : value.c_str());
    SetEnvironmentVariableA("TEMP", value.empty() ? nullptr : value.c_str());
#else
    if (value.empty())
        unsetenv("TMPDIR");
    else
        setenv("TMPDIR", value.c_str(), 1);
#endif
}

} // namespace

void ScratchTest::SetUp()
{
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    // The process number keeps two builds' runs of the same test apart.
    std::string folder =
        "tsa-" + std::to_string(ProcessNumber()) + "-" + info->test_suite_name() + "-" + info->name();
    std::replace(folder.begin(), folder.end(), '/', '_'); // parameterised tests are named "Case/3"
    root = fs::temp_directory_path() / folder;
    testsupport::RemoveTree(root);
    fs::create_directories(root / "tmp");
    fs::create_directories(root / "target");
    temp = root / "tmp";
    target = root / "target";
    previousDirectory = fs::current_path();
    fs::current_path(root);
    const char *previous = std::getenv(TempVariable());
    previousTemp = previous != nullptr ? previous : "";
    SetTempVariable(temp.string());
}

void ScratchTest::TearDown()
{
    SetTempVariable(previousTemp);
    fs::current_path(previousDirectory);
    testsupport::RemoveTree(root);
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

lumora::String PathText(const fs::path &path)
{
#ifdef _WIN32
    return lumora::String(path.wstring().c_str());
#else
    return lumora::String(path.string().c_str());
#endif
}
