// A log of one run for whoever deploys the program: UTF-8 text with CR LF line ends, each line
// stamped with the local date and time to the millisecond. Lines are gathered and handed to the
// sink as the work goes: with the first line half a second after the last hand-over, whenever a
// few kilobytes have gathered, and at each Flush, so a log cut short still shows how far the run
// got, while a line per installed file costs no write of its own. Only the standard library is
// used.
#ifndef SETUP_APP_SETUP_LOG_H
#define SETUP_APP_SETUP_LOG_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

// Where the bytes go: a file, or memory in a test.
class LogSink {
public:
    virtual ~LogSink() = default;
    // Writes every byte or fails.
    virtual bool Write(const char *bytes, size_t count) = 0;
};

// Milliseconds since 1970-01-01 00:00 in the local time zone (its offset taken once, at the
// first call).
int64_t LocalMilliseconds();

// "2024-05-01 13:45:07.250" for a LocalMilliseconds value.
std::string TimeStamp(int64_t localMilliseconds);

// The name of a log in the temporary folder: "PROGRAM Log 2024-05-01 #007.txt".
std::wstring LogFileName(const std::wstring &program, int64_t localMilliseconds, int number);

// UTF-8 of wide text, UTF-16 or UTF-32 as wchar_t holds it; an unpaired surrogate becomes U+FFFD.
std::string Utf8(const std::wstring &text);

class SetupLog {
public:
    explicit SetupLog(LogSink &sink, std::function<int64_t()> clock = LocalMilliseconds);
    ~SetupLog(); // hands over what is left
    SetupLog(const SetupLog &) = delete;
    SetupLog &operator=(const SetupLog &) = delete;

    // attributes
    // A write to the sink has failed; later lines are dropped.
    bool Failed() const { return failed; }

    // operations
    // One line; control characters in it become spaces, so every entry stays on its own line.
    // May be called from any thread.
    void Line(const std::wstring &text);
    // Hands every gathered line to the sink now.
    void Flush();

private:
    void FlushLocked();

    LogSink &sink;
    std::function<int64_t()> clock;
    std::mutex lock;
    std::string gathered;
    int64_t lastHandedOver;
    bool failed = false;
};

#endif
