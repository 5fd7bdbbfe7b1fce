// Paths as the file calls receive them: long ones in the form that has no length limit, with
// nothing in them that the literal form would misread; short ones exactly as written.
#include "lumora/file_path.h"
#include "lumora/stream.h"

#include "tests/common/scratch_test.h"

#include <string>

using lumora::FileSystemPath;
using lumora::String;

namespace {

std::wstring Text(const String &text)
{
    return static_cast<const wchar_t *>(text);
}

#ifdef _WIN32

const std::wstring longLevel(120, L'a');

TEST(FileSystemPath, ShortPathsStayAsWritten)
{
    for (const wchar_t *path : {L"buffer.temp", L"C:\\Program Files\\App\\.\\readme.txt", L"sub/dir\\file"})
        EXPECT_EQ(Text(FileSystemPath(path)), path);
}

TEST(FileSystemPath, LongPathTakesTheLongFormWithLevelsResolved)
{
    std::wstring path = L"C:\\dest\\" + longLevel + L"\\.\\" + longLevel + L"/skipped\\..\\file.txt";
    EXPECT_EQ(Text(FileSystemPath(path.c_str())),
              L"\\\\?\\C:\\dest\\" + longLevel + L"\\" + longLevel + L"\\file.txt");
}

TEST(FileSystemPath, LongNetworkPathTakesTheLongNetworkForm)
{
    std::wstring path = L"\\\\server\\share\\" + longLevel + L"\\" + longLevel + L"\\f";
    EXPECT_EQ(Text(FileSystemPath(path.c_str())),
              L"\\\\?\\UNC\\server\\share\\" + longLevel + L"\\" + longLevel + L"\\f");
}

TEST(FileSystemPath, PathAlreadyInTheLongFormStaysAsWritten)
{
    std::wstring path = L"\\\\?\\C:\\" + longLevel + L"\\" + longLevel + L"\\f";
    EXPECT_EQ(Text(FileSystemPath(path.c_str())), path);
}

#else

TEST(FileSystemPath, BackslashesBecomeSlashes)
{
    EXPECT_EQ(Text(FileSystemPath(L"dest\\sub\\file.txt")), L"dest/sub/file.txt");
}

#endif

class LongFileName : public ScratchTest {};

// Each level stays below the 255 bytes a Linux file system takes for one name.
TEST_F(LongFileName, OfThreeHundredCharactersIsWrittenAndReadBack)
{
    std::string levels = std::string(130, 'l') + "/" + std::string(130, 'm');
    std::filesystem::create_directories(PathOf(levels));
    String name = NameOf(levels) + String(L"\\.\\\u00e9t\u00e9.txt");
    ASSERT_GT(name.Length(), 300);
    {
        OutStream out(lumora::STREAM_FILE, name, lumora::STREAM_CREATE);
        ASSERT_TRUE(out.IsOpen());
        EXPECT_TRUE(out.OutputData("long", 4));
        EXPECT_TRUE(out.Close());
    }
    InStream in(lumora::STREAM_FILE, name, lumora::STREAM_READ);
    ASSERT_TRUE(in.IsOpen());
    EXPECT_EQ(in.Size(), 4);
    EXPECT_EQ(in.InputString(4), String("long"));
}

} // namespace
