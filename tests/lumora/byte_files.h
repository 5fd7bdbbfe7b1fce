// Whole files as bytes, in the test's scratch folder, for the library's stream tests.
#ifndef TESTS_LUMORA_BYTE_FILES_H
#define TESTS_LUMORA_BYTE_FILES_H

#include "tests/common/scratch_test.h"

#include <string>
#include <vector>

class ByteFilesTest : public ScratchTest {
protected:
    void WriteBytes(const std::string &name, const std::vector<unsigned char> &bytes) const;
    std::vector<unsigned char> ReadBytes(const std::string &name) const;
};

// Bytes that differ from their neighbours and do not repeat with any power of two.
std::vector<unsigned char> PatternBytes(size_t count);

#endif
