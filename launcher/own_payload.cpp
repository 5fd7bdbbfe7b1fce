#include "launcher/own_payload.h"

namespace {

// Long enough for any path Windows gives a running program.
const DWORD mostPathUnits = 32768;

bool SameDigest(const uint8_t *first, const uint8_t *second)
{
    uint8_t difference = 0;
    for (size_t k = 0; k < sha256Size; ++k) difference |= first[k] ^ second[k];
    return difference == 0;
}

} // namespace

OwnPayload::~OwnPayload()
{
    if (table != nullptr) HeapFree(GetProcessHeap(), 0, table);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

bool OwnPayload::ReadAt(uint64_t offset, void *bytes, DWORD size)
{
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ReadFile(file, bytes, size, &read, nullptr) &&
           read == size;
}

BundleFault OwnPayload::Open(uint8_t *readBuffer, DWORD readBufferSize)
{
    buffer = readBuffer, bufferSize = readBufferSize;
    wchar_t *path = static_cast<wchar_t *>(HeapAlloc(GetProcessHeap(), 0, mostPathUnits * sizeof(wchar_t)));
    if (path == nullptr) return BundleFault::notAProgram;
    DWORD length = GetModuleFileNameW(nullptr, path, mostPathUnits);
    if (length > 0 && length < mostPathUnits)
        // Others may read it, rename it or mark it for deletion, which changes no byte; none may write.
        file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    HeapFree(GetProcessHeap(), 0, path);
    LARGE_INTEGER fileSize;
    if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &fileSize)) return BundleFault::notAProgram;
    uint64_t size = static_cast<uint64_t>(fileSize.QuadPart), contentEnd = 0;
    DWORD head = size < programHeadSize ? static_cast<DWORD>(size) : static_cast<DWORD>(programHeadSize);
    if (!ReadAt(0, buffer, head)) return BundleFault::notAProgram;
    BundleFault fault = SignedContentEnd(buffer, head, size, contentEnd);
    if (fault != BundleFault::none) return fault;
    if (contentEnd < bundleTrailerSize || !ReadAt(contentEnd - bundleTrailerSize, buffer, bundleTrailerSize))
        return BundleFault::noTrailer;
    BundleTrailer trailer;
    fault = ReadTrailer(buffer, contentEnd, trailer, payloadStart);
    if (fault != BundleFault::none) return fault;

    Sha256 digest;
    bool read = Copy(0, trailer.payloadSize, [&](const uint8_t *bytes, DWORD count) {
        digest.Update(bytes, count);
        return true;
    });
    uint8_t found[sha256Size];
    digest.Finish(found);
    if (!read || !SameDigest(found, trailer.digest)) return BundleFault::digestDiffers;

    if (!ReadAt(payloadStart, buffer, payloadHeaderSize)) return BundleFault::damagedTable;
    fault = ReadPayloadHeader(buffer, trailer.payloadSize, header);
    if (fault != BundleFault::none) return fault;
    table = static_cast<uint8_t *>(HeapAlloc(GetProcessHeap(), 0, header.tableSize));
    if (table == nullptr || !ReadAt(payloadStart + payloadHeaderSize, table, header.tableSize))
        return BundleFault::damagedTable;
    return Table().Check(trailer.payloadSize);
}
