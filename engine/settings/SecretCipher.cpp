#include "engine/settings/SecretCipher.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>
#include <openssl/crypto.h>
#include <openssl/evp.h>

namespace {
// Held in the program as plain text; files written by every build depend on it.
const char PassPhrase[] = "zuzazazod";
const char Base64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// Marks a stored secret held as UTF-8; every other one is in the code page.
const std::string Utf8Mark = "\xEF\xBB\xBF";
} // namespace

void TSecretCipher::TCtxDeleter::operator()(evp_cipher_ctx_st* c) const {
    EVP_CIPHER_CTX_free(c); // clears the key schedule
}

TSecretCipher::TSecretCipher() : FCtx(EVP_CIPHER_CTX_new()) {
    // Key: SHA-1 of the pass phrase followed by four zero bytes.
    std::array<uint8_t, 24> key{};
    unsigned int len = 0;
    const bool ok =
        FCtx &&
        EVP_Digest(PassPhrase, sizeof(PassPhrase) - 1, key.data(), &len, EVP_sha1(), nullptr) &&
        EVP_EncryptInit_ex(FCtx.get(), EVP_aes_192_ecb(), nullptr, key.data(), nullptr) &&
        EVP_CIPHER_CTX_set_padding(FCtx.get(), 0);
    OPENSSL_cleanse(key.data(), key.size());
    if (!ok) throw Exception("Cannot set up the AES cipher");
    FRegister = EncryptBlock(TBlock{});
}

TSecretCipher::~TSecretCipher() {
    OPENSSL_cleanse(FRegister.data(), FRegister.size());
}

TSecretCipher::TBlock TSecretCipher::EncryptBlock(const TBlock& in) const {
    TBlock out{};
    int len = 0;
    if (!EVP_EncryptUpdate(FCtx.get(), out.data(), &len, in.data(), static_cast<int>(in.size())) ||
        len != static_cast<int>(out.size()))
        throw Exception("AES encryption failed");
    return out;
}

uint8_t TSecretCipher::Step(uint8_t in, bool encrypting) {
    TBlock stream = EncryptBlock(FRegister);
    const uint8_t out = in ^ stream[0];
    OPENSSL_cleanse(stream.data(), stream.size());
    std::copy(FRegister.begin() + 1, FRegister.end(), FRegister.begin());
    FRegister.back() = encrypting ? out : in;
    return out;
}

std::string TSecretCipher::Encrypt(const std::string& plain) {
    std::string cipher(plain.size(), '\0');
    for (size_t i = 0; i < plain.size(); ++i)
        cipher[i] = static_cast<char>(Step(static_cast<uint8_t>(plain[i]), true));
    return Base64Encode(cipher);
}

std::string TSecretCipher::Decrypt(const std::string& text) {
    std::string cipher;
    return Base64Decode(text, cipher) ? DecryptBytes(cipher) : "";
}

std::string TSecretCipher::DecryptBytes(const std::string& cipher) {
    std::string plain(cipher.size(), '\0');
    for (size_t i = 0; i < cipher.size(); ++i)
        plain[i] = static_cast<char>(Step(static_cast<uint8_t>(cipher[i]), false));
    return plain;
}

std::string TSecretCipher::EncryptText(const std::string& text, UINT codePage) {
    std::string bytes;
    if (ToCodePage(text, codePage, bytes) && !bytes.starts_with(Utf8Mark)) return Encrypt(bytes);
    return Encrypt(Utf8Mark + text);
}

std::string TSecretCipher::DecryptText(const std::string& stored, UINT codePage) {
    std::string cipher;
    if (!Base64Decode(stored, cipher)) throw EConvertError("A stored secret is not Base64");
    const std::string plain = DecryptBytes(cipher);
    if (plain.starts_with(Utf8Mark)) return plain.substr(Utf8Mark.size());
    return FromCodePage(plain, codePage);
}

std::string Base64Encode(const std::string& data) {
    std::string out(4 * ((data.size() + 2) / 3) + 1, '\0');
    const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                  reinterpret_cast<const unsigned char*>(data.data()),
                                  static_cast<int>(data.size()));
    out.resize(static_cast<size_t>(n));
    return out;
}

bool Base64Decode(const std::string& text, std::string& data) {
    // EVP_DecodeBlock skips blanks and counts padding as data: accept only the
    // strict form and drop the padding here.
    data.clear();
    if (text.empty()) return true;
    const size_t body = text.find_last_not_of('=') + 1; // 0 when all '='
    const size_t pad = text.size() - body;
    if (text.size() % 4 != 0 || pad > 2 || body == 0 ||
        text.find_first_not_of(Base64Alphabet) < body)
        return false;
    std::string out(text.size() / 4 * 3, '\0');
    const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                  reinterpret_cast<const unsigned char*>(text.data()),
                                  static_cast<int>(text.size()));
    if (n < 0) return false;
    out.resize(static_cast<size_t>(n) - pad);
    data = std::move(out);
    return true;
}
