#include "install/group_decoder.h"

#include <bzlib.h>

#include <algorithm>
#include <vector>

namespace {

const int blockSize = 1 << 16;

ArchiveFaultKind FaultOf(int status, bool bytesLeft)
{
    if (status == BZ_DATA_ERROR) return ArchiveFaultKind::streamDamaged;
    if (status == BZ_DATA_ERROR_MAGIC) return ArchiveFaultKind::notBzip2;
    if (status != BZ_STREAM_END) return ArchiveFaultKind::streamEndsEarly;
    if (bytesLeft) return ArchiveFaultKind::bytesAfterStream;
    return ArchiveFaultKind::none;
}

} // namespace

GroupDecoding DecodeGroup(const ArchiveGroup &group, const std::function<int(void *, int)> &read,
                          const std::function<bool(const void *, int)> &write,
                          const std::function<void(int64_t)> &packedRead)
{
    GroupDecoding result;
    bz_stream stream = {};
    if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK) {
        result.fault = ArchiveFaultKind::noDecompressor;
        return result;
    }
    std::vector<char> input(blockSize), output(blockSize);
    int64_t packedLeft = group.packedSize;
    int status = BZ_OK;
    bool producedLast = true;
    while (status == BZ_OK && !result.beyondTable) {
        if (stream.avail_in == 0 && packedLeft > 0) {
            int want = static_cast<int>(std::min<int64_t>(packedLeft, blockSize));
            int got = read(input.data(), want);
            if (got <= 0) {
                result.readFailed = true;
                break;
            }
            packedLeft -= got;
            if (packedRead) packedRead(group.packedSize - packedLeft);
            stream.next_in = input.data();
            stream.avail_in = static_cast<unsigned>(got);
        } else if (stream.avail_in == 0 && !producedLast) {
            break; // every packed byte taken and nothing more comes out: the stream is cut short
        }
        stream.next_out = output.data();
        stream.avail_out = blockSize;
        status = BZ2_bzDecompress(&stream);
        int produced = blockSize - static_cast<int>(stream.avail_out);
        producedLast = produced > 0;
        if (produced > 0 && !write(output.data(), produced)) {
            result.writeFailed = true;
            break;
        }
        result.unpacked += produced;
        result.beyondTable = result.unpacked > group.unpackedTotal;
    }
    bool bytesLeft = stream.avail_in > 0 || packedLeft > 0;
    BZ2_bzDecompressEnd(&stream);
    // A stream stopped for giving too much has not said yet whether it is sound.
    bool stoppedEarly = result.readFailed || result.writeFailed || (result.beyondTable && status == BZ_OK);
    if (!stoppedEarly) result.fault = FaultOf(status, bytesLeft);
    return result;
}
