// Whether the programs of a package carry an Authenticode signature. Windows names the
// publisher of a signed setup.exe when it asks for administrator rights, and "Unknown
// publisher" otherwise; virus scanners trust signed files sooner. Only the presence of a
// signature is seen here: `osslsigncode verify` checks the signature itself.
#ifndef SETUP_TOOLS_SIGNATURE_CHECK_H
#define SETUP_TOOLS_SIGNATURE_CHECK_H

#include "tools/finding.h"

#include <filesystem>
#include <vector>

enum class SignatureState {
    present,     // the certificate table holds a PKCS#7 signature
    absent,      // a program file without a certificate table
    damaged,     // a certificate table that lies outside the file or holds no signature
    notAProgram, // not a Windows program file at all
};

// What the headers of a Windows program file (.exe or .dll) tell of its signature.
SignatureState ReadSignatureState(const std::filesystem::path &file);

// A warning for setup.exe, lumora.dll and uninstall.exe of the package folder when one carries
// no sound signature, an error when one is no program file; nothing for a file the folder
// does not hold.
std::vector<Finding> CheckSignatures(const std::filesystem::path &folder);

#endif
