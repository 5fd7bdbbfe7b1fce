// How the characters of setup.tsi and of the licence reach the program: Windows reads them in the
// system code page of the machine it runs on (setup.tsi also as UTF-16 after its byte order
// mark), so text written in another encoding shows as other characters, and file names in it
// name no file.
#ifndef SETUP_TOOLS_PROFILE_ENCODING_H
#define SETUP_TOOLS_PROFILE_ENCODING_H

#include "tools/finding.h"

#include <string>
#include <vector>

// One finding for the file's encoding where the program would read other characters than its
// writer meant, read in codePage (asciiOnly when none was named); none for sound files.
std::vector<Finding> CheckProfileEncoding(const std::string &bytes, int codePage);

// The same for the licence text, named name in the package, which the License page reads whole
// in the system code page: comments are text there, and a byte order mark shows as characters.
std::vector<Finding> CheckLicenceEncoding(const std::string &bytes, int codePage, const std::wstring &name);

#endif
