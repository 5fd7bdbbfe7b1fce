// The pair of temporary files one archive group passes through: "buffer.temp" holds the
// group's compressed bytes, "data.temp" its decompressed data.
#ifndef SETUP_INSTALL_TEMP_FILES_H
#define SETUP_INSTALL_TEMP_FILES_H

#include "lumora/string.h"

class TempFiles {
public:
    // folder is "" for the current directory, or a path ending with a separator.
    explicit TempFiles(const lumora::String &folder);
    ~TempFiles(); // removes whichever of the two files this object made
    TempFiles(const TempFiles &) = delete;
    TempFiles &operator=(const TempFiles &) = delete;

    const lumora::String &BufferPath() const { return bufferPath; }
    const lumora::String &DataPath() const { return dataPath; }

    // Called once a file has been created, so only files made here are ever removed.
    void BufferMade() { bufferMade = true; }
    void DataMade() { dataMade = true; }
    void RemoveBuffer();
    void RemoveData();

private:
    lumora::String bufferPath;
    lumora::String dataPath;
    bool bufferMade = false;
    bool dataMade = false;
};

#endif
