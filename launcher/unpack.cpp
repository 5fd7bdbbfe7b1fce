#include "launcher/unpack.h"

#include "launcher/own_payload.h"

// RtlGenRandom: the system's random numbers, in advapi32 since Windows XP.
extern "C" BOOLEAN WINAPI SystemFunction036(PVOID buffer, ULONG size);

namespace {

const int mostFolderNameTries = 16;
const int removalTries = 30;
const DWORD removalPause = 100; // milliseconds

void PutHex(wchar_t *text, const uint8_t *bytes, size_t count)
{
    static const wchar_t digits[] = L"0123456789abcdef";
    for (size_t k = 0; k < count; ++k) {
        text[2 * k] = digits[bytes[k] >> 4];
        text[2 * k + 1] = digits[bytes[k] & 15];
    }
}

bool WriteAll(HANDLE file, const uint8_t *bytes, DWORD count)
{
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

// Every folder the name lies in, below the launcher's folder, which alone was made new.
bool MakeLevels(FolderPath &path, size_t folderLength)
{
    for (size_t k = folderLength + 1; k < path.length; ++k) {
        if (path.text[k] != L'\\') continue;
        path.text[k] = L'\0';
        bool made = CreateDirectoryW(path.text, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
        path.text[k] = L'\\';
        if (!made) return false;
    }
    return true;
}

bool RemoveTree(FolderPath &folder)
{
    size_t length = folder.length;
    WIN32_FIND_DATAW found;
    bool whole = folder.Append(L"\\*");
    HANDLE search = whole ? FindFirstFileW(folder.text, &found) : INVALID_HANDLE_VALUE;
    bool removed = whole;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const wchar_t *name = found.cFileName;
            if (name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'))) continue;
            folder.Cut(length);
            if (!folder.Append(L"\\") || !folder.Append(name)) {
                removed = false;
                continue;
            }
            SetFileAttributesW(folder.text, FILE_ATTRIBUTE_NORMAL);
            // A link to a folder elsewhere goes, not what it leads to.
            bool tree = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                        (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
            if (tree)
                removed = RemoveTree(folder) && removed;
            else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                removed = RemoveDirectoryW(folder.text) && removed;
            else
                removed = DeleteFileW(folder.text) && removed;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    folder.Cut(length);
    return RemoveDirectoryW(folder.text) && removed;
}

} // namespace

bool MakePrivateFolder(FolderPath &folder, DWORD &error)
{
    wchar_t temporary[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
    error = ERROR_PATH_NOT_FOUND;
    if (length == 0 || length > MAX_PATH) return false;
    for (int attempt = 0; attempt < mostFolderNameTries; ++attempt) {
        uint8_t random[8];
        if (!SystemFunction036(random, sizeof random)) {
            error = GetLastError();
            return false;
        }
        wchar_t name[6 + 2 * sizeof random] = {L's', L'e', L't', L'u', L'p', L'-'};
        PutHex(name + 6, random, sizeof random);
        folder.Cut(0);
        if (!folder.Append(temporary, length) || !folder.Append(name, sizeof name / sizeof name[0]))
            return false;
        // CreateDirectory fails on a name that exists, so the folder made is new.
        if (CreateDirectoryW(folder.text, nullptr)) return true;
        error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

bool UnpackPayload(OwnPayload &payload, const FolderPath &folder, FolderPath &path, DWORD &error)
{
    PayloadTable table = payload.Table();
    PayloadEntry entry;
    while (table.Next(entry)) {
        path = folder;
        path.Append(L"\\");
        for (uint32_t k = 0; k < entry.nameUnits; ++k) {
            wchar_t unit = static_cast<wchar_t>(entry.NameUnit(k));
            path.Append(&unit, 1);
        }
        HANDLE file = INVALID_HANDLE_VALUE;
        if (MakeLevels(path, folder.length))
            file =
                CreateFileW(path.text, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            error = GetLastError();
            return false;
        }
        bool written = payload.Copy(entry.offset, entry.size, [&](const uint8_t *bytes, DWORD count) {
            return WriteAll(file, bytes, count);
        });
        error = GetLastError();
        if (!CloseHandle(file) || !written) return false;
    }
    return true;
}

bool RemoveFolder(const FolderPath &folder)
{
    FolderPath path = folder;
    for (int attempt = 0; attempt < removalTries; ++attempt) {
        if (RemoveTree(path) || GetFileAttributesW(folder.text) == INVALID_FILE_ATTRIBUTES) return true;
        Sleep(removalPause);
    }
    return false;
}
