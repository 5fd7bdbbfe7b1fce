// Reading archives for `tsa list`, `tsa verify` and `tsa check`.
#ifndef SETUP_TOOLS_ARCHIVE_CHECK_H
#define SETUP_TOOLS_ARCHIVE_CHECK_H

#include "install/archive_fault.h"
#include "install/code_page.h"
#include "lumora/string.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct ListedEntry {
    std::string name; // decoded, ready for a terminal (tools/terminal_text.h: DecodedNameText)
    int64_t size;
    int group;             // 1-based
    bool refused;          // the installer does not write it (VerifyResult names why)
    std::wstring wideName; // decoded, as the installer names the file
    uint16_t machine = 0;  // for a Windows program file (.exe, .dll) found by VerifyArchive: its processor
};

struct ArchiveListing {
    std::vector<ListedEntry> entries; // of every group whose table could be read, in table order
    int groups = 0;                   // the groups whose table could be read
    int64_t storedBytes = 0;          // the sum of the entries' sizes
    int64_t packedBytes = 0;          // the sum of those groups' compressed lengths
    ArchiveFault fault;               // why the rest cannot be read; of kind none when all could
};

// The archive's tables, up to the first one that cannot be read, names decoded through codePage.
ArchiveListing ListArchive(const lumora::String &path, int codePage = asciiOnly);

struct VerifyResult {
    ArchiveListing listing;
    std::vector<ArchiveFault> faults; // empty when the archive is sound
    bool trailingByte = false;        // one byte follows the last group, which the installer ignores
};

// Decompresses every group (bzip2 checks each block's CRC and the stream's), and checks that
// the stored unpacked length equals the sum of the sizes and the decompressed length, that
// the stream fills exactly its packed length, and that every name, decoded through codePage as
// the installer decodes it on a system with that code page, is safe to extract. A table that
// cannot be read is one fault, and nothing after it is read.
VerifyResult VerifyArchive(const lumora::String &path, int codePage = asciiOnly);

// A path as the engine opens it: wide on Windows, so that a name beyond the system code page
// still reaches the file.
lumora::String EngineText(const std::filesystem::path &path);

// "group 2: " or "", then "NAME: " (ready for a terminal) when the fault concerns an entry, then
// the fault's words.
std::string FaultText(const ArchiveFault &fault);

#endif
