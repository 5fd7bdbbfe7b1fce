// The payload of the launcher's own file: found at the end of the file's signed content,
// checked whole against the trailer's size and SHA-256 before anything else is done, then its
// table read and judged. The file stays open without sharing for writing, so the bytes
// unpacked are the bytes checked.
#ifndef SETUP_LAUNCHER_OWN_PAYLOAD_H
#define SETUP_LAUNCHER_OWN_PAYLOAD_H

#include "bundle/bundle_format.h"

#include <windows.h>

class OwnPayload {
public:
    OwnPayload() = default;
    ~OwnPayload();
    OwnPayload(const OwnPayload &) = delete;
    OwnPayload &operator=(const OwnPayload &) = delete;

    // Opens the running program's file and checks its payload and table; buffer (bufferSize
    // bytes) is the caller's, for reading.
    BundleFault Open(uint8_t *buffer, DWORD bufferSize);
    // The table, once Open() found no fault.
    PayloadTable Table() const { return PayloadTable(table, header); }
    // Reads size bytes from offset of the payload, in the buffer's chunks, into write; false
    // when the file cannot be read or write fails.
    template <typename Write> bool Copy(uint64_t offset, uint64_t size, Write write);

private:
    bool ReadAt(uint64_t offset, void *bytes, DWORD size);

    HANDLE file = INVALID_HANDLE_VALUE;
    uint8_t *buffer = nullptr;
    DWORD bufferSize = 0;
    uint64_t payloadStart = 0;
    PayloadHeader header{};
    uint8_t *table = nullptr;
};

template <typename Write> bool OwnPayload::Copy(uint64_t offset, uint64_t size, Write write)
{
    while (size > 0) {
        DWORD chunk = size < bufferSize ? static_cast<DWORD>(size) : bufferSize;
        if (!ReadAt(payloadStart + offset, buffer, chunk) || !write(buffer, chunk)) return false;
        offset += chunk, size -= chunk;
    }
    return true;
}

#endif
