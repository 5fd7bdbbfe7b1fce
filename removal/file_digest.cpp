// SHA-256 through the system's own cryptographic provider, so neither program carries a hash
// of its own.
#include "removal/file_digest.h"

#include <windows.h>

#include <wincrypt.h>

namespace {

// Windows XP has SHA-256 from Service Pack 3 on, in the AES provider; the headers name it only
// for the versions after XP.
const ALG_ID sha256 = ALG_CLASS_HASH | ALG_TYPE_ANY | 12;

class HashContext {
public:
    HashContext()
    {
        if (!CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) {
            provider = 0;
            return;
        }
        if (!CryptCreateHash(provider, sha256, 0, 0, &hash)) hash = 0;
    }
    ~HashContext()
    {
        if (hash) CryptDestroyHash(hash);
        if (provider) CryptReleaseContext(provider, 0);
    }
    HashContext(const HashContext &) = delete;
    HashContext &operator=(const HashContext &) = delete;

    bool Ready() const { return hash != 0; }
    bool Add(const BYTE *bytes, DWORD count) { return CryptHashData(hash, bytes, count, 0) != 0; }
    bool Finish(std::string &digest)
    {
        BYTE value[32];
        DWORD length = sizeof value;
        if (!CryptGetHashParam(hash, HP_HASHVAL, value, &length, 0) || length != sizeof value) return false;
        static const char hex[] = "0123456789abcdef";
        digest.clear();
        for (BYTE byte : value) {
            digest += hex[byte >> 4];
            digest += hex[byte & 0xF];
        }
        return true;
    }

private:
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
};

} // namespace

bool FileDigest(const std::wstring &path, uint64_t &size, std::string &digest)
{
    HashContext context;
    if (!context.Ready()) return false;
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    static BYTE buffer[1 << 16];
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
        if (!context.Add(buffer, count)) {
            ok = false;
            break;
        }
    }
    CloseHandle(file);
    return ok && context.Finish(digest);
}
