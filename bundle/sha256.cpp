#include "bundle/sha256.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define SETUP_SHA_INSTRUCTIONS 1
#endif

namespace {

const uint32_t roundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

inline uint32_t Rotate(uint32_t value, int bits)
{
    return value >> bits | value << (32 - bits);
}

void CompressPortably(uint32_t state[8], const uint8_t *block)
{
    uint32_t schedule[64];
    for (int k = 0; k < 16; ++k)
        schedule[k] = uint32_t(block[4 * k]) << 24 | uint32_t(block[4 * k + 1]) << 16 |
                      uint32_t(block[4 * k + 2]) << 8 | block[4 * k + 3];
    for (int k = 16; k < 64; ++k) {
        uint32_t early = schedule[k - 15], late = schedule[k - 2];
        schedule[k] = schedule[k - 16] + (Rotate(early, 7) ^ Rotate(early, 18) ^ early >> 3) +
                      schedule[k - 7] + (Rotate(late, 17) ^ Rotate(late, 19) ^ late >> 10);
    }
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
    for (int k = 0; k < 64; ++k) {
        uint32_t first = h + (Rotate(e, 6) ^ Rotate(e, 11) ^ Rotate(e, 25)) + ((e & f) ^ (~e & g)) +
                         roundConstants[k] + schedule[k];
        uint32_t second = (Rotate(a, 2) ^ Rotate(a, 13) ^ Rotate(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g, g = f, f = e, e = d + first;
        d = c, c = b, b = a, a = first + second;
    }
    state[0] += a, state[1] += b, state[2] += c, state[3] += d;
    state[4] += e, state[5] += f, state[6] += g, state[7] += h;
}

#ifdef SETUP_SHA_INSTRUCTIONS

bool HasShaInstructions()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    const unsigned ssse3 = 1u << 9, sse41 = 1u << 19, sha = 1u << 29;
    if (!__get_cpuid(1, &a, &b, &c, &d) || (c & ssse3) == 0 || (c & sse41) == 0) return false;
    return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & sha) != 0;
}

// The rounds in the order the instructions take them: each call of sha256rnds2 makes two
// rounds on the state held as ABEF and CDGH, and the schedule is kept four words to a register.
__attribute__((target("sha,sse4.1,ssse3"))) void CompressWithInstructions(uint32_t state[8],
                                                                          const uint8_t *blocks, size_t count)
{
    const __m128i byteOrder = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(state)), 0xB1);
    __m128i hgfe = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(state + 4)), 0x1B);
    __m128i abef = _mm_alignr_epi8(dcba, hgfe, 8);
    __m128i cdgh = _mm_blend_epi16(hgfe, dcba, 0xF0);
    for (; count > 0; --count, blocks += 64) {
        __m128i savedAbef = abef, savedCdgh = cdgh, words[4];
        for (int k = 0; k < 4; ++k)
            words[k] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(blocks + 16 * k)),
                                        byteOrder);
        for (int group = 0; group < 16; ++group) {
            __m128i &current = words[group % 4];
            __m128i input = _mm_add_epi32(
                current, _mm_loadu_si128(reinterpret_cast<const __m128i *>(roundConstants + 4 * group)));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, input);
            // The words of the group after this one, from the four groups before it.
            if (group >= 3 && group < 15) {
                __m128i &next = words[(group + 1) % 4];
                next = _mm_add_epi32(next, _mm_alignr_epi8(current, words[(group + 3) % 4], 4));
                next = _mm_sha256msg2_epu32(next, current);
            }
            abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(input, 0x0E));
            if (group >= 1 && group < 13) {
                __m128i &previous = words[(group + 3) % 4];
                previous = _mm_sha256msg1_epu32(previous, current);
            }
        }
        abef = _mm_add_epi32(abef, savedAbef);
        cdgh = _mm_add_epi32(cdgh, savedCdgh);
    }
    __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

#endif

} // namespace

Sha256::Sha256(Sha256Engine engine)
    : state{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19},
      instructions(false)
{
#ifdef SETUP_SHA_INSTRUCTIONS
    instructions = engine == Sha256Engine::fastest && HasShaInstructions();
#else
    (void)engine;
#endif
}

void Sha256::Compress(const uint8_t *blocks, size_t count)
{
#ifdef SETUP_SHA_INSTRUCTIONS
    if (instructions) return CompressWithInstructions(state, blocks, count);
#endif
    for (; count > 0; --count, blocks += 64) CompressPortably(state, blocks);
}

void Sha256::Update(const void *data, size_t size)
{
    const uint8_t *bytes = static_cast<const uint8_t *>(data);
    length += size;
    if (pendingSize > 0) {
        size_t taken = size < 64 - pendingSize ? size : 64 - pendingSize;
        std::memcpy(pending + pendingSize, bytes, taken);
        pendingSize += taken, bytes += taken, size -= taken;
        if (pendingSize < 64) return;
        Compress(pending, 1);
        pendingSize = 0;
    }
    Compress(bytes, size / 64);
    bytes += size / 64 * 64, size %= 64;
    std::memcpy(pending, bytes, size);
    pendingSize = size;
}

void Sha256::Finish(uint8_t digest[sha256Size])
{
    uint64_t bits = length * 8;
    // A one bit, zeros up to 56 bytes of the last block, then the length in bits.
    const uint8_t one = 0x80, zero = 0;
    Update(&one, 1);
    while (pendingSize != 56) Update(&zero, 1);
    uint8_t lengthBytes[8];
    for (int k = 0; k < 8; ++k) lengthBytes[k] = static_cast<uint8_t>(bits >> (56 - 8 * k));
    Update(lengthBytes, 8);
    for (int k = 0; k < 8; ++k)
        for (int byte = 0; byte < 4; ++byte)
            digest[4 * k + byte] = static_cast<uint8_t>(state[k] >> (24 - 8 * byte));
}
