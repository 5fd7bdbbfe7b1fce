// How a path written the program's way, with "\" between levels, reaches the platform's file
// calls.
#ifndef LUMORA_FILE_PATH_H
#define LUMORA_FILE_PATH_H

#include "lumora/api.h"
#include "lumora/string.h"

namespace lumora {

// Windows: the path unchanged while it is shorter than 248 characters, the length up to which
// every wide file call takes a plain path (folders end there, files at 260). A longer one is
// given in its full form behind "\\?\" ("\\?\UNC\" for a network path), which the wide calls
// take up to 32767 characters long; that form means every character literally, so "." and
// ".." levels and "/" are resolved first. Elsewhere: the path with "/" for every "\".
LUMORA_API String FileSystemPath(const String &path);

} // namespace lumora

#endif
