// Buffered writing of files that never loses a failure.
#include "lumora/core/platform_file.h"
#include "lumora/stream.h"

#include <algorithm>
#include <cstring>

using lumora::core::noFile;

namespace {

const int bufferSize = 64 * 1024;

} // namespace

OutStream::OutStream(int type, const lumora::String &name, int mode)
{
    if (type == lumora::STREAM_FILE && mode == lumora::STREAM_CREATE)
        file = lumora::core::CreateFileForWriting(name);
    if (file == noFile) {
        failed = true;
        return;
    }
    buffer = new unsigned char[bufferSize];
    bufferCapacity = bufferSize;
}

OutStream::~OutStream()
{
    Close();
    delete[] buffer;
}

bool OutStream::OutputNumberFlushing(uint64_t value, int bytes)
{
    if (bytes < 1 || bytes > 8) return false;
    unsigned char bytesOut[8];
    for (int i = 0; i < bytes; i++) bytesOut[i] = static_cast<unsigned char>(value >> (8 * i));
    return OutputData(bytesOut, bytes);
}

bool OutStream::OutputData(const void *source, int count)
{
    if (count <= 0) return !failed;
    if (failed || !source || file == noFile) {
        failed = true;
        return false;
    }
    const unsigned char *bytes = static_cast<const unsigned char *>(source);
    while (count > 0) {
        if (bufferFill == bufferCapacity && !Flush()) return false;
        if (bufferFill == 0 && count >= bufferCapacity) {
            // Large writes go straight from the caller's memory.
            if (!lumora::core::WriteFileData(file, bytes, count)) {
                failed = true;
                return false;
            }
            written += count;
            return true;
        }
        int take = std::min(count, bufferCapacity - bufferFill);
        std::memcpy(buffer + bufferFill, bytes, static_cast<size_t>(take));
        bufferFill += take;
        bytes += take;
        count -= take;
    }
    return true;
}

bool OutStream::Flush()
{
    if (failed) {
        // What is buffered can no longer be written in its place; drop it.
        bufferFill = 0;
        return false;
    }
    if (bufferFill > 0) {
        if (!lumora::core::WriteFileData(file, buffer, bufferFill))
            failed = true;
        else
            written += bufferFill;
        bufferFill = 0;
    }
    return !failed;
}

bool OutStream::Close()
{
    if (file == noFile) return !failed;
    Flush();
    if (!lumora::core::CloseFile(file)) failed = true;
    file = noFile;
    bufferCapacity = 0;
    return !failed;
}
