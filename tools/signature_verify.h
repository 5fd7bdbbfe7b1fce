// Whether a signed program file is still as it was signed: the Authenticode digest of its bytes
// against the one its signature holds, and the signature over that digest. Built where a
// cryptographic library is at hand (libcrypto off Windows); elsewhere every file is unverifiable.
#ifndef SETUP_TOOLS_SIGNATURE_VERIFY_H
#define SETUP_TOOLS_SIGNATURE_VERIFY_H

#include "tools/signature_check.h"

#include <filesystem>

enum class SignatureVerdict {
    sound,        // the file and its signature are as they were signed
    changed,      // a byte of the file, or of its signature, differs since
    unreadable,   // the certificate table holds no Authenticode signature this tool can read
    unverifiable, // this build cannot verify signatures
};

// file is a program whose certificate table lies where layout says (ReadSignatureState).
SignatureVerdict VerifySignature(const std::filesystem::path &file, const SignatureLayout &layout);

#endif
