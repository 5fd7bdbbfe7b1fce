#include "install/temp_files.h"

#include "install/platform_fs.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A run whose own names are taken by files it did not make gives up after this many.
const int mostUniqueNameTries = 100;

std::atomic<unsigned> namesMade{0};

unsigned long ProcessNumber()
{
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(getpid());
#endif
}

#ifndef _WIN32
std::string PosixName(const lumora::String &name)
{
    std::string text = static_cast<const char *>(name);
    for (char &c : text)
        if (c == '\\') c = '/';
    return text;
}
#endif

} // namespace

TempFile::~TempFile()
{
    Remove();
}

bool TempFile::Create(const char *name)
{
    return CreateExclusively(lumora::String(name)) || CreateInTemporaryFolder(name);
}

bool TempFile::CreateInTemporaryFolder(const char *name)
{
    const lumora::String folder = TemporaryFolder();
    const lumora::String run = lumora::String("setup-") + lumora::String::FromInt(ProcessNumber()) + "-";
    for (int attempt = 0; attempt < mostUniqueNameTries; ++attempt) {
        lumora::String candidate = folder + run + lumora::String::FromInt(namesMade++) + "-" + name;
        if (CreateExclusively(candidate)) return true;
    }
    return false;
}

#ifdef _WIN32

bool TempFile::CreateExclusively(const lumora::String &candidate)
{
    Remove();
    // No sharing at all, and deleted with its handle: even a run that crashes leaves nothing.
    HANDLE handle =
        CreateFileW(static_cast<const wchar_t *>(candidate), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    file = reinterpret_cast<intptr_t>(handle);
    path = candidate;
    return true;
}

bool TempFile::Write(const void *data, int count)
{
    const char *bytes = static_cast<const char *>(data);
    while (IsOpen() && count > 0) {
        DWORD done = 0;
        if (!WriteFile(reinterpret_cast<HANDLE>(file), bytes, static_cast<DWORD>(count), &done, nullptr) ||
            done == 0)
            return false;
        bytes += done;
        count -= static_cast<int>(done);
    }
    return IsOpen();
}

bool TempFile::Seek(int64_t position)
{
    LARGE_INTEGER target;
    target.QuadPart = position;
    return IsOpen() && SetFilePointerEx(reinterpret_cast<HANDLE>(file), target, nullptr, FILE_BEGIN) != 0;
}

int TempFile::Read(void *data, int count)
{
    DWORD got = 0;
    if (!IsOpen() ||
        !ReadFile(reinterpret_cast<HANDLE>(file), data, static_cast<DWORD>(count), &got, nullptr))
        return -1;
    return static_cast<int>(got);
}

void TempFile::Remove()
{
    if (!IsOpen()) return;
    CloseHandle(reinterpret_cast<HANDLE>(file));
    file = noFile;
}

#else

bool TempFile::CreateExclusively(const lumora::String &candidate)
{
    Remove();
    // O_EXCL also refuses a symbolic link planted under the name.
    int fd = open(PosixName(candidate).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    file = fd;
    path = candidate;
    return true;
}

bool TempFile::Write(const void *data, int count)
{
    const char *bytes = static_cast<const char *>(data);
    while (IsOpen() && count > 0) {
        ssize_t done = write(static_cast<int>(file), bytes, static_cast<size_t>(count));
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        bytes += done;
        count -= static_cast<int>(done);
    }
    return IsOpen();
}

bool TempFile::Seek(int64_t position)
{
    return IsOpen() && lseek(static_cast<int>(file), static_cast<off_t>(position), SEEK_SET) ==
                           static_cast<off_t>(position);
}

int TempFile::Read(void *data, int count)
{
    if (!IsOpen()) return -1;
    ssize_t got;
    do {
        got = read(static_cast<int>(file), data, static_cast<size_t>(count));
    } while (got < 0 && errno == EINTR);
    return got < 0 ? -1 : static_cast<int>(got);
}

void TempFile::Remove()
{
    if (!IsOpen()) return;
    // The name is unlinked only while it still names this very file.
    struct stat own, named;
    std::string name = PosixName(path);
    if (fstat(static_cast<int>(file), &own) == 0 && lstat(name.c_str(), &named) == 0 &&
        own.st_dev == named.st_dev && own.st_ino == named.st_ino)
        unlink(name.c_str());
    close(static_cast<int>(file));
    file = noFile;
}

#endif
