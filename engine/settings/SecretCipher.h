#pragma once
// The stored-secret encoding of "prefs.dat": AES-192 in 8-bit cipher feedback,
// keyed by the SHA-1 of a fixed pass phrase, cipher bytes written as Base64.
// One object is one cipher state: the register runs on from value to value, so
// values must be decrypted in the order, and with the same kind of state, in which
// they were encrypted.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <windows.h>

struct evp_cipher_ctx_st;

class TSecretCipher {
public:
    TSecretCipher();  // key from the pass phrase, register = the encrypted zero block
    ~TSecretCipher(); // wipes the key schedule and the register
    TSecretCipher(const TSecretCipher&) = delete;
    TSecretCipher& operator=(const TSecretCipher&) = delete;

    // The Base64 text of the cipher bytes; "" for "".
    [[nodiscard]] std::string Encrypt(const std::string& plain);
    // The plain string of a Base64 text. A text that is not valid Base64 gives ""
    // and leaves the state as it was.
    [[nodiscard]] std::string Decrypt(const std::string& text);
    // A UTF-8 text as stored: its bytes in the code page when it fits there (the form
    // every build of the file reads), else a UTF-8 byte order mark and its UTF-8 bytes.
    // Code page bytes that would begin with the mark go in the UTF-8 form.
    [[nodiscard]] std::string EncryptText(const std::string& text, UINT codePage = CP_ACP);
    // Back to UTF-8: plain bytes after the mark are UTF-8, all others code page bytes.
    // A text that is not Base64 raises EConvertError and leaves the state as it was.
    [[nodiscard]] std::string DecryptText(const std::string& stored, UINT codePage = CP_ACP);

private:
    using TBlock = std::array<uint8_t, 16>;
    struct TCtxDeleter {
        void operator()(evp_cipher_ctx_st* c) const;
    };
    [[nodiscard]] TBlock EncryptBlock(const TBlock& in) const;
    [[nodiscard]] std::string DecryptBytes(const std::string& cipher);
    // One CFB-8 step: returns in ^ keystream; the cipher byte enters the register.
    uint8_t Step(uint8_t in, bool encrypting);

    std::unique_ptr<evp_cipher_ctx_st, TCtxDeleter> FCtx; // AES-192 key schedule
    TBlock FRegister{};
};

// Base64 (RFC 4648, standard alphabet, padded). Decoding fails on anything else.
std::string Base64Encode(const std::string& data);
bool Base64Decode(const std::string& text, std::string& data);
