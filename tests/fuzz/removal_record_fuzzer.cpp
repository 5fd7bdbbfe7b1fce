// libFuzzer target: any bytes as a removal record. The reader either refuses them or gives a
// record whose every path stays below its root, and which writes back to what reads the same.
#include "removal/removal_record.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    RemovalRecord record;
    std::wstring fault = ReadRemovalRecord(std::string(reinterpret_cast<const char *>(data), size), record);
    if (!fault.empty()) {
        if (!record.files.empty() || !record.folders.empty()) std::abort();
        return 0;
    }
    for (const RecordedFile &file : record.files)
        if (!RelativePathFault(file.path).empty() || file.path == L".") std::abort();
    for (const RecordedFolder &folder : record.folders)
        if (!RelativePathFault(folder.path).empty()) std::abort();
    RemovalRecord again;
    if (!ReadRemovalRecord(WriteRemovalRecord(record), again).empty() ||
        again.files.size() != record.files.size() || again.destination != record.destination)
        std::abort();
    return 0;
}
