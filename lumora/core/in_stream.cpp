// Buffered reading of files.
#include "lumora/core/platform_file.h"
#include "lumora/stream.h"

#include <algorithm>
#include <cstring>
#include <string>

using lumora::core::noFile;

namespace {

const int bufferSize = 64 * 1024;

} // namespace

InStream::InStream(int type, const lumora::String &name, int mode)
{
    if (type != lumora::STREAM_FILE || (mode != lumora::STREAM_READ && mode != lumora::STREAM_READ_ONLY))
        return;
    file = lumora::core::OpenFileForReading(name, &fileSize);
    if (file != noFile) buffer = new unsigned char[bufferSize];
}

InStream::~InStream()
{
    if (file != noFile) lumora::core::CloseFile(file);
    delete[] buffer;
}

int InStream::ReadAt(int64_t position, unsigned char *target, int count)
{
    if (file == noFile) return -1;
    if (filePos != position) {
        if (!lumora::core::SeekFile(file, position)) return -1;
        filePos = position;
    }
    int got = lumora::core::ReadFileData(file, target, count);
    if (got > 0) filePos += got;
    return got;
}

// Called when the buffer is used up: the next bytes of the file replace it.
bool InStream::Refill()
{
    int64_t start = bufferStart + bufferPos;
    int got = ReadAt(start, buffer, bufferSize);
    bufferStart = start;
    bufferPos = 0;
    bufferFill = got > 0 ? got : 0;
    if (got <= 0) atEnd = true;
    return got > 0;
}

uint64_t InStream::InputNumberRefilling(int bytes)
{
    if (bytes < 1 || bytes > 8) return 0;
    uint64_t value = 0;
    for (int i = 0; i < bytes; i++) {
        if (bufferPos == bufferFill && !Refill()) break;
        value |= static_cast<uint64_t>(buffer[bufferPos++]) << (8 * i);
    }
    return value;
}

lumora::String InStream::InputString(int count)
{
    std::wstring text;
    // The count may come from a damaged file; what the file still holds bounds the memory.
    int64_t left = std::max<int64_t>(fileSize - GetPos(), 0);
    text.reserve(static_cast<size_t>(std::min<int64_t>(std::max(count, 0), left)));
    while (static_cast<int>(text.size()) < count) {
        if (bufferPos == bufferFill && !Refill()) break;
        int take = std::min(count - static_cast<int>(text.size()), bufferFill - bufferPos);
        for (int i = 0; i < take; i++) text += static_cast<wchar_t>(buffer[bufferPos + i]);
        bufferPos += take;
    }
    return lumora::String(text.data(), static_cast<int>(text.size()));
}

int InStream::InputData(void *target, int count)
{
    if (!target || count <= 0) return 0;
    unsigned char *out = static_cast<unsigned char *>(target);
    int done = 0;
    while (done < count) {
        if (bufferPos < bufferFill) {
            int take = std::min(count - done, bufferFill - bufferPos);
            std::memcpy(out + done, buffer + bufferPos, static_cast<size_t>(take));
            bufferPos += take;
            done += take;
        } else if (count - done >= bufferSize) {
            // Large reads go straight to the caller's memory.
            int64_t start = bufferStart + bufferPos;
            int got = ReadAt(start, out + done, count - done);
            bufferStart = start + std::max(got, 0);
            bufferPos = bufferFill = 0;
            if (got <= 0) {
                atEnd = true;
                break;
            }
            done += got;
        } else if (!Refill()) {
            break;
        }
    }
    return done;
}

bool InStream::Seek(int64_t position)
{
    if (file == noFile || position < 0) return false;
    bool beyond = position > fileSize;
    if (beyond) position = fileSize;
    if (position >= bufferStart && position <= bufferStart + bufferFill) {
        bufferPos = static_cast<int>(position - bufferStart);
    } else {
        bufferStart = position;
        bufferPos = bufferFill = 0;
    }
    atEnd = beyond;
    return !beyond;
}

bool InStream::RelSeek(int64_t offset)
{
    int64_t position = GetPos();
    // Compared before adding, so that no offset can overflow the sum.
    if (offset < -position) return false;
    if (offset > fileSize - position) return Seek(fileSize + 1);
    return Seek(position + offset);
}
