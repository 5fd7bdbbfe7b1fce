#include "package/path_rules.h"

#include "install/entry_name.h"

#include <string>

ArchiveFaultKind FolderBelowFault(const lumora::String &folder)
{
    int length = folder.Length();
    while (length > 0 && IsPathSeparator(folder[length - 1])) --length;
    if (length == 0) return ArchiveFaultKind::none;
    return EntryNameFault(lumora::String(static_cast<const wchar_t *>(folder), length));
}

bool LeavesFolder(ArchiveFaultKind fault)
{
    return fault == ArchiveFaultKind::parentLevel || fault == ArchiveFaultKind::leadingSeparator ||
           fault == ArchiveFaultKind::driveLetter;
}

lumora::String Refusal(const lumora::String &value, const char *folder)
{
    ArchiveFaultKind fault = FolderBelowFault(value);
    if (fault == ArchiveFaultKind::none) return lumora::String();
    std::string words = LeavesFolder(fault) ? std::string("would lie outside ") + folder
                                            : std::string("is not a name Windows allows");
    return lumora::String((words + " (" + FaultWords(fault) + ")").c_str());
}
