#pragma once
// MD5 message digests (RFC 1321). TCustomMD5 reads files and writes the hex form;
// TMD5 computes the digest with libcrypto.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

using TMD5Digest = std::array<uint8_t, 16>;

class TCustomMD5 {
public:
    virtual ~TCustomMD5() = default;

    virtual void Init() = 0;
    virtual void Update(const void* buffer, size_t count) = 0;
    virtual TMD5Digest Final() = 0; // also kept for HexDigest

    // The last Final as 32 upper-case hexadecimal digits.
    [[nodiscard]] std::string HexDigest() const;
    // Reads the file, denying others write access, in blocks of 256 KiB.
    // Raises EFOpenError "Cannot open file %s" when it cannot be opened. Once *stop
    // is set the reading ends early and the digest means nothing.
    void HashFile(const std::string& fileName, const std::atomic<bool>* stop = nullptr);

protected:
    TMD5Digest FDigest{};
};

struct evp_md_ctx_st;

class TMD5 : public TCustomMD5 {
public:
    TMD5();
    ~TMD5() override;
    TMD5(const TMD5&) = delete;
    TMD5& operator=(const TMD5&) = delete;

    void Init() override;
    void Update(const void* buffer, size_t count) override;
    TMD5Digest Final() override;

private:
    evp_md_ctx_st* FContext;
};

// The file's MD5 as 32 upper-case hexadecimal digits; raises and stops like HashFile.
std::string MD5FileHex(const std::string& fileName, const std::atomic<bool>* stop = nullptr);
