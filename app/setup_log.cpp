#include "app/setup_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

const int64_t millisecondsPerDay = 86400000;
// Lines gathered before they are handed to the sink, at most: a few hundred files' worth.
const size_t mostGatheredBytes = 32 * 1024;
const int64_t mostGatheredMilliseconds = 500;

struct CivilDate {
    int64_t year;
    int month;
    int day;
};

// The proleptic Gregorian date of a day counted from 1970-01-01, and back.
CivilDate DateOfDay(int64_t days)
{
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    return CivilDate{yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

int64_t DayOfDate(int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int64_t SecondsOf(const std::tm &time)
{
    return DayOfDate(time.tm_year + 1900, time.tm_mon + 1, time.tm_mday) * 86400 + time.tm_hour * 3600 +
           time.tm_min * 60 + time.tm_sec;
}

int64_t LocalOffsetMilliseconds()
{
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    std::tm universal = *std::gmtime(&now);
    return (SecondsOf(local) - SecondsOf(universal)) * 1000;
}

void AppendUtf8(std::string &out, uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

const uint32_t replacementCharacter = 0xFFFD;

} // namespace

int64_t LocalMilliseconds()
{
    static const int64_t offset = LocalOffsetMilliseconds();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
               .count() +
           offset;
}

std::string TimeStamp(int64_t localMilliseconds)
{
    int64_t days = localMilliseconds / millisecondsPerDay;
    int64_t rest = localMilliseconds % millisecondsPerDay;
    if (rest < 0) {
        rest += millisecondsPerDay;
        --days;
    }
    CivilDate date = DateOfDay(days);
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d %02d:%02d:%02d.%03d",
                  static_cast<long long>(date.year), date.month, date.day, static_cast<int>(rest / 3600000),
                  static_cast<int>(rest / 60000 % 60), static_cast<int>(rest / 1000 % 60),
                  static_cast<int>(rest % 1000));
    return text;
}

std::wstring LogFileName(const std::wstring &program, int64_t localMilliseconds, int number)
{
    std::string date = TimeStamp(localMilliseconds).substr(0, 10);
    char count[16];
    std::snprintf(count, sizeof count, "%03d", number);
    return program + L" Log " + std::wstring(date.begin(), date.end()) + L" #" +
           std::wstring(count, count + std::char_traits<char>::length(count)) + L".txt";
}

std::string Utf8(const std::wstring &text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t k = 0; k < text.size(); ++k) {
        uint32_t code = static_cast<uint32_t>(text[k]);
        if (sizeof(wchar_t) == 2 && code >= 0xD800 && code <= 0xDBFF && k + 1 < text.size()) {
            uint32_t low = static_cast<uint32_t>(text[k + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                ++k;
            }
        }
        if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) code = replacementCharacter;
        AppendUtf8(out, code);
    }
    return out;
}

SetupLog::SetupLog(LogSink &sink, std::function<int64_t()> clock)
    : sink(sink), clock(std::move(clock)), lastHandedOver(this->clock())
{
}

SetupLog::~SetupLog()
{
    Flush();
}

void SetupLog::Line(const std::wstring &text)
{
    std::lock_guard<std::mutex> guard(lock);
    if (failed) return;
    const int64_t now = clock();
    gathered += TimeStamp(now);
    gathered += ' ';
    const size_t start = gathered.size();
    gathered += Utf8(text);
    for (size_t k = start; k < gathered.size(); ++k)
        if (static_cast<unsigned char>(gathered[k]) < 0x20) gathered[k] = ' ';
    gathered += "\r\n";
    if (gathered.size() >= mostGatheredBytes || now - lastHandedOver >= mostGatheredMilliseconds)
        FlushLocked();
}

void SetupLog::Flush()
{
    std::lock_guard<std::mutex> guard(lock);
    FlushLocked();
}

void SetupLog::FlushLocked()
{
    lastHandedOver = clock();
    if (gathered.empty() || failed) return;
    if (!sink.Write(gathered.data(), gathered.size())) failed = true;
    gathered.clear();
}
