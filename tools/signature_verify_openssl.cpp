#include "tools/signature_verify.h"

#include <openssl/asn1.h>
#include <openssl/evp.h>
#include <openssl/objects.h>
#include <openssl/pkcs7.h>
#include <openssl/x509.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

const char *const indirectDataObject = "1.3.6.1.4.1.311.2.1.4"; // SpcIndirectDataContent
const uint64_t certificateHeaderSize = 8;                       // WIN_CERTIFICATE without its data

template <typename T, void (*Free)(T *)> struct Freed {
    void operator()(T *object) const { Free(object); }
};
using Pkcs7 = std::unique_ptr<PKCS7, Freed<PKCS7, PKCS7_free>>;
using Signature = std::unique_ptr<X509_SIG, Freed<X509_SIG, X509_SIG_free>>;
using Bio = std::unique_ptr<BIO, Freed<BIO, BIO_free_all>>;
using Object = std::unique_ptr<ASN1_OBJECT, Freed<ASN1_OBJECT, ASN1_OBJECT_free>>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, Freed<EVP_MD_CTX, EVP_MD_CTX_free>>;

void FreeSequence(ASN1_SEQUENCE_ANY *sequence)
{
    sk_ASN1_TYPE_pop_free(sequence, ASN1_TYPE_free);
}
using Sequence = std::unique_ptr<ASN1_SEQUENCE_ANY, Freed<ASN1_SEQUENCE_ANY, FreeSequence>>;

// The digest of the image as Authenticode takes it: every byte before the certificate table but
// the checksum and the table's directory entry.
bool ImageDigest(const std::string &bytes, const SignatureLayout &layout, const EVP_MD *kind,
                 std::string &digest)
{
    DigestContext context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), kind, nullptr) != 1) return false;
    const uint64_t ranges[][2] = {{0, layout.checksumAt},
                                  {layout.checksumAt + 4, layout.entryAt},
                                  {layout.entryAt + 8, layout.tableOffset}};
    for (const auto &range : ranges) {
        if (range[1] < range[0] || range[1] > bytes.size()) return false;
        if (EVP_DigestUpdate(context.get(), bytes.data() + range[0], range[1] - range[0]) != 1) return false;
    }
    unsigned char result[EVP_MAX_MD_SIZE];
    unsigned size = 0;
    if (EVP_DigestFinal_ex(context.get(), result, &size) != 1) return false;
    digest.assign(reinterpret_cast<const char *>(result), size);
    return true;
}

} // namespace

SignatureVerdict VerifySignature(const std::filesystem::path &file, const SignatureLayout &layout)
{
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream read;
    read << stream.rdbuf();
    std::string bytes = read.str();
    if (!stream || layout.tableOffset > bytes.size() ||
        layout.tableSize > bytes.size() - layout.tableOffset || layout.tableSize <= certificateHeaderSize)
        return SignatureVerdict::unreadable;

    const auto *table = reinterpret_cast<const unsigned char *>(bytes.data() + layout.tableOffset);
    long length =
        static_cast<long>(table[0] | table[1] << 8 | table[2] << 16 | static_cast<uint32_t>(table[3]) << 24);
    length = std::min<long>(length, static_cast<long>(layout.tableSize)) -
             static_cast<long>(certificateHeaderSize);
    if (length <= 0) return SignatureVerdict::unreadable;
    const unsigned char *der = table + certificateHeaderSize;
    Pkcs7 signature(d2i_PKCS7(nullptr, &der, length));
    if (!signature || PKCS7_type_is_signed(signature.get()) == 0) return SignatureVerdict::unreadable;
    PKCS7 *content = signature->d.sign->contents;
    Object indirectData(OBJ_txt2obj(indirectDataObject, 1));
    if (content == nullptr || content->type == nullptr || !indirectData ||
        OBJ_cmp(content->type, indirectData.get()) != 0 || content->d.other == nullptr ||
        content->d.other->type != V_ASN1_SEQUENCE)
        return SignatureVerdict::unreadable;

    // SpcIndirectDataContent: what the file is, then the DigestInfo of its image.
    const ASN1_STRING *indirect = content->d.other->value.sequence;
    const unsigned char *at = indirect->data;
    Sequence fields(d2i_ASN1_SEQUENCE_ANY(nullptr, &at, indirect->length));
    if (!fields || sk_ASN1_TYPE_num(fields.get()) != 2) return SignatureVerdict::unreadable;
    const ASN1_TYPE *digestInfo = sk_ASN1_TYPE_value(fields.get(), 1);
    if (digestInfo->type != V_ASN1_SEQUENCE) return SignatureVerdict::unreadable;
    at = digestInfo->value.sequence->data;
    Signature stated(d2i_X509_SIG(nullptr, &at, digestInfo->value.sequence->length));
    if (!stated) return SignatureVerdict::unreadable;
    const X509_ALGOR *algorithm = nullptr;
    const ASN1_OCTET_STRING *expected = nullptr;
    X509_SIG_get0(stated.get(), &algorithm, &expected);
    const EVP_MD *kind = EVP_get_digestbyobj(algorithm->algorithm);
    std::string digest;
    if (kind == nullptr || !ImageDigest(bytes, layout, kind, digest)) return SignatureVerdict::unreadable;
    // What follows the table is no part of what was signed: added afterwards.
    if (digest.size() != static_cast<size_t>(expected->length) ||
        std::memcmp(digest.data(), expected->data, digest.size()) != 0 ||
        layout.tableOffset + layout.tableSize < bytes.size())
        return SignatureVerdict::changed;

    // The signer's signature covers the SpcIndirectDataContent's value, without its own header.
    at = indirect->data;
    long valueLength = 0;
    int tag = 0, tagClass = 0;
    if ((ASN1_get_object(&at, &valueLength, &tag, &tagClass, indirect->length) & 0x80) != 0)
        return SignatureVerdict::unreadable;
    Bio value(BIO_new_mem_buf(at, static_cast<int>(valueLength)));
    if (!value) return SignatureVerdict::unreadable;
    // Only that the signature holds: whether its signer is trusted is for the users' systems.
    if (PKCS7_verify(signature.get(), nullptr, nullptr, value.get(), nullptr,
                     PKCS7_NOVERIFY | PKCS7_BINARY) != 1)
        return SignatureVerdict::changed;
    return SignatureVerdict::sound;
}
