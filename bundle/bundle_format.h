// The layout of a bundle, one Windows program that carries a whole package folder, and the
// checks every reader makes before it trusts a byte of it. A bundle is, in this order:
//
//   the launcher program, as built, without a signature of its own
//   the payload: fileCount (u32), tableSize (u32), the table, then every file's bytes in the
//     table's order, then zero bytes up to a multiple of eight bytes of the whole bundle
//     table entry: size (u64), nameUnits (u16), the name in UTF-16LE, "\" between levels
//   the trailer: the payload's SHA-256, payloadSize (u64), the eight bytes "SETUPBD1"
//   once signed, the certificate table the signing tool appends
//
// Numbers are little-endian. A signature covers everything before the certificate table, so
// readers find the trailer at the end of the signed content, not at the end of the file. The
// code here allocates nothing and uses no library, as the launcher needs.
#ifndef SETUP_BUNDLE_BUNDLE_FORMAT_H
#define SETUP_BUNDLE_BUNDLE_FORMAT_H

#include "bundle/sha256.h"

#include <cstddef>
#include <cstdint>

const size_t bundleTrailerSize = 48;
const size_t payloadHeaderSize = 8;
const size_t bundleAlignment = 8; // signing tools pad to eight bytes; a bundle needs no padding
// Far beyond any package folder; they keep a hostile table from costing time or memory.
const uint32_t mostBundleFiles = 4096;
const uint32_t mostTableBytes = 1 << 20;
const uint32_t mostNameUnits = 128;
// The head of a program file that holds its headers.
const size_t programHeadSize = 4096;

enum class BundleFault {
    none,
    notAProgram,    // no Windows program, or its certificate table lies beyond the file
    noTrailer,      // the signed content does not end in a trailer: cut short, or no bundle
    payloadOutside, // the trailer names more payload than lies before it
    digestDiffers,  // the payload is not the one the trailer vouches for
    damagedTable,   // a table cut short or too large, or sizes that do not fill the payload
    nameRefused,    // a name that leads out of the folder or that Windows allows for no file
    nameTwice,      // a name given twice, letter case aside, or a file's name used as a folder
};

struct BundleTrailer {
    uint8_t digest[sha256Size];
    uint64_t payloadSize;
};

struct PayloadHeader {
    uint32_t fileCount;
    uint32_t tableSize;
};

// One file of the payload. The name is UTF-16LE, straight from the table.
struct PayloadEntry {
    uint64_t size;
    uint64_t offset; // of its first byte, from the payload's start
    const uint8_t *name;
    uint32_t nameUnits;

    uint16_t NameUnit(uint32_t k) const { return static_cast<uint16_t>(name[2 * k] | name[2 * k + 1] << 8); }
};

// Where a program's header keeps the directory entry of its certificate table (offset and size,
// four bytes each); 0 when the header has no room for one. head holds the file's first bytes
// (programHeadSize, or the whole file when shorter).
BundleFault CertificateEntry(const uint8_t *head, size_t headSize, size_t &entryAt);

// The end of what a signature covers: where the certificate table starts when the program
// carries one, its end otherwise.
BundleFault SignedContentEnd(const uint8_t *head, size_t headSize, uint64_t fileSize, uint64_t &end);

// The trailer, read from the bundleTrailerSize bytes before contentEnd, and where the payload
// it describes starts.
BundleFault ReadTrailer(const uint8_t *bytes, uint64_t contentEnd, BundleTrailer &trailer,
                        uint64_t &payloadStart);
void WriteTrailer(const BundleTrailer &trailer, uint8_t *bytes);

BundleFault ReadPayloadHeader(const uint8_t *bytes, uint64_t payloadSize, PayloadHeader &header);

// Whether a stored name may be written below the bundle's folder: levels between "\", none
// empty, "." or "..", none ending in a dot or space, no drive, device, control character or
// character Windows allows in no file name.
bool IsBundleName(const uint8_t *name, uint32_t nameUnits);

// The table, read in order. Check() judges every entry before any is used.
class PayloadTable {
public:
    PayloadTable(const uint8_t *table, const PayloadHeader &header)
        : table(table), header(header), nextOffset(payloadHeaderSize + header.tableSize)
    {
    }

    BundleFault Check(uint64_t payloadSize) const;
    // The next entry; false after the last. For a table that Check() passed.
    bool Next(PayloadEntry &entry);

private:
    bool Read(size_t &at, uint64_t &offset, PayloadEntry &entry) const;

    const uint8_t *table;
    PayloadHeader header;
    size_t cursor = 0;
    uint64_t nextOffset;
};

// Little-endian numbers, as the format stores them.
uint64_t ReadNumber(const uint8_t *bytes, int width);
void PutNumber(uint8_t *bytes, uint64_t value, int width);

#endif
