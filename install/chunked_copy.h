// Copies one file's bytes between streams in about a hundred chunks, reporting each new
// integer percentage.
#ifndef SETUP_INSTALL_CHUNKED_COPY_H
#define SETUP_INSTALL_CHUNKED_COPY_H

#include "lumora/stream.h"

#include <cstdint>
#include <functional>

// Reads up to count bytes into buffer and returns how many it read; fewer than asked only at
// the end of the source or on a failure.
using ReadSource = std::function<int(void *buffer, int count)>;

// The chunk is max(size / 100, 10000) bytes, so a bar moves at most a hundred times.
int64_t CopyChunkSize(int64_t size);

// trunc(done * 100.0 / size), rounded to double precision on every platform.
int CopyPercent(int64_t done, int64_t size);

// Copies `size` bytes from source to target chunk by chunk; after each chunk whose
// percentage differs from the last one shown (0 at the start), calls onNewPercent. A chunk
// is moved in pieces of at most 1 MB, so memory stays small whatever the file's size.
// False when the source ran short or the target failed.
bool CopyWithProgress(const ReadSource &source, OutStream &target, int64_t size,
                      const std::function<void(int)> &onNewPercent);

#endif
