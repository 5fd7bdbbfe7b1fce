#include "install/chunked_copy.h"
#include "install/extraction.h"
#include "lumora/stream.h"

bool CopyLibrary(const lumora::String &sourceName, const lumora::String &destinationDir, int componentCount,
                 InstallProgress &progress, InstallReport &report)
{
    const lumora::String label("Library");
    progress.SetFileProgress(0);
    InStream source(lumora::STREAM_FILE, sourceName, lumora::STREAM_READ_ONLY);
    if (!source.IsOpen()) {
        report.AddFault(label, sourceName, "the file cannot be opened, so it is not copied");
        return false;
    }
    lumora::String targetName = destinationDir + "\\" + sourceName;
    OutStream target(lumora::STREAM_FILE, targetName, lumora::STREAM_CREATE);
    if (!target.IsOpen()) {
        report.AddFault(label, targetName, "the file cannot be created");
        return false;
    }
    auto read = [&source](void *buffer, int count) { return source.InputData(buffer, count); };
    bool copied = CopyWithProgress(read, target, source.Size(), [&](int percent) {
        progress.SetFileProgress(percent);
        progress.SetTotalProgress(TotalProgressDuringCopy(percent, componentCount));
    });
    bool complete = target.Close() && copied;
    if (complete) {
        progress.FileDone();
        report.FileWritten(targetName, source.Size());
    } else {
        report.AddFault(label, targetName, "the file could not be written in full");
    }
    return complete;
}
