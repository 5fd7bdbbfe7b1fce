#include "tests/common/scratch_test.h"

#include <algorithm>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
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
    std::string name = std::string("scratch-") + info->test_suite_name() + "-" + info->name();
    std::replace(name.begin(), name.end(), '/', '_'); // parameterised tests are named "Case/3"
    folder = std::make_unique<testsupport::ScratchFolder>(name);
    ASSERT_TRUE(folder->Ready()) << folder->Path();
    root = folder->Path();
    temp = root / "tmp";
    target = root / "target";
    std::filesystem::create_directories(temp);
    std::filesystem::create_directories(target);
    previousDirectory = std::filesystem::current_path();
    std::filesystem::current_path(root);
    const char *previous = std::getenv(TempVariable());
    previousTemp = previous != nullptr ? previous : "";
    SetTempVariable(temp.string());
}

void ScratchTest::TearDown()
{
    if (previousDirectory.empty()) return;
    SetTempVariable(previousTemp);
    std::filesystem::current_path(previousDirectory);
    folder.reset();
}

lumora::String ScratchTest::NameOf(const std::string &name) const
{
    return lumora::String(PathOf(name).wstring().c_str());
}

lumora::String PathText(const std::filesystem::path &path)
{
#ifdef _WIN32
    return lumora::String(path.wstring().c_str());
#else
    return lumora::String(path.string().c_str());
#endif
}
