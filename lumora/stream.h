// Buffered byte streams over files. Numbers are little-endian.
#ifndef LUMORA_STREAM_H
#define LUMORA_STREAM_H

#include "lumora/api.h"
#include "lumora/string.h"

#include <cstdint>

namespace lumora {

enum StreamType { STREAM_FILE = 3 };

// Open modes. Reading: STREAM_READ (2) shares the file with other readers, STREAM_READ_ONLY
// (3) the same. Writing: STREAM_CREATE (1) creates the file or empties an existing one.
enum StreamMode { STREAM_CREATE = 1, STREAM_READ = 2, STREAM_READ_ONLY = 3 };

} // namespace lumora

// A stream on a file that cannot be opened is closed: its size is 0, it reads nothing
// (numbers read as 0) and IsOpen() says so. Only regular files open, so a device or a pipe
// can never make a read wait. Reading past the end reads nothing and sets the end flag; it
// never blocks or crashes. On Linux a "\" in a name means "/".
class LUMORA_API InStream {
public:
    InStream(int type, const lumora::String &name, int mode);
    ~InStream();
    InStream(const InStream &) = delete;
    InStream &operator=(const InStream &) = delete;

    // attributes
    bool IsOpen() const { return file != -1; }
    // A read or seek has run past the end since the last good Seek.
    bool AtEnd() const { return atEnd; }
    int64_t Size() const { return fileSize; } // the size when the stream was opened
    int64_t GetPos() const { return bufferStart + bufferPos; }

    // operations
    // An unsigned number of 1 to 8 bytes; bytes past the end count as 0. Another width
    // reads nothing and gives 0. Archives are copied one byte at a time, so a byte that is
    // already buffered is taken here, in the caller's code.
    uint64_t InputNumber(int bytes)
    {
        if (bytes == 1 && bufferPos < bufferFill) return buffer[bufferPos++];
        return InputNumberRefilling(bytes);
    }
    // count bytes, each one character with that code (no character-set conversion); stops
    // at the end of the file.
    lumora::String InputString(int count);
    // Reads up to count bytes; returns how many were read.
    int InputData(void *buffer, int count);
    // A position outside 0..Size() fails: a negative one leaves the position unchanged,
    // one beyond the end moves to the end and sets the end flag.
    bool Seek(int64_t position);
    bool RelSeek(int64_t offset);

private:
    uint64_t InputNumberRefilling(int bytes);
    bool Refill();
    int ReadAt(int64_t position, unsigned char *target, int count);

    intptr_t file = -1; // platform handle, -1 when closed
    int64_t fileSize = 0;
    int64_t filePos = 0;     // where the platform's file pointer stands
    int64_t bufferStart = 0; // file offset of buffer[0]
    int bufferFill = 0;
    int bufferPos = 0;
    bool atEnd = false;
    unsigned char *buffer = nullptr;
};

// Output is buffered; a failed write is remembered, and the stream then writes nothing more.
// A stream whose file cannot be created counts as failed.
class LUMORA_API OutStream {
public:
    // mode STREAM_CREATE creates the file or empties an existing one; other modes open nothing.
    OutStream(int type, const lumora::String &name, int mode);
    ~OutStream(); // closes; a failure then is lost, so call Close() to learn it
    OutStream(const OutStream &) = delete;
    OutStream &operator=(const OutStream &) = delete;

    // attributes
    bool IsOpen() const { return file != -1; }
    // Opening or a write has failed since the stream was opened.
    bool Failed() const { return failed; }
    int64_t GetPos() const { return written + bufferFill; }

    // operations
    // The results are false once the stream has failed; a write that is still buffered
    // can fail later, at Flush or Close. A single byte with room in the buffer is stored
    // here, in the caller's code.
    bool OutputNumber(uint64_t value, int bytes)
    {
        if (bytes == 1 && bufferFill < bufferCapacity) {
            buffer[bufferFill++] = static_cast<unsigned char>(value);
            return !failed;
        }
        return OutputNumberFlushing(value, bytes);
    }
    bool OutputData(const void *buffer, int count);
    bool Flush();
    // Writes what is buffered and closes the file; false when anything failed.
    bool Close();

private:
    bool OutputNumberFlushing(uint64_t value, int bytes);

    intptr_t file = -1;  // platform handle, -1 when closed
    int64_t written = 0; // bytes handed to the platform
    int bufferFill = 0;
    int bufferCapacity = 0; // 0 while closed, so the one-byte path needs no other check
    bool failed = false;
    unsigned char *buffer = nullptr;
};

#endif
