// Windows program files made to measure for tests: the headers and, where asked, one text of
// a version resource, laid out as Windows lays out a String block of VS_VERSIONINFO.
#ifndef SETUP_TESTS_INSTALL_PROGRAM_BYTES_H
#define SETUP_TESTS_INSTALL_PROGRAM_BYTES_H

#include <cstdint>
#include <string>

namespace testsupport {

inline void PutNumber(std::string &bytes, size_t at, uint64_t value, int width)
{
    if (bytes.size() < at + width) bytes.resize(at + width, '\0');
    for (int k = 0; k < width; ++k) bytes[at + k] = static_cast<char>(value >> (8 * k) & 0xFF);
}

// The block is wLength, wValueLength, wType 1, the key, padding to four bytes, the value.
inline std::string ProgramBytes(uint16_t machine, bool library, const std::wstring &key = L"",
                                const std::wstring &value = L"")
{
    std::string bytes(0x200, '\0');
    PutNumber(bytes, 0, 0x5A4D, 2);
    PutNumber(bytes, 0x3C, 0x80, 4);
    PutNumber(bytes, 0x80, 0x00004550, 4);
    PutNumber(bytes, 0x84, machine, 2);
    PutNumber(bytes, 0x84 + 18, library ? 0x2002 : 0x0102, 2);
    // The optional header: its magic, and no data directories filled (no signature).
    bool wide = machine == 0x8664;
    PutNumber(bytes, 0x84 + 16, wide ? 240 : 224, 2);
    PutNumber(bytes, 0x98, wide ? 0x20B : 0x10B, 2);
    PutNumber(bytes, 0x98 + (wide ? 108 : 92), 16, 4);
    if (key.empty()) return bytes;
    size_t block = bytes.size(), at = block + 6;
    for (wchar_t c : key + L'\0') PutNumber(bytes, at, static_cast<uint16_t>(c), 2), at += 2;
    at = (at + 3) / 4 * 4;
    for (wchar_t c : value + L'\0') PutNumber(bytes, at, static_cast<uint16_t>(c), 2), at += 2;
    PutNumber(bytes, block, at - block, 2);
    PutNumber(bytes, block + 2, value.size() + 1, 2);
    PutNumber(bytes, block + 4, 1, 2);
    bytes.resize((bytes.size() + 3) / 4 * 4, '\0');
    return bytes;
}

} // namespace testsupport

#endif
