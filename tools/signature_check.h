// Whether the programs of a package carry an Authenticode signature that still holds. Windows
// names the publisher of a signed setup.exe when it asks for administrator rights, and
// "Unknown publisher" otherwise; virus scanners trust signed files sooner. Whether the signer
// is trusted is the users' systems' matter: only that the file is as it was signed is checked.
#ifndef SETUP_TOOLS_SIGNATURE_CHECK_H
#define SETUP_TOOLS_SIGNATURE_CHECK_H

#include "tools/finding.h"

#include <cstdint>
#include <filesystem>
#include <vector>

enum class SignatureState {
    present,     // the certificate table holds a PKCS#7 signature
    absent,      // a program file without a certificate table
    damaged,     // a certificate table that lies outside the file or holds no signature
    notAProgram, // not a Windows program file at all
};

// Where a signed program file keeps what its signature leaves out: the signature covers every
// byte before the certificate table but the header's checksum and the table's directory entry.
struct SignatureLayout {
    uint64_t checksumAt = 0;
    uint64_t entryAt = 0; // the certificate table's entry among the data directories
    uint64_t tableOffset = 0;
    uint64_t tableSize = 0;
};

// What the headers of a Windows program file (.exe or .dll) tell of its signature; layout is
// filled for a present one.
SignatureState ReadSignatureState(const std::filesystem::path &file, SignatureLayout *layout = nullptr);

// A warning for setup.exe, lumora.dll and uninstall.exe of the package folder when one carries
// no sound signature, an error when one is no program file or was changed after it was signed;
// nothing for a file the folder does not hold.
std::vector<Finding> CheckSignatures(const std::filesystem::path &folder);

#endif
