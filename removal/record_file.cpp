#include "removal/record_file.h"

#include <windows.h>

namespace {

// No product's record comes near this; a larger file is no record, and reading it would only
// cost memory.
const DWORD largestRecord = 256u << 20;

} // namespace

RecordFileState ReadRecordFile(const std::wstring &path, std::string &bytes)
{
    bytes.clear();
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? RecordFileState::missing
                                                                              : RecordFileState::unreadable;
    }
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    bool ok = size != INVALID_FILE_SIZE && high == 0 && size <= largestRecord;
    if (ok) {
        bytes.resize(size);
        DWORD count = 0;
        ok = size == 0 || (ReadFile(file, &bytes[0], size, &count, nullptr) && count == size);
    }
    CloseHandle(file);
    return ok ? RecordFileState::read : RecordFileState::unreadable;
}

bool ReplaceRecordFile(const std::wstring &path, const std::string &bytes)
{
    const std::wstring fresh = path + L".new";
    HANDLE file =
        CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD count = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) &&
              count == bytes.size() && FlushFileBuffers(file);
    CloseHandle(file);
    ok = ok && MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(fresh.c_str());
    return ok;
}
