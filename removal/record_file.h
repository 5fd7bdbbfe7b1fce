// The removal record's file on disk.
#ifndef SETUP_REMOVAL_RECORD_FILE_H
#define SETUP_REMOVAL_RECORD_FILE_H

#include <string>

enum class RecordFileState { read, missing, unreadable };

RecordFileState ReadRecordFile(const std::wstring &path, std::string &bytes);

// Replaces the file in one step: the new content goes to a file beside it, is flushed, and is
// then moved over the old one, so a crash leaves either the old record or the new one whole.
bool ReplaceRecordFile(const std::wstring &path, const std::string &bytes);

#endif
