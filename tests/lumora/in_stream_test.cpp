#include "lumora/stream.h"

#include "byte_files.h"

#include <cstdint>
#include <fstream>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

using lumora::String;

namespace {

// Larger than the stream's buffer, and not a multiple of it.
const size_t manyBytes = 3 * 64 * 1024 + 17;

class InStreamTest : public ByteFilesTest {};

} // namespace

TEST_F(InStreamTest, NumbersAreReadLittleEndian)
{
    WriteBytes("numbers", {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6,
                           0xF7, 0xF8, 0xAA, 0xBB, 0xCC});
    InStream in(3, NameOf("numbers"), 2);
    ASSERT_TRUE(in.IsOpen());
    EXPECT_EQ(in.InputNumber(1), 0x01u);
    EXPECT_EQ(in.InputNumber(2), 0x0302u);
    EXPECT_EQ(in.InputNumber(4), 0x07060504u);
    EXPECT_EQ(in.InputNumber(1), 0x08u);
    EXPECT_EQ(in.InputNumber(8), 0xF8F7F6F5F4F3F2F1u); // unsigned: the top bit is no sign
    EXPECT_EQ(in.InputNumber(3), 0xCCBBAAu);
    EXPECT_EQ(in.GetPos(), 19);
    EXPECT_FALSE(in.AtEnd());
}

TEST_F(InStreamTest, AWidthOutsideOneToEightReadsNothing)
{
    WriteBytes("numbers", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    InStream in(3, NameOf("numbers"), 2);
    EXPECT_EQ(in.InputNumber(0), 0u);
    EXPECT_EQ(in.InputNumber(9), 0u);
    EXPECT_EQ(in.InputNumber(-1), 0u);
    EXPECT_EQ(in.GetPos(), 0);
    EXPECT_EQ(in.InputNumber(1), 1u);
}

TEST_F(InStreamTest, ReadingPastTheEndGivesZerosAndSetsTheEndFlag)
{
    WriteBytes("short", {0x11, 0x22, 0x33});
    InStream in(3, NameOf("short"), 2);
    EXPECT_EQ(in.InputNumber(4), 0x332211u);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(in.InputNumber(1), 0u);
    unsigned char bytes[8];
    EXPECT_EQ(in.InputData(bytes, 8), 0);
    EXPECT_EQ(in.InputString(5).Length(), 0);
    EXPECT_EQ(in.GetPos(), 3);
}

TEST_F(InStreamTest, TheLastByteDoesNotSetTheEndFlag)
{
    WriteBytes("two", {7, 9});
    InStream in(3, NameOf("two"), 3);
    EXPECT_EQ(in.InputNumber(2), 0x0907u);
    EXPECT_FALSE(in.AtEnd());
    EXPECT_EQ(in.GetPos(), in.Size());
}

TEST_F(InStreamTest, InputStringMakesOneCharacterPerByte)
{
    WriteBytes("name", {'a', '/', 0xE9, 0x00, 0xFF, 'z'});
    InStream in(3, NameOf("name"), 2);
    String s = in.InputString(6);
    ASSERT_EQ(s.Length(), 6);
    const wchar_t expected[] = {L'a', L'/', 0xE9, 0x00, 0xFF, L'z'};
    for (int i = 0; i < 6; i++) EXPECT_EQ(s[i], expected[i]) << "at " << i;
    EXPECT_EQ(in.GetPos(), 6);
}

TEST_F(InStreamTest, InputStringStopsAtTheEndAndAcceptsNoCount)
{
    WriteBytes("name", {'a', 'b', 'c'});
    InStream in(3, NameOf("name"), 2);
    EXPECT_EQ(in.InputString(0).Length(), 0);
    EXPECT_EQ(in.InputString(-4).Length(), 0);
    EXPECT_FALSE(in.AtEnd());
    String s = in.InputString(2000000000); // a damaged length must not allocate that much
    EXPECT_EQ(s, String("abc"));
    EXPECT_TRUE(in.AtEnd());
}

TEST_F(InStreamTest, InputStringCrossesBufferBoundaries)
{
    std::vector<unsigned char> bytes = PatternBytes(manyBytes);
    WriteBytes("long", bytes);
    InStream in(3, NameOf("long"), 2);
    in.Seek(64 * 1024 - 3);
    String s = in.InputString(70000);
    ASSERT_EQ(s.Length(), 70000);
    for (int i = 0; i < 70000; i++) ASSERT_EQ(s[i], bytes[64 * 1024 - 3 + i]) << "at " << i;
}

TEST_F(InStreamTest, InputDataCrossesBufferBoundariesInAnyPieces)
{
    std::vector<unsigned char> bytes = PatternBytes(manyBytes);
    WriteBytes("long", bytes);
    InStream in(3, NameOf("long"), 2);
    std::vector<unsigned char> read(bytes.size() + 100000);
    size_t done = 0;
    // Pieces that end inside, at and beyond the buffer, one of them larger than it, each
    // followed by a single byte.
    for (int piece : {1, 4095, 61440, 7, 100000, 3, 20000}) {
        ASSERT_EQ(in.InputData(read.data() + done, piece), piece);
        done += static_cast<size_t>(piece);
        EXPECT_EQ(in.GetPos(), static_cast<int64_t>(done));
        read[done++] = static_cast<unsigned char>(in.InputNumber(1));
    }
    int rest = in.InputData(read.data() + done, 100000);
    EXPECT_EQ(static_cast<size_t>(rest), bytes.size() - done);
    EXPECT_TRUE(in.AtEnd());
    read.resize(done + static_cast<size_t>(rest));
    EXPECT_TRUE(read == bytes);
}

TEST_F(InStreamTest, AFileLargerThanTheBufferReadsByteByByte)
{
    std::vector<unsigned char> bytes = PatternBytes(manyBytes);
    WriteBytes("long", bytes);
    InStream in(3, NameOf("long"), 2);
    ASSERT_EQ(in.Size(), static_cast<int64_t>(manyBytes));
    for (size_t i = 0; i < manyBytes; i++) ASSERT_EQ(in.InputNumber(1), bytes[i]) << "at " << i;
    EXPECT_FALSE(in.AtEnd());
    EXPECT_EQ(in.InputNumber(1), 0u);
    EXPECT_TRUE(in.AtEnd());
}

TEST_F(InStreamTest, SeekAndRelSeekMoveTheReadPosition)
{
    std::vector<unsigned char> bytes = PatternBytes(manyBytes);
    WriteBytes("long", bytes);
    InStream in(3, NameOf("long"), 2);
    // Forward and back, within the buffer and far outside it.
    const int64_t positions[] = {3, 0, 150000, 65535, 65536, 10, 196000, static_cast<int64_t>(manyBytes) - 1};
    for (int64_t position : positions) {
        SCOPED_TRACE(position);
        ASSERT_TRUE(in.Seek(position));
        EXPECT_EQ(in.GetPos(), position);
        EXPECT_EQ(in.InputNumber(1), bytes[static_cast<size_t>(position)]);
    }
    ASSERT_TRUE(in.Seek(3));
    EXPECT_TRUE(in.RelSeek(5)); // skipping a tag
    EXPECT_EQ(in.GetPos(), 8);
    EXPECT_EQ(in.InputNumber(1), bytes[8]);
    EXPECT_TRUE(in.RelSeek(-9));
    EXPECT_EQ(in.GetPos(), 0);
    EXPECT_TRUE(in.RelSeek(100000));
    EXPECT_EQ(in.InputNumber(2), bytes[100000] | bytes[100001] << 8);
}

TEST_F(InStreamTest, SeekingOutsideTheFileFails)
{
    WriteBytes("ten", PatternBytes(10));
    InStream in(3, NameOf("ten"), 2);
    ASSERT_TRUE(in.Seek(4));
    EXPECT_FALSE(in.Seek(-1));
    EXPECT_EQ(in.GetPos(), 4);
    EXPECT_FALSE(in.RelSeek(-5));
    EXPECT_EQ(in.GetPos(), 4);
    EXPECT_FALSE(in.AtEnd());

    EXPECT_TRUE(in.Seek(10)); // the end itself is a position
    EXPECT_FALSE(in.AtEnd());
    EXPECT_FALSE(in.Seek(11));
    EXPECT_EQ(in.GetPos(), 10);
    EXPECT_TRUE(in.AtEnd());

    ASSERT_TRUE(in.Seek(2)); // a good seek makes the stream readable again
    EXPECT_FALSE(in.AtEnd());
    EXPECT_FALSE(in.RelSeek(INT64_MAX));
    EXPECT_EQ(in.GetPos(), 10);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_FALSE(in.RelSeek(INT64_MIN));
    EXPECT_EQ(in.GetPos(), 10);
}

TEST_F(InStreamTest, AMissingFileIsClosedAndReadsNothing)
{
    InStream in(3, NameOf("absent"), 2);
    EXPECT_FALSE(in.IsOpen());
    EXPECT_EQ(in.Size(), 0);
    EXPECT_EQ(in.InputNumber(4), 0u);
    EXPECT_EQ(in.InputNumber(1), 0u);
    EXPECT_TRUE(in.AtEnd());
    unsigned char bytes[4] = {9, 9, 9, 9};
    EXPECT_EQ(in.InputData(bytes, 4), 0);
    EXPECT_EQ(bytes[0], 9);
    EXPECT_EQ(in.InputString(10).Length(), 0);
    EXPECT_FALSE(in.Seek(0));
    EXPECT_FALSE(in.RelSeek(1));
    EXPECT_EQ(in.GetPos(), 0);
}

TEST_F(InStreamTest, AnEmptyFileOpensWithSizeZero)
{
    WriteBytes("empty", {});
    InStream in(3, NameOf("empty"), 2);
    EXPECT_TRUE(in.IsOpen());
    EXPECT_EQ(in.Size(), 0);
    EXPECT_EQ(in.InputNumber(1), 0u);
    EXPECT_TRUE(in.AtEnd());
}

TEST_F(InStreamTest, OnlyFileStreamsInReadModesOpen)
{
    WriteBytes("data", {1, 2, 3});
    EXPECT_TRUE(InStream(3, NameOf("data"), 2).IsOpen());
    EXPECT_TRUE(InStream(3, NameOf("data"), 3).IsOpen());
    EXPECT_FALSE(InStream(3, NameOf("data"), 1).IsOpen());
    EXPECT_FALSE(InStream(1, NameOf("data"), 2).IsOpen());
    EXPECT_EQ(ReadBytes("data").size(), 3u); // and nothing was emptied
}

TEST_F(InStreamTest, AFolderIsNoFile)
{
    std::filesystem::create_directories(PathOf("folder"));
    InStream in(3, NameOf("folder"), 2);
    EXPECT_FALSE(in.IsOpen());
    EXPECT_EQ(in.Size(), 0);
    EXPECT_EQ(in.InputNumber(1), 0u);
}

#ifdef _WIN32
TEST_F(InStreamTest, ALoadedProgramFileCanBeRead)
{
    // The installer copies the library it has loaded itself.
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    InStream in(3, String(path), 3);
    ASSERT_TRUE(in.IsOpen());
    EXPECT_EQ(in.Size(), static_cast<int64_t>(std::filesystem::file_size(path)));
    EXPECT_EQ(in.InputNumber(2), 0x5A4Du); // "MZ"
}
#else
TEST_F(InStreamTest, APipeIsRefusedRatherThanWaitedFor)
{
    ASSERT_EQ(mkfifo(PathOf("pipe").c_str(), 0600), 0);
    InStream in(3, NameOf("pipe"), 2); // would block forever if it waited for a writer
    EXPECT_FALSE(in.IsOpen());
    EXPECT_EQ(in.InputNumber(1), 0u);
}
#endif

TEST_F(InStreamTest, BackslashesSeparateFolders)
{
    std::filesystem::create_directories(PathOf("help") / "pages");
    std::ofstream(PathOf("help") / "pages" / "start.html") << "<p>";
    String name = String(root.wstring().c_str()) + String("\\help\\pages\\start.html");
    InStream in(3, name, 2);
    ASSERT_TRUE(in.IsOpen());
    EXPECT_EQ(in.InputString(3), String("<p>"));
}
