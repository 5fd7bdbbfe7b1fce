#include "lumora/stream.h"

#include "byte_files.h"

#include <cstdint>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

using lumora::String;

namespace {

class OutStreamTest : public ByteFilesTest {};

const size_t manyBytes = 3 * 64 * 1024 + 5;

} // namespace

TEST_F(OutStreamTest, NumbersAreWrittenLittleEndianInTheirWidth)
{
    struct Case {
        uint64_t value;
        int bytes;
        std::vector<unsigned char> expected;
    } cases[] = {
        {0x1FF, 1, {0xFF}},
        {0xAB, 1, {0xAB}},
        {0x12345, 2, {0x45, 0x23}},
        {0xFFFF, 2, {0xFF, 0xFF}},
        {0x0102030405ull, 4, {0x05, 0x04, 0x03, 0x02}},
        {0x80000001, 4, {0x01, 0x00, 0x00, 0x80}},
        {0x0102030405060708ull, 8, {0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01}},
        {0xABCDEF, 3, {0xEF, 0xCD, 0xAB}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.value << " in " << c.bytes);
        {
            OutStream out(3, NameOf("number"), 1);
            EXPECT_TRUE(out.OutputNumber(c.value, c.bytes));
            EXPECT_EQ(out.GetPos(), c.bytes);
            EXPECT_TRUE(out.Close());
        }
        EXPECT_EQ(ReadBytes("number"), c.expected);
    }
}

TEST_F(OutStreamTest, NumbersReadBackAsWritten)
{
    const uint64_t values[] = {0xFE, 0xBEEF, 0xDEADBEEF, 0x0123456789ABCDEFull, 0, 0xFFFFFFFFFFFFFFFFull};
    const int widths[] = {1, 2, 4, 8, 4, 8};
    {
        OutStream out(3, NameOf("numbers"), 1);
        for (int i = 0; i < 6; i++) out.OutputNumber(values[i], widths[i]);
        ASSERT_TRUE(out.Close());
    }
    InStream in(3, NameOf("numbers"), 2);
    EXPECT_EQ(in.Size(), 27);
    for (int i = 0; i < 6; i++) EXPECT_EQ(in.InputNumber(widths[i]), values[i]) << "number " << i;
}

TEST_F(OutStreamTest, AWidthOutsideOneToEightWritesNothing)
{
    OutStream out(3, NameOf("nothing"), 1);
    EXPECT_FALSE(out.OutputNumber(5, 0));
    EXPECT_FALSE(out.OutputNumber(5, 9));
    EXPECT_EQ(out.GetPos(), 0);
    EXPECT_TRUE(out.Close());
    EXPECT_TRUE(ReadBytes("nothing").empty());
}

TEST_F(OutStreamTest, CreatingEmptiesAnExistingFile)
{
    WriteBytes("existing", PatternBytes(1000));
    {
        OutStream out(3, NameOf("existing"), 1);
        out.OutputData("ab", 2);
    }
    EXPECT_EQ(ReadBytes("existing"), (std::vector<unsigned char>{'a', 'b'}));
    {
        OutStream out(3, NameOf("existing"), 1);
        EXPECT_TRUE(out.IsOpen());
    }
    EXPECT_TRUE(std::filesystem::exists(PathOf("existing")));
    EXPECT_EQ(std::filesystem::file_size(PathOf("existing")), 0u);
}

TEST_F(OutStreamTest, AFileLargerThanTheBufferWritesByteByByte)
{
    std::vector<unsigned char> bytes = PatternBytes(manyBytes);
    {
        OutStream out(3, NameOf("copy"), 1);
        for (unsigned char byte : bytes) ASSERT_TRUE(out.OutputNumber(byte, 1));
        EXPECT_EQ(out.GetPos(), static_cast<int64_t>(manyBytes));
        EXPECT_TRUE(out.Close());
    }
    EXPECT_TRUE(ReadBytes("copy") == bytes);
}

TEST_F(OutStreamTest, SmallAndLargePiecesKeepTheirOrder)
{
    std::vector<unsigned char> bytes = PatternBytes(manyBytes);
    {
        OutStream out(3, NameOf("pieces"), 1);
        size_t done = 0;
        for (size_t piece : {10, 100000, 5, 65531, 1}) {
            ASSERT_TRUE(out.OutputData(bytes.data() + done, static_cast<int>(piece)));
            done += piece;
            EXPECT_EQ(out.GetPos(), static_cast<int64_t>(done));
        }
        ASSERT_TRUE(out.OutputData(bytes.data() + done, static_cast<int>(bytes.size() - done)));
        EXPECT_TRUE(out.Close());
    }
    EXPECT_TRUE(ReadBytes("pieces") == bytes);
}

TEST_F(OutStreamTest, FlushMakesTheDataVisibleBeforeClosing)
{
    OutStream out(3, NameOf("flushed"), 1);
    out.OutputData("abc", 3);
    EXPECT_TRUE(out.Flush());
    EXPECT_EQ(ReadBytes("flushed").size(), 3u);
    out.OutputNumber('d', 1);
    EXPECT_TRUE(out.Close());
    EXPECT_EQ(ReadBytes("flushed").size(), 4u);
    EXPECT_FALSE(out.IsOpen());
    EXPECT_TRUE(out.Close()); // closing again changes nothing
}

TEST_F(OutStreamTest, AFileThatCannotBeCreatedCountsAsFailed)
{
    OutStream out(3, NameOf("no such folder/file"), 1);
    EXPECT_FALSE(out.IsOpen());
    EXPECT_TRUE(out.Failed());
    EXPECT_FALSE(out.OutputNumber(1, 1));
    EXPECT_FALSE(out.OutputData("x", 1));
    EXPECT_FALSE(out.Close());
}

TEST_F(OutStreamTest, OnlyCreatingFileStreamsOpen)
{
    WriteBytes("kept", {1, 2, 3});
    for (int mode : {2, 3, 0}) {
        OutStream out(3, NameOf("kept"), mode);
        EXPECT_FALSE(out.IsOpen()) << "mode " << mode;
        EXPECT_TRUE(out.Failed());
    }
    EXPECT_FALSE(OutStream(4, NameOf("kept"), 1).IsOpen());
    EXPECT_EQ(ReadBytes("kept").size(), 3u);
}

TEST_F(OutStreamTest, WritingAfterCloseFails)
{
    OutStream out(3, NameOf("closed"), 1);
    ASSERT_TRUE(out.Close());
    EXPECT_FALSE(out.OutputNumber(1, 1));
    EXPECT_FALSE(out.OutputData("abc", 3));
    EXPECT_TRUE(out.Failed());
    EXPECT_TRUE(ReadBytes("closed").empty());
}

TEST_F(OutStreamTest, NonAsciiNamesReachTheFileSystem)
{
    String name = String(root.wstring().c_str()) + String(L"/Gr\u00FC\u00DFe \u20AC.txt");
    {
        OutStream out(3, name, 1);
        ASSERT_TRUE(out.IsOpen());
        out.OutputData("x", 1);
    }
    EXPECT_TRUE(std::filesystem::exists(root / std::filesystem::u8path(u8"Gr\u00FC\u00DFe \u20AC.txt")));
    InStream in(3, name, 2);
    EXPECT_EQ(in.Size(), 1);
}

namespace {

// A device that accepts no data: every write fails as on a full disk. Wine maps drive Z:
// to the host's root, which makes it reachable from Windows programs too.
const char *FullDevice()
{
#ifdef _WIN32
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return nullptr;
    return "Z:\\dev\\full";
#else
    return "/dev/full";
#endif
}

} // namespace

TEST(OutStreamFailure, AFailedWriteIsReportedByClose)
{
    const char *device = FullDevice();
    if (!device) GTEST_SKIP() << "no device that refuses writes";
    OutStream out(3, String(device), 1);
    ASSERT_TRUE(out.IsOpen());
    EXPECT_FALSE(out.Failed());
    out.OutputData("buffered", 8); // only buffered so far
    EXPECT_FALSE(out.Close());
    EXPECT_TRUE(out.Failed());
}

TEST(OutStreamFailure, AFailedWriteIsReportedAsSoonAsItHappens)
{
    const char *device = FullDevice();
    if (!device) GTEST_SKIP() << "no device that refuses writes";
    OutStream out(3, String(device), 1);
    std::vector<unsigned char> bytes = PatternBytes(manyBytes);
    bool allWritten = true;
    for (unsigned char byte : bytes) allWritten = out.OutputNumber(byte, 1) && allWritten;
    EXPECT_FALSE(allWritten);
    EXPECT_TRUE(out.Failed());
    EXPECT_FALSE(out.Flush());
    EXPECT_FALSE(out.OutputData(bytes.data(), 100000));
    EXPECT_FALSE(out.Close());
}
