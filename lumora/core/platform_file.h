// The few file operations the streams need, over the platform's own calls.
#ifndef LUMORA_CORE_PLATFORM_FILE_H
#define LUMORA_CORE_PLATFORM_FILE_H

#include "lumora/string.h"

#include <cstdint>

namespace lumora {
namespace core {

const intptr_t noFile = -1;

// A regular file only; noFile otherwise. *size receives its size.
intptr_t OpenFileForReading(const String &name, int64_t *size);
// Creates the file or empties an existing one; noFile on failure.
intptr_t CreateFileForWriting(const String &name);

bool SeekFile(intptr_t file, int64_t position);
// Bytes read, 0 at the end of the file, -1 on an error.
int ReadFileData(intptr_t file, void *target, int count);
// Writes all count bytes or fails.
bool WriteFileData(intptr_t file, const void *source, int count);
// False when the platform reports a failure as the file is closed.
bool CloseFile(intptr_t file);

} // namespace core
} // namespace lumora

#endif
