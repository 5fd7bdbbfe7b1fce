// The temporary files one archive group passes through: "buffer.temp" holds the group's
// compressed bytes, "data.temp" its decompressed data. Each belongs to one run alone: it is
// created exclusively, shared with nobody, written and read back through its own handle and
// removed through it, so a second run in the same folder can neither spoil nor take it.
#ifndef SETUP_INSTALL_TEMP_FILES_H
#define SETUP_INSTALL_TEMP_FILES_H

#include "lumora/string.h"

#include <cstdint>

class TempFile {
public:
    TempFile() = default;
    ~TempFile(); // removes the file
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;

    // Takes `name` in the working folder while nobody holds that name and the folder lets it
    // be made; otherwise a name of this run's own in the user's temporary folder.
    bool Create(const char *name);
    // Only the run's own name in the user's temporary folder.
    bool CreateInTemporaryFolder(const char *name);

    // attributes
    bool IsOpen() const { return file != noFile; }
    const lumora::String &Path() const { return path; }

    // operations
    bool Write(const void *data, int count);
    bool Seek(int64_t position);
    // Up to count bytes from the position; the number read, -1 on failure.
    int Read(void *data, int count);
    // Closes the file and deletes it; what another run made under the same name is never
    // touched, since that name could not have been taken here.
    void Remove();

private:
    static const intptr_t noFile = -1;
    bool CreateExclusively(const lumora::String &candidate);

    intptr_t file = noFile;
    lumora::String path;
};

#endif
