// Files through POSIX calls, with names written the Windows way.
#include "lumora/core/platform_file.h"

#include "lumora/file_path.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace lumora {
namespace core {

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

} // namespace core
} // namespace lumora
