// The record of what one product's installations made, kept beside its uninstaller in the
// destination: the files with their size and content hash, the folders made, and the links
// and their Start menu folder. Setup writes it; the uninstaller reads it and removes only
// what it names. Standard library only, so the reader is built and fuzzed on any system.
//
// The file is UTF-8 text, one item a line, fields separated by tabs:
//   Setup removal record<TAB>1
//   key<TAB>KEY              the name of the product's entry in the list of installed programs
//   name<TAB>DISPLAY NAME
//   destination<TAB>ABSOLUTE PATH
//   menu<TAB>ABSOLUTE PATH   the Start menu folder of the links (may be absent)
//   folder<TAB>ROOT<TAB>RELATIVE PATH                  a folder the installations made
//   file<TAB>ROOT<TAB>SIZE<TAB>SHA-256<TAB>RELATIVE PATH
//   end<TAB>COUNT            the number of lines before it, so a record cut short is seen
// ROOT is "destination" or "menu"; a relative path of "." is the root folder itself.
#ifndef SETUP_REMOVAL_REMOVAL_RECORD_H
#define SETUP_REMOVAL_REMOVAL_RECORD_H

#include <cstdint>
#include <string>
#include <vector>

enum class RecordRoot { destination, menu };

struct RecordedFolder {
    RecordRoot root = RecordRoot::destination;
    std::wstring path; // relative to the root, "\" between levels; "." is the root itself
};

struct RecordedFile {
    RecordRoot root = RecordRoot::destination;
    std::wstring path; // relative to the root, "\" between levels
    uint64_t size = 0;
    std::string digest; // SHA-256 of the content, 64 lower-case hexadecimal digits
};

struct RemovalRecord {
    std::wstring key;
    std::wstring displayName;
    std::wstring destination;
    std::wstring menuFolder; // empty: no links
    std::vector<RecordedFolder> folders;
    std::vector<RecordedFile> files;
};

// The record's file, beside the uninstaller.
extern const wchar_t removalRecordName[];
extern const wchar_t uninstallerName[];

std::string WriteRemovalRecord(const RemovalRecord &record);

// What is wrong with a record's bytes: empty when nothing is, else which line and why. A
// record with any fault is refused whole.
std::wstring ReadRemovalRecord(const std::string &bytes, RemovalRecord &record);

// What keeps a relative path from being one the uninstaller may touch below its root: a ".."
// or "." level, an empty level, a drive or stream colon, a "/" or leading "\", a device name,
// a level ending in a dot or space (Windows would drop it and name another file), a control
// character. Empty when the path is sound; "." alone is the root and sound.
std::wstring RelativePathFault(const std::wstring &path);

// An entry name for the list of installed programs that no other product shares: the display
// name, cut and with "\" replaced, and a hash of the whole name exactly as written.
std::wstring UninstallKeyName(const std::wstring &displayName);

// Adds what a later installation made to the record of the earlier ones: an item already named
// takes the later size and hash (the file was written again), a new one is appended.
void MergeRemovalRecord(RemovalRecord &into, const RemovalRecord &later);

// Whether two paths name the same file, letter case of ASCII letters aside, as Windows compares.
bool SamePathIgnoringCase(const std::wstring &a, const std::wstring &b);

#endif
