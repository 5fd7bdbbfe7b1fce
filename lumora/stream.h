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
// (numbers read as 0) and IsOpen() says so. Reading past the end reads nothing and sets
// the end flag; it never blocks or crashes. On Linux a "\" in a name means "/".
class LUMORA_API InStream {
public:
    InStream(int type, const lumora::String &name, int mode);
    ~InStream();
    InStream(const InStream &) = delete;
    InStream &operator=(const InStream &) = delete;

    // attributes
    bool IsOpen() const;
    bool AtEnd() const; // a read has run past the end of the file
    int64_t Size() const;
    int64_t GetPos() const;

    // operations
    // An unsigned number of 1 to 8 bytes; bytes past the end count as 0.
    uint64_t InputNumber(int bytes);
    // count bytes, each one character with that code (no character-set conversion).
    lumora::String InputString(int count);
    // Reads up to count bytes; returns how many were read.
    int InputData(void *buffer, int count);
    bool Seek(int64_t position);
    bool RelSeek(int64_t offset);

private:
    bool Refill();

    void *file; // platform handle, null when closed
    int64_t fileSize = 0;
    int64_t bufferStart = 0; // file offset of buffer[0]
    int bufferFill = 0;
    int bufferPos = 0;
    bool atEnd = false;
    unsigned char *buffer;
};

class LUMORA_API OutStream {
public:
    OutStream(int type, const lumora::String &name, int mode);
    ~OutStream(); // closes; a failure then is lost, so call Close() to learn it
    OutStream(const OutStream &) = delete;
    OutStream &operator=(const OutStream &) = delete;

    // attributes
    bool IsOpen() const;
    bool Failed() const; // a write has failed since the stream was opened
    int64_t GetPos() const;

    // operations
    bool OutputNumber(uint64_t value, int bytes);
    bool OutputData(const void *buffer, int count);
    bool Flush();
    // Writes what is buffered and closes the file; false when any write failed.
    bool Close();

private:
    void *file;
    int64_t position = 0;
    int bufferFill = 0;
    bool failed = false;
    unsigned char *buffer;
};

#endif
