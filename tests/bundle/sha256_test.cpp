// SHA-256 against the published digests, across the padding's block boundary, and fed in
// pieces of every size, as the launcher and the tool feed it; with the processor's SHA
// instructions where this one has them, and without.
#include "bundle/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Hex(const uint8_t *digest)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (size_t k = 0; k < sha256Size; ++k)
        text += std::string{digits[digest[k] >> 4], digits[digest[k] & 15]};
    return text;
}

std::string DigestOf(const std::string &message, size_t piece, Sha256Engine engine)
{
    Sha256 digest(engine);
    for (size_t at = 0; at < message.size(); at += piece)
        digest.Update(message.data() + at, std::min(piece, message.size() - at));
    uint8_t result[sha256Size];
    digest.Finish(result);
    return Hex(result);
}

TEST(Sha256, GivesThePublishedDigests)
{
    struct Case {
        std::string message;
        const char *digest;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmno"
         "pqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        // The length just fits the last block, and one block exactly.
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
    };
    for (Sha256Engine engine : {Sha256Engine::fastest, Sha256Engine::portable})
        for (const Case &sample : cases)
            EXPECT_EQ(DigestOf(sample.message, 1000, engine), sample.digest) << sample.message;
}

TEST(Sha256, PiecesOfAnySizeGiveTheSameDigest)
{
    const std::string million(1000000, 'a');
    for (Sha256Engine engine : {Sha256Engine::fastest, Sha256Engine::portable})
        for (size_t piece : {size_t(1), size_t(63), size_t(64), size_t(65), size_t(1) << 20})
            EXPECT_EQ(DigestOf(million, piece, engine),
                      "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0")
                << piece;
}

} // namespace
