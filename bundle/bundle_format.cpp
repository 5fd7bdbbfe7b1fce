#include "bundle/bundle_format.h"

namespace {

const uint8_t trailerMagic[8] = {'S', 'E', 'T', 'U', 'P', 'B', 'D', '1'};

// Offsets of the PE format, as Windows lays out its programs.
const size_t headerOffsetAt = 0x3C;
const size_t coffHeaderSize = 20;
const size_t optionalSizeAt = 16; // in the COFF header
const uint16_t pe32Magic = 0x10B;
const uint16_t pe32PlusMagic = 0x20B;
const size_t securityDirectory = 4; // IMAGE_DIRECTORY_ENTRY_SECURITY

bool Fits(size_t at, size_t width, size_t size)
{
    return at <= size && width <= size - at;
}

uint16_t Folded(uint16_t unit)
{
    return unit >= 'a' && unit <= 'z' ? static_cast<uint16_t>(unit - 'a' + 'A') : unit;
}

bool IsDigitOrSuperscript(uint16_t unit)
{
    return (unit >= '1' && unit <= '9') || unit == 0xB9 || unit == 0xB2 || unit == 0xB3;
}

// Windows opens a device, not a file, for these names with any extension.
bool IsDeviceName(const PayloadEntry &name, uint32_t start, uint32_t end)
{
    uint32_t stemEnd = start;
    while (stemEnd < end && name.NameUnit(stemEnd) != '.') ++stemEnd;
    while (stemEnd > start && name.NameUnit(stemEnd - 1) == ' ') --stemEnd;
    uint16_t stem[7] = {};
    uint32_t length = stemEnd - start;
    if (length < 3 || length > 7) return false;
    for (uint32_t k = 0; k < length; ++k) stem[k] = Folded(name.NameUnit(start + k));
    auto is = [&](const char *word) {
        for (uint32_t k = 0; k < length; ++k)
            if (word[k] == '\0' || stem[k] != static_cast<uint8_t>(word[k])) return false;
        return word[length] == '\0';
    };
    if (is("CON") || is("PRN") || is("AUX") || is("NUL") || is("CONIN$") || is("CONOUT$")) return true;
    return length == 4 && IsDigitOrSuperscript(stem[3]) &&
           ((stem[0] == 'C' && stem[1] == 'O' && stem[2] == 'M') ||
            (stem[0] == 'L' && stem[1] == 'P' && stem[2] == 'T'));
}

bool IsRefusedCharacter(uint16_t unit)
{
    if (unit < 0x20) return true;
    for (const char *refused = "<>:\"/|?*"; *refused != '\0'; ++refused)
        if (unit == static_cast<uint8_t>(*refused)) return true;
    return false;
}

// Two names that would meet in one folder: the same, letter case aside, or one of them a
// folder the other lies in.
bool Clash(const PayloadEntry &first, const PayloadEntry &second)
{
    const PayloadEntry &shorter = first.nameUnits <= second.nameUnits ? first : second;
    const PayloadEntry &longer = first.nameUnits <= second.nameUnits ? second : first;
    for (uint32_t k = 0; k < shorter.nameUnits; ++k)
        if (Folded(shorter.NameUnit(k)) != Folded(longer.NameUnit(k))) return false;
    return shorter.nameUnits == longer.nameUnits || longer.NameUnit(shorter.nameUnits) == '\\';
}

} // namespace

uint64_t ReadNumber(const uint8_t *bytes, int width)
{
    uint64_t value = 0;
    for (int k = width; k-- > 0;) value = value << 8 | bytes[k];
    return value;
}

void PutNumber(uint8_t *bytes, uint64_t value, int width)
{
    for (int k = 0; k < width; ++k) bytes[k] = static_cast<uint8_t>(value >> (8 * k));
}

BundleFault CertificateEntry(const uint8_t *head, size_t headSize, size_t &entryAt)
{
    entryAt = 0;
    if (!Fits(0, headerOffsetAt + 4, headSize) || ReadNumber(head, 2) != 0x5A4D)
        return BundleFault::notAProgram;
    size_t pe = static_cast<size_t>(ReadNumber(head + headerOffsetAt, 4));
    if (!Fits(pe, 4 + coffHeaderSize + 2, headSize) || ReadNumber(head + pe, 4) != 0x00004550)
        return BundleFault::notAProgram;
    size_t optional = pe + 4 + coffHeaderSize;
    size_t optionalSize = static_cast<size_t>(ReadNumber(head + pe + 4 + optionalSizeAt, 2));
    uint64_t magic = ReadNumber(head + optional, 2);
    if (magic != pe32Magic && magic != pe32PlusMagic) return BundleFault::notAProgram;
    size_t countAt = magic == pe32Magic ? 92 : 108;
    size_t entry = countAt + 4 + securityDirectory * 8;
    if (!Fits(optional, countAt + 4, headSize)) return BundleFault::notAProgram;
    // A header too short to hold the entry has no certificate table, as Windows reads it.
    if (ReadNumber(head + optional + countAt, 4) <= securityDirectory || optionalSize < entry + 8)
        return BundleFault::none;
    if (!Fits(optional, entry + 8, headSize)) return BundleFault::notAProgram;
    entryAt = optional + entry;
    return BundleFault::none;
}

BundleFault SignedContentEnd(const uint8_t *head, size_t headSize, uint64_t fileSize, uint64_t &end)
{
    size_t entryAt = 0;
    BundleFault fault = CertificateEntry(head, headSize, entryAt);
    end = fileSize;
    if (fault != BundleFault::none || entryAt == 0) return fault;
    uint64_t tableOffset = ReadNumber(head + entryAt, 4), tableSize = ReadNumber(head + entryAt + 4, 4);
    if (tableOffset == 0 && tableSize == 0) return BundleFault::none;
    if (tableOffset > fileSize || tableSize > fileSize - tableOffset) return BundleFault::notAProgram;
    end = tableOffset;
    return BundleFault::none;
}

BundleFault ReadTrailer(const uint8_t *bytes, uint64_t contentEnd, BundleTrailer &trailer,
                        uint64_t &payloadStart)
{
    if (contentEnd < bundleTrailerSize) return BundleFault::noTrailer;
    for (size_t k = 0; k < sizeof trailerMagic; ++k)
        if (bytes[sha256Size + 8 + k] != trailerMagic[k]) return BundleFault::noTrailer;
    for (size_t k = 0; k < sha256Size; ++k) trailer.digest[k] = bytes[k];
    trailer.payloadSize = ReadNumber(bytes + sha256Size, 8);
    uint64_t before = contentEnd - bundleTrailerSize;
    if (trailer.payloadSize > before) return BundleFault::payloadOutside;
    payloadStart = before - trailer.payloadSize;
    return BundleFault::none;
}

void WriteTrailer(const BundleTrailer &trailer, uint8_t *bytes)
{
    for (size_t k = 0; k < sha256Size; ++k) bytes[k] = trailer.digest[k];
    PutNumber(bytes + sha256Size, trailer.payloadSize, 8);
    for (size_t k = 0; k < sizeof trailerMagic; ++k) bytes[sha256Size + 8 + k] = trailerMagic[k];
}

BundleFault ReadPayloadHeader(const uint8_t *bytes, uint64_t payloadSize, PayloadHeader &header)
{
    if (payloadSize < payloadHeaderSize) return BundleFault::damagedTable;
    header.fileCount = static_cast<uint32_t>(ReadNumber(bytes, 4));
    header.tableSize = static_cast<uint32_t>(ReadNumber(bytes + 4, 4));
    if (header.fileCount == 0 || header.fileCount > mostBundleFiles || header.tableSize > mostTableBytes ||
        header.tableSize > payloadSize - payloadHeaderSize)
        return BundleFault::damagedTable;
    return BundleFault::none;
}

bool IsBundleName(const uint8_t *bytes, uint32_t nameUnits)
{
    PayloadEntry name{0, 0, bytes, nameUnits};
    if (nameUnits == 0 || nameUnits > mostNameUnits) return false;
    uint32_t start = 0;
    for (uint32_t end = 0; end <= nameUnits; ++end) {
        if (end < nameUnits && name.NameUnit(end) != '\\') {
            if (IsRefusedCharacter(name.NameUnit(end))) return false;
            continue;
        }
        if (end == start) return false;
        uint16_t last = name.NameUnit(end - 1);
        // Windows drops a level's trailing dots and spaces, so "a." is "a" and ". ." is "..".
        if (last == '.' || last == ' ' || IsDeviceName(name, start, end)) return false;
        start = end + 1;
    }
    return true;
}

bool PayloadTable::Read(size_t &at, uint64_t &offset, PayloadEntry &entry) const
{
    if (!Fits(at, 10, header.tableSize)) return false;
    entry.size = ReadNumber(table + at, 8);
    entry.nameUnits = static_cast<uint32_t>(ReadNumber(table + at + 8, 2));
    at += 10;
    if (!Fits(at, 2 * size_t(entry.nameUnits), header.tableSize)) return false;
    entry.name = table + at;
    entry.offset = offset;
    at += 2 * size_t(entry.nameUnits);
    offset += entry.size;
    return true;
}

BundleFault PayloadTable::Check(uint64_t payloadSize) const
{
    uint64_t first = payloadHeaderSize + header.tableSize;
    if (first > payloadSize) return BundleFault::damagedTable;
    size_t at = 0;
    uint64_t offset = first;
    PayloadEntry entry;
    for (uint32_t k = 0; k < header.fileCount; ++k) {
        if (!Read(at, offset, entry) || entry.size > payloadSize - entry.offset)
            return BundleFault::damagedTable;
        if (!IsBundleName(entry.name, entry.nameUnits)) return BundleFault::nameRefused;
    }
    // What follows the last file only pads the bundle to its alignment.
    if (at != header.tableSize || payloadSize - offset >= bundleAlignment) return BundleFault::damagedTable;
    size_t outerAt = 0;
    uint64_t outerOffset = first;
    PayloadEntry outer;
    for (uint32_t k = 0; k < header.fileCount && Read(outerAt, outerOffset, outer); ++k) {
        size_t innerAt = outerAt;
        uint64_t innerOffset = outerOffset;
        PayloadEntry inner;
        for (uint32_t j = k + 1; j < header.fileCount && Read(innerAt, innerOffset, inner); ++j)
            if (Clash(outer, inner)) return BundleFault::nameTwice;
    }
    return BundleFault::none;
}

bool PayloadTable::Next(PayloadEntry &entry)
{
    return cursor < header.tableSize && Read(cursor, nextOffset, entry);
}
