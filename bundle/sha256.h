// SHA-256, the digest a bundle's trailer vouches for its payload with. Written for this
// project so the launcher needs no library beyond Windows' own and stays small; `tsa` uses the
// same code, so what one writes the other reads. Where the processor has the SHA instructions
// it uses them: the launcher digests the whole payload at every start.
#ifndef SETUP_BUNDLE_SHA256_H
#define SETUP_BUNDLE_SHA256_H

#include <cstddef>
#include <cstdint>

const size_t sha256Size = 32;

enum class Sha256Engine {
    fastest,  // the processor's SHA instructions where it has them
    portable, // plain arithmetic everywhere
};

class Sha256 {
public:
    explicit Sha256(Sha256Engine engine = Sha256Engine::fastest);
    void Update(const void *data, size_t size);
    // The digest of everything given; the object is spent afterwards.
    void Finish(uint8_t digest[sha256Size]);

private:
    void Compress(const uint8_t *blocks, size_t count);

    uint32_t state[8];
    bool instructions;   // the processor's SHA instructions are used
    uint64_t length = 0; // bytes given so far
    uint8_t pending[64];
    size_t pendingSize = 0;
};

#endif
