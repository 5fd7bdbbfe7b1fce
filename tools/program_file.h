// What tsa needs to know of a Windows program file (.exe or .dll) without running it: whether
// it is one, for which processor, whether it is a library, and the version texts its version
// resource carries. Read from the bytes alone, so it works on any system.
#ifndef SETUP_TOOLS_PROGRAM_FILE_H
#define SETUP_TOOLS_PROGRAM_FILE_H

#include <cstdint>
#include <filesystem>
#include <string>

// IMAGE_FILE_MACHINE_ values of the processors Setup is built for.
const uint16_t machineI386 = 0x014C;
const uint16_t machineAmd64 = 0x8664;

struct ProgramHeader {
    bool isProgram = false; // "MZ", then "PE\0\0" where the DOS header points
    uint16_t machine = 0;
    bool isLibrary = false; // IMAGE_FILE_DLL
};

// The headers at the start of a file; a few kilobytes from its start are enough.
ProgramHeader ReadProgramHeader(const std::string &bytes);

// "32-bit (i686)", "64-bit (x86-64)" or the machine number in hexadecimal.
std::wstring MachineName(uint16_t machine);

// The value of a text of the file's version resource (such as "FileVersion"), found by its
// key in the version block; empty when the file has none.
std::wstring VersionResourceText(const std::string &bytes, const std::wstring &key);

// The whole file, or nothing when it cannot be read; files beyond 64 MB are no program of a
// package and are read only as far as that.
std::string ReadProgramBytes(const std::filesystem::path &file);

#endif
