// Measures the one-byte paths of the file streams, which copy archive data byte by byte.
// Usage: stream_speed FILE [MEGABYTES]
#include "lumora/stream.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

const double targetMegabytesPerSecond = 100.0;

// Wall time is what a user waits; processor time shows what the code costs when other
// work shares the machine.
class Timer {
public:
    Timer() : wallStart(std::chrono::steady_clock::now()), processorStart(std::clock()) {}

    void Report(const char *what, int64_t bytes) const
    {
        double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        double processor = static_cast<double>(std::clock() - processorStart) / CLOCKS_PER_SEC;
        double megabytes = static_cast<double>(bytes) / (1024.0 * 1024.0);
        double rate = megabytes / wall;
        std::printf("%-6s %8.1f MB/s  ratio to target %.2f  (%.1f MB per processor second)\n", what, rate,
                    rate / targetMegabytesPerSecond, megabytes / processor);
    }

private:
    std::chrono::steady_clock::time_point wallStart;
    std::clock_t processorStart;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: stream_speed FILE [MEGABYTES]\n");
        return 2;
    }
    const lumora::String name(argv[1]);
    const int64_t bytes = (argc > 2 ? std::atoll(argv[2]) : 256) * 1024 * 1024;

    Timer writing;
    {
        OutStream out(3, name, 1);
        for (int64_t i = 0; i < bytes; i++) out.OutputNumber(static_cast<uint64_t>(i * 7 + (i >> 12)), 1);
        if (!out.Close()) {
            std::fprintf(stderr, "stream_speed: writing %s failed\n", argv[1]);
            return 1;
        }
    }
    writing.Report("write", bytes);

    Timer reading;
    int64_t wrong = 0;
    {
        InStream in(3, name, 2);
        for (int64_t i = 0; i < bytes; i++)
            wrong += in.InputNumber(1) != static_cast<uint8_t>(i * 7 + (i >> 12));
    }
    reading.Report("read", bytes);
    std::remove(argv[1]);
    if (wrong != 0) {
        std::fprintf(stderr, "stream_speed: %lld bytes read back wrong\n", static_cast<long long>(wrong));
        return 1;
    }
    return 0;
}
