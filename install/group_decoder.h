// The one decoder of a group's bzip2 stream, for the installer and for `tsa verify` and
// `tsa check` alike, so that what the tool calls sound is exactly what the installer unpacks.
#ifndef SETUP_INSTALL_GROUP_DECODER_H
#define SETUP_INSTALL_GROUP_DECODER_H

#include "install/archive_fault.h"
#include "install/archive_format.h"

#include <cstdint>
#include <functional>

struct GroupDecoding {
    // none, noDecompressor, streamDamaged, notBzip2, streamEndsEarly or bytesAfterStream.
    ArchiveFaultKind fault = ArchiveFaultKind::none;
    bool readFailed = false;  // the packed bytes could not be read in full
    bool writeFailed = false; // the unpacked bytes could not be written
    bool beyondTable = false; // more came out than the table's sizes; decoding stopped there
    int64_t unpacked = 0;     // bytes that came out and were written
};

// read(buffer, count) gives up to count of the group's packed bytes (0 at their end, less than
// 0 on an error); the decoder asks for no more than the group's packedSize in all. write(data,
// count) takes what comes out. Nothing past the entries' sizes is ever used, so a stream that
// inflates without end fills neither the disk nor the time: decoding stops once it has given
// more than that. packedRead(bytes) follows the packed bytes read so far.
GroupDecoding DecodeGroup(const ArchiveGroup &group, const std::function<int(void *, int)> &read,
                          const std::function<bool(const void *, int)> &write,
                          const std::function<void(int64_t)> &packedRead = nullptr);

#endif
