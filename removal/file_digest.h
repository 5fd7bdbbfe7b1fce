// The content hash the removal record keeps of every file, so the uninstaller can tell a file
// as installed from one changed since.
#ifndef SETUP_REMOVAL_FILE_DIGEST_H
#define SETUP_REMOVAL_FILE_DIGEST_H

#include <cstdint>
#include <string>

// SHA-256 of the file's content in lower-case hexadecimal, and its size. False when the file
// cannot be opened or read.
bool FileDigest(const std::wstring &path, uint64_t &size, std::string &digest);

#endif
