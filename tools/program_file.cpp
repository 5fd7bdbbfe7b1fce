#include "tools/program_file.h"

#include <fstream>

namespace {

const size_t headerOffsetAt = 0x3C;
const uint16_t libraryFlag = 0x2000; // IMAGE_FILE_DLL in the COFF characteristics
const size_t mostProgramBytes = 64u << 20;

uint64_t Number(const std::string &bytes, size_t at, int width)
{
    uint64_t value = 0;
    for (int k = width; k-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + k]);
    return value;
}

bool Fits(const std::string &bytes, size_t at, size_t width)
{
    return at <= bytes.size() && width <= bytes.size() - at;
}

std::string Utf16(const std::wstring &text)
{
    std::string bytes;
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

} // namespace

ProgramHeader ReadProgramHeader(const std::string &bytes)
{
    ProgramHeader header;
    if (!Fits(bytes, 0, headerOffsetAt + 4) || Number(bytes, 0, 2) != 0x5A4D) return header;
    size_t pe = static_cast<size_t>(Number(bytes, headerOffsetAt, 4));
    if (!Fits(bytes, pe, 24) || Number(bytes, pe, 4) != 0x00004550) return header;
    header.isProgram = true;
    header.machine = static_cast<uint16_t>(Number(bytes, pe + 4, 2));
    header.isLibrary = (Number(bytes, pe + 4 + 18, 2) & libraryFlag) != 0;
    return header;
}

std::wstring MachineName(uint16_t machine)
{
    if (machine == machineI386) return L"32-bit (i686)";
    if (machine == machineAmd64) return L"64-bit (x86-64)";
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring hex = L"machine 0x";
    for (int shift = 12; shift >= 0; shift -= 4) hex += digits[(machine >> shift) & 0xF];
    return hex;
}

// A String block of the version resource is wLength, wValueLength, wType (1: text), the key
// with its terminating zero, padding to four bytes and the value with its zero. The block
// starts four-aligned, so the key starts two bytes past a multiple of four.
std::wstring VersionResourceText(const std::string &bytes, const std::wstring &key)
{
    std::string wanted = Utf16(key);
    wanted.append(2, '\0');
    for (size_t at = bytes.find(wanted); at != std::string::npos; at = bytes.find(wanted, at + 1)) {
        if (at < 6 || at % 4 != 2 || Number(bytes, at - 2, 2) != 1) continue;
        size_t length = static_cast<size_t>(Number(bytes, at - 6, 2));
        size_t valueLength = static_cast<size_t>(Number(bytes, at - 4, 2)); // characters, with the zero
        size_t value = (at + wanted.size() + 3) / 4 * 4;
        if (valueLength == 0 || !Fits(bytes, value, valueLength * 2) ||
            value + valueLength * 2 > at - 6 + length)
            continue;
        std::wstring text;
        for (size_t k = 0; k < valueLength; ++k) {
            wchar_t c = static_cast<wchar_t>(Number(bytes, value + 2 * k, 2));
            if (c == 0) break;
            text += c;
        }
        return text;
    }
    return L"";
}

std::string ReadProgramBytes(const std::filesystem::path &file)
{
    std::ifstream stream(file, std::ios::binary);
    std::string bytes;
    if (!stream) return bytes;
    bytes.resize(mostProgramBytes);
    stream.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(stream.gcount()));
    return bytes;
}
