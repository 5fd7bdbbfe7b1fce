#include "tools/private_folder.h"

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#endif

namespace fs = std::filesystem;

PrivateFolder::PrivateFolder()
{
    std::error_code code;
    fs::path temporary = fs::temp_directory_path(code);
    if (code) return;
#ifdef _WIN32
    // CreateDirectory fails on a name that exists, so the folder made is new.
    for (int attempt = 0; attempt < 100 && path.empty(); ++attempt) {
        fs::path candidate = temporary / ("tsa-" + std::to_string(GetCurrentProcessId()) + "-" +
                                          std::to_string(GetTickCount()) + "-" + std::to_string(attempt));
        if (CreateDirectoryW(candidate.c_str(), nullptr))
            path = candidate;
        else if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
#else
    // Made new and open to this user alone.
    std::string pattern = (temporary / "tsa-XXXXXX").string();
    if (mkdtemp(&pattern[0]) != nullptr) path = pattern;
#endif
}

PrivateFolder::~PrivateFolder()
{
    std::error_code code;
    if (!path.empty()) fs::remove_all(path, code);
}
