#include "tools/signature_check.h"

#include "tools/package_files.h"
#include "tools/signature_verify.h"

#include <cstdint>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// Offsets of the PE format, as Windows lays out its programs.
const uint64_t headerOffsetAt = 0x3C;   // in the DOS header: where the PE header starts
const uint64_t coffHeaderSize = 20;     // after the 4 bytes "PE\0\0"
const uint64_t optionalSizeAt = 16;     // in the COFF header
const uint64_t checksumAt = 64;         // CheckSum in the optional header, of either width
const uint16_t pe32Magic = 0x10B;       // 32-bit programs
const uint16_t pe32PlusMagic = 0x20B;   // 64-bit programs
const uint64_t directoryCountAt32 = 92; // NumberOfRvaAndSizes in the optional header
const uint64_t directoryCountAt64 = 108;
const uint64_t certificateDirectory = 4;  // IMAGE_DIRECTORY_ENTRY_SECURITY
const uint64_t certificateHeaderSize = 8; // WIN_CERTIFICATE without its data
const uint16_t certificateRevision = 0x0200;
const uint16_t pkcsSignedData = 0x0002; // WIN_CERT_TYPE_PKCS_SIGNED_DATA

// Little-endian numbers read at any offset; false past the end of the file.
class FileBytes {
public:
    explicit FileBytes(const fs::path &file) : stream(file, std::ios::binary)
    {
        std::error_code code;
        size = fs::file_size(file, code);
        if (code) stream.setstate(std::ios::failbit);
    }
    bool Read(uint64_t offset, unsigned width, uint64_t &value)
    {
        value = 0;
        if (!stream || offset > size || width > size - offset) return false;
        unsigned char bytes[4] = {};
        stream.seekg(static_cast<std::streamoff>(offset));
        stream.read(reinterpret_cast<char *>(bytes), width);
        if (!stream) return false;
        for (unsigned k = width; k-- > 0;) value = value << 8 | bytes[k];
        return true;
    }
    uint64_t Size() const { return size; }

private:
    std::ifstream stream;
    uint64_t size = 0;
};

// The certificate table: a WIN_CERTIFICATE whose length fits the table, of the type that
// holds an Authenticode signature.
SignatureState ReadCertificateTable(FileBytes &bytes, uint64_t offset, uint64_t size)
{
    if (offset > bytes.Size() || size > bytes.Size() - offset || size < certificateHeaderSize)
        return SignatureState::damaged;
    uint64_t length = 0, revision = 0, type = 0;
    if (!bytes.Read(offset, 4, length) || !bytes.Read(offset + 4, 2, revision) ||
        !bytes.Read(offset + 6, 2, type))
        return SignatureState::damaged;
    if (length <= certificateHeaderSize || length > size || revision != certificateRevision ||
        type != pkcsSignedData)
        return SignatureState::damaged;
    return SignatureState::present;
}

struct PackageProgram {
    const wchar_t *name;
    const wchar_t *unsignedMeans; // what its users meet when it carries no signature
};

const PackageProgram packagePrograms[] = {
    {L"setup.exe", L"Windows will show \"Unknown publisher\" when it asks for administrator rights"},
    {L"lumora.dll", L"systems that run only signed code will refuse to load it"},
    {L"uninstall.exe", L"Windows will show \"Unknown publisher\" when it asks for administrator rights to "
                       L"remove the product"}};

Finding PackageFinding(Severity severity, const std::wstring &file, const std::wstring &message)
{
    Finding finding{severity, L"", L"", 0, file, L"", message};
    return finding;
}

} // namespace

SignatureState ReadSignatureState(const fs::path &file, SignatureLayout *layout)
{
    FileBytes bytes(file);
    uint64_t mz = 0, peOffset = 0, peSignature = 0, optionalSize = 0, magic = 0;
    if (!bytes.Read(0, 2, mz) || mz != 0x5A4D || !bytes.Read(headerOffsetAt, 4, peOffset) ||
        !bytes.Read(peOffset, 4, peSignature) || peSignature != 0x00004550)
        return SignatureState::notAProgram;
    uint64_t coff = peOffset + 4, optional = coff + coffHeaderSize;
    if (!bytes.Read(coff + optionalSizeAt, 2, optionalSize) || !bytes.Read(optional, 2, magic))
        return SignatureState::notAProgram;
    uint64_t countAt = 0;
    if (magic == pe32Magic)
        countAt = directoryCountAt32;
    else if (magic == pe32PlusMagic)
        countAt = directoryCountAt64;
    else
        return SignatureState::notAProgram;
    uint64_t directories = countAt + 4, entryAt = directories + certificateDirectory * 8;
    uint64_t count = 0;
    if (!bytes.Read(optional + countAt, 4, count)) return SignatureState::notAProgram;
    // A header too short to hold the entry has no certificate table, as Windows reads it.
    if (count <= certificateDirectory || optionalSize < entryAt + 8) return SignatureState::absent;
    uint64_t tableOffset = 0, tableSize = 0;
    if (!bytes.Read(optional + entryAt, 4, tableOffset) || !bytes.Read(optional + entryAt + 4, 4, tableSize))
        return SignatureState::notAProgram;
    if (tableOffset == 0 && tableSize == 0) return SignatureState::absent;
    SignatureState state = ReadCertificateTable(bytes, tableOffset, tableSize);
    if (layout != nullptr)
        *layout = SignatureLayout{optional + checksumAt, optional + entryAt, tableOffset, tableSize};
    return state;
}

std::vector<Finding> CheckSignatures(const fs::path &folder)
{
    std::vector<Finding> findings;
    for (const PackageProgram &program : packagePrograms) {
        std::optional<fs::path> file = FindInPackage(folder, program.name);
        if (!file) continue;
        Severity severity = Severity::warning;
        std::wstring message; // none for a sound signature
        SignatureLayout layout;
        switch (ReadSignatureState(*file, &layout)) {
        case SignatureState::present:
            switch (VerifySignature(*file, layout)) {
            case SignatureVerdict::sound:
                break;
            case SignatureVerdict::changed:
                severity = Severity::error;
                message =
                    L"was changed after it was signed; its signature no longer holds, so Windows treats "
                    L"it as unsigned or refuses it; sign the file you ship last";
                break;
            case SignatureVerdict::unreadable:
                message = L"has a signature that cannot be read; Windows treats it as unsigned";
                break;
            case SignatureVerdict::unverifiable:
                message = L"is signed, but this build of tsa cannot verify signatures; tsa for Linux or "
                          L"`osslsigncode verify` checks it";
                break;
            }
            break;
        case SignatureState::absent:
            message = L"carries no signature; " + std::wstring(program.unsignedMeans);
            break;
        case SignatureState::damaged:
            message = L"has a damaged signature table; Windows treats it as unsigned";
            break;
        case SignatureState::notAProgram:
            severity = Severity::error;
            message = L"is not a Windows program file";
            break;
        }
        if (!message.empty()) findings.push_back(PackageFinding(severity, program.name, message));
    }
    return findings;
}
