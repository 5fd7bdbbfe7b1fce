// Files through the Windows API with wide names.
#include "lumora/core/platform_file.h"

#include "lumora/file_path.h"

#include <windows.h>

namespace lumora {
namespace core {

namespace {

HANDLE Handle(intptr_t file)
{
    return reinterpret_cast<HANDLE>(file);
}

intptr_t FileOf(HANDLE handle)
{
    return handle == INVALID_HANDLE_VALUE ? noFile : reinterpret_cast<intptr_t>(handle);
}

} // namespace

intptr_t OpenFileForReading(const String &name, int64_t *size)
{
    *size = 0;
    HANDLE handle = CreateFileW(static_cast<const wchar_t *>(FileSystemPath(name)), GENERIC_READ,
                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return noFile;
    LARGE_INTEGER length;
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &length)) {
        CloseHandle(handle);
        return noFile;
    }
    *size = length.QuadPart;
    return FileOf(handle);
}

intptr_t CreateFileForWriting(const String &name)
{
    return FileOf(CreateFileW(static_cast<const wchar_t *>(FileSystemPath(name)), GENERIC_WRITE,
                              FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool SeekFile(intptr_t file, int64_t position)
{
    LARGE_INTEGER target;
    target.QuadPart = position;
    return SetFilePointerEx(Handle(file), target, nullptr, FILE_BEGIN) != 0;
}

int ReadFileData(intptr_t file, void *target, int count)
{
    DWORD got = 0;
    if (!ReadFile(Handle(file), target, static_cast<DWORD>(count), &got, nullptr)) return -1;
    return static_cast<int>(got);
}

bool WriteFileData(intptr_t file, const void *source, int count)
{
    const char *bytes = static_cast<const char *>(source);
    while (count > 0) {
        DWORD done = 0;
        if (!WriteFile(Handle(file), bytes, static_cast<DWORD>(count), &done, nullptr) || done == 0)
            return false;
        bytes += done;
        count -= static_cast<int>(done);
    }
    return true;
}

bool CloseFile(intptr_t file)
{
    return CloseHandle(Handle(file)) != 0;
}

} // namespace core
} // namespace lumora
