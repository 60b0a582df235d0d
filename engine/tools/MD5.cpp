#include "engine/tools/MD5.h"

#include "classlib/base/Exceptions.h"
#include "classlib/base/Streams.h"
#include <openssl/evp.h>
#include <vector>

std::string TCustomMD5::HexDigest() const {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(FDigest.size() * 2);
    for (uint8_t b : FDigest) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

void TCustomMD5::HashFile(const std::string& fileName, const std::atomic<bool>* stop) {
    // Large enough that the reads cost little beside the digest, small enough to
    // stay in the processor's cache while it is digested.
    constexpr int64_t blockSize = 256 * 1024;
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    std::vector<uint8_t> block(blockSize);
    Init();
    int64_t count;
    do {
        count = file.Read(block.data(), blockSize);
        Update(block.data(), static_cast<size_t>(count));
    } while (count == blockSize && !(stop && *stop));
    Final();
}

TMD5::TMD5() : FContext(EVP_MD_CTX_new()) {
    if (!FContext) throw Exception("Out of memory");
    Init();
}

TMD5::~TMD5() {
    EVP_MD_CTX_free(FContext);
}

void TMD5::Init() {
    if (!EVP_DigestInit_ex(FContext, EVP_md5(), nullptr)) throw Exception("MD5 is not available");
}

void TMD5::Update(const void* buffer, size_t count) {
    EVP_DigestUpdate(FContext, buffer, count);
}

TMD5Digest TMD5::Final() {
    EVP_DigestFinal_ex(FContext, FDigest.data(), nullptr);
    return FDigest;
}

std::string MD5FileHex(const std::string& fileName, const std::atomic<bool>* stop) {
    TMD5 md5;
    md5.HashFile(fileName, stop);
    return md5.HexDigest();
}
