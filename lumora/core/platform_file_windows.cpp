// Files through the Windows API with wide names, or through POSIX calls elsewhere.
#include "lumora/core/platform_file.h"

#include "lumora/file_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumora {
namespace core {

#ifdef _WIN32

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

#else

namespace {

// Names are written the Windows way throughout the program.
std::string PosixName(const String &name)
{
    return static_cast<const char *>(FileSystemPath(name));
}

int Descriptor(intptr_t file)
{
    return static_cast<int>(file);
}

} // namespace

intptr_t OpenFileForReading(const String &name, int64_t *size)
{
    *size = 0;
    // Non-blocking, so that opening a pipe cannot wait for a writer; it is refused below.
    int fd = open(PosixName(name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return noFile;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return noFile;
    }
    *size = info.st_size;
    return fd;
}

intptr_t CreateFileForWriting(const String &name)
{
    int fd = open(PosixName(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return fd < 0 ? noFile : fd;
}

bool SeekFile(intptr_t file, int64_t position)
{
    return lseek(Descriptor(file), static_cast<off_t>(position), SEEK_SET) == static_cast<off_t>(position);
}

int ReadFileData(intptr_t file, void *target, int count)
{
    ssize_t got;
    do {
        got = read(Descriptor(file), target, static_cast<size_t>(count));
    } while (got < 0 && errno == EINTR);
    return got < 0 ? -1 : static_cast<int>(got);
}

bool WriteFileData(intptr_t file, const void *source, int count)
{
    const char *bytes = static_cast<const char *>(source);
    while (count > 0) {
        ssize_t done = write(Descriptor(file), bytes, static_cast<size_t>(count));
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        bytes += done;
        count -= static_cast<int>(done);
    }
    return true;
}

bool CloseFile(intptr_t file)
{
    return close(Descriptor(file)) == 0;
}

#endif

} // namespace core
} // namespace lumora
