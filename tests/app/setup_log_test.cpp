// The run's log: its line format and encoding, the dates it stamps, the file names it takes, and
// when its lines reach the sink.
#include "app/setup_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class MemorySink : public LogSink {
public:
    bool Write(const char *bytes, size_t count) override
    {
        writes.emplace_back(bytes, count);
        return !failing;
    }
    std::string All() const
    {
        std::string all;
        for (const std::string &write : writes) all += write;
        return all;
    }
    std::vector<std::string> writes;
    bool failing = false;
};

// 2024-02-29 23:59:59.250 in milliseconds since 1970.
const int64_t leapDayEvening = 1709251199250;

TEST(SetupLog, StampsEachLineAndEndsItWithCarriageReturnAndLineFeed)
{
    MemorySink sink;
    int64_t now = leapDayEvening;
    {
        SetupLog log(sink, [&now] { return now; });
        log.Line(L"Destination: C:\\Caf\u00e9 \u0410\u043f\u043f");
        now += 750; // past midnight
        log.Line(L"two\r\nlines\tand a tab");
    }
    EXPECT_EQ(sink.All(), "2024-02-29 23:59:59.250 Destination: C:\\Caf\xc3\xa9 \xd0\x90\xd0\xbf\xd0\xbf\r\n"
                          "2024-03-01 00:00:00.000 two  lines and a tab\r\n");
}

TEST(SetupLog, CharactersBeyondTheBasicPlaneAreFourBytesAndLoneSurrogatesReplaced)
{
    std::wstring clef = sizeof(wchar_t) == 2 ? std::wstring{wchar_t(0xD834), wchar_t(0xDD1E)}
                                             : std::wstring(1, static_cast<wchar_t>(0x1D11E));
    EXPECT_EQ(Utf8(L"a" + clef + L"b"), "a\xf0\x9d\x84\x9e"
                                        "b");
    EXPECT_EQ(Utf8(std::wstring{L'x', wchar_t(0xDC00), L'y'}), "x\xef\xbf\xbdy");
}

TEST(SetupLog, DatesAcrossCenturiesAndBeforeNineteenSeventy)
{
    EXPECT_EQ(TimeStamp(0), "1970-01-01 00:00:00.000");
    EXPECT_EQ(TimeStamp(-1), "1969-12-31 23:59:59.999");
    EXPECT_EQ(TimeStamp(951782400000), "2000-02-29 00:00:00.000");
    EXPECT_EQ(TimeStamp(4107542400000), "2100-03-01 00:00:00.000");
    EXPECT_EQ(LogFileName(L"Setup", leapDayEvening, 7), L"Setup Log 2024-02-29 #007.txt");
    EXPECT_EQ(LogFileName(L"Setup", leapDayEvening, 123), L"Setup Log 2024-02-29 #123.txt");
}

TEST(SetupLog, LinesReachTheSinkEveryHalfSecondOrFewKilobytesOrFlush)
{
    MemorySink sink;
    int64_t now = 0;
    SetupLog log(sink, [&now] { return now; });
    log.Line(L"first");
    now += 499;
    log.Line(L"second");
    EXPECT_TRUE(sink.writes.empty()) << "a line per file must not be a write per file";
    now += 1;
    log.Line(L"third");
    ASSERT_EQ(sink.writes.size(), 1u);
    EXPECT_NE(sink.writes[0].find("third"), std::string::npos);

    for (int k = 0; k < 1000 && sink.writes.size() == 1; ++k) log.Line(std::wstring(100, L'x'));
    ASSERT_EQ(sink.writes.size(), 2u) << "a long run of lines within half a second";
    EXPECT_LE(sink.writes[1].size(), 40u * 1024);

    log.Line(L"last");
    log.Flush();
    EXPECT_EQ(sink.writes.back().substr(sink.writes.back().size() - 6), "last\r\n");
}

TEST(SetupLog, AFailedWriteIsRememberedAndLaterLinesDropped)
{
    MemorySink sink;
    sink.failing = true;
    SetupLog log(sink, [] { return 0; });
    log.Line(L"one");
    EXPECT_FALSE(log.Failed());
    log.Flush();
    EXPECT_TRUE(log.Failed());
    log.Line(L"two");
    log.Flush();
    EXPECT_EQ(sink.writes.size(), 1u);
}

} // namespace
