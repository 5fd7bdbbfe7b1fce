#include "install/chunked_copy.h"

#include <algorithm>
#include <vector>

namespace {

const int64_t smallestChunk = 10000;
const int64_t largestPiece = 1 << 20;

} // namespace

int64_t CopyChunkSize(int64_t size)
{
    return std::max(size / 100, smallestChunk);
}

int CopyPercent(int64_t done, int64_t size)
{
    // volatile: the x87 unit would otherwise keep more precision than a double.
    volatile double product = static_cast<double>(done) * 100.0;
    volatile double quotient = product / static_cast<double>(size);
    return static_cast<int>(quotient);
}

bool CopyWithProgress(const ReadSource &source, OutStream &target, int64_t size,
                      const std::function<void(int)> &onNewPercent)
{
    int64_t chunk = CopyChunkSize(size);
    std::vector<unsigned char> buffer(static_cast<size_t>(std::min(chunk, largestPiece)));
    int64_t remaining = size;
    int shown = 0;
    bool ok = true;
    while (ok && remaining != 0) {
        int64_t chunkLeft = std::min(remaining, chunk);
        remaining -= chunkLeft;
        while (ok && chunkLeft != 0) {
            int piece = static_cast<int>(std::min(chunkLeft, static_cast<int64_t>(buffer.size())));
            ok = source(buffer.data(), piece) == piece && target.OutputData(buffer.data(), piece);
            chunkLeft -= piece;
        }
        int percent = CopyPercent(size - remaining, size);
        if (ok && percent != shown) {
            shown = percent;
            onNewPercent(percent);
        }
    }
    return ok;
}
