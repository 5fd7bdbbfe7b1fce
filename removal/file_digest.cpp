// SHA-256 with the kit's own code (bundle/sha256.h), the one the launcher checks its payload
// with, so the record does not hang on a cryptographic provider the system may lack.
#include "removal/file_digest.h"

#include "bundle/sha256.h"

#include <windows.h>

bool FileDigest(const std::wstring &path, uint64_t &size, std::string &digest)
{
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    static BYTE buffer[1 << 16];
    Sha256 hash;
    bool ok = true;
    size = 0;
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &count, nullptr)) {
            ok = false;
            break;
        }
        if (count == 0) break;
        size += count;
        hash.Update(buffer, count);
    }
    CloseHandle(file);
    if (!ok) return false;
    uint8_t value[sha256Size];
    hash.Finish(value);
    static const char hex[] = "0123456789abcdef";
    digest.clear();
    for (uint8_t byte : value) {
        digest += hex[byte >> 4];
        digest += hex[byte & 0xF];
    }
    return true;
}
