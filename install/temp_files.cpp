#include "install/temp_files.h"

#include "install/platform_fs.h"

TempFiles::TempFiles(const lumora::String &folder)
    : bufferPath(folder + "buffer.temp"), dataPath(folder + "data.temp")
{
}

TempFiles::~TempFiles()
{
    RemoveBuffer();
    RemoveData();
}

void TempFiles::RemoveBuffer()
{
    if (bufferMade) RemoveFile(bufferPath);
    bufferMade = false;
}

void TempFiles::RemoveData()
{
    if (dataMade) RemoveFile(dataPath);
    dataMade = false;
}
