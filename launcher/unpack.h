// The launcher's folder of its own below the user's temporary folder: named from the
// system's random numbers and made new, so no other run, not even another bundle started in
// the same instant, shares it or has planted anything in it; the payload's files written into
// it; and the folder removed with whatever the run left in it.
#ifndef SETUP_LAUNCHER_UNPACK_H
#define SETUP_LAUNCHER_UNPACK_H

#include "bundle/bundle_format.h"
#include "launcher/fixed_text.h"

#include <windows.h>

class OwnPayload;

// A path of the launcher's folder: the temporary folder, the folder's name and a name of the
// table always fit.
using FolderPath = FixedText<MAX_PATH + mostNameUnits + 64>;

// Makes the folder; false with the system's error code in error.
bool MakePrivateFolder(FolderPath &folder, DWORD &error);

// Writes every file of the table below folder, each made new; false with the system's error
// code and the path that failed.
bool UnpackPayload(OwnPayload &payload, const FolderPath &folder, FolderPath &failed, DWORD &error);

// Removes the folder and everything in it, waiting a little for files a program that just
// ended may still hold; true when it is gone.
bool RemoveFolder(const FolderPath &folder);

#endif
