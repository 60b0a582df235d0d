// Expected texts come from the openssl command line tool with the same key and IV:
//   K=$(printf zuzazazod | openssl dgst -sha1 -binary | xxd -p)00000000
//   IV=$(head -c16 /dev/zero | openssl enc -aes-192-ecb -K $K -nopad | xxd -p)
//   printf secret | openssl enc -aes-192-cfb8 -K $K -iv $IV | base64
// Chained values are slices of one openssl run over their concatenation.
#include "engine/settings/SecretCipher.h"
#include "classlib/base/Exceptions.h"
#include <gtest/gtest.h>
#include <vector>

TEST(SecretCipher, MatchesOpensslForSingleValues) {
    EXPECT_EQ(TSecretCipher().Encrypt("secret"), "uGvXPwlZ");
    EXPECT_EQ(TSecretCipher().Encrypt("Password1"), "m52lvdUKgqrv");
    EXPECT_EQ(TSecretCipher().Encrypt("caf\xe9"), "qOtmWg=="); // code page 1252 byte
    EXPECT_EQ(TSecretCipher().Decrypt("qOtmWg=="), "caf\xe9");
}

TEST(SecretCipher, OneStateRunsAcrossValues) {
    const char* plain[] = {
        "mail", "joe@example.org", "s3cr\xe9t", "http://mail.example.org/", "bank", "joe"};
    const char* cipher[] = {"phNd3A==", "IDvFKcQTq4ABQTiriczs",
                            "hgrbP8x2", "6csN0SLRowopi0ZV46C/aSYoGVecWGuR",
                            "GwHoQg==", "R9Hy"};
    TSecretCipher enc, dec;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(enc.Encrypt(plain[i]), cipher[i]) << i;
        EXPECT_EQ(dec.Decrypt(cipher[i]), plain[i]) << i;
    }
    // Out of order, or with a fresh state, the later values are garbage.
    EXPECT_NE(TSecretCipher().Decrypt(cipher[4]), "bank");
    EXPECT_NE(TSecretCipher().Encrypt("bank"), cipher[4]);
}

TEST(SecretCipher, EmptyAndInvalidTextsLeaveTheStateAlone) {
    TSecretCipher enc;
    EXPECT_EQ(enc.Encrypt(""), "");
    EXPECT_EQ(enc.Encrypt("secret"), "uGvXPwlZ");

    TSecretCipher dec;
    EXPECT_EQ(dec.Decrypt(""), "");
    EXPECT_EQ(dec.Decrypt("not base64!"), "");
    EXPECT_EQ(dec.Decrypt("uGv"), "");                         // length not a multiple of four
    EXPECT_EQ(dec.Decrypt("uG=XPwlZ"), "");                    // padding inside the text
    EXPECT_THROW((void)dec.DecryptText("uGv"), EConvertError); // a stored text is damage
    EXPECT_EQ(dec.Decrypt("uGvXPwlZ"), "secret");
}

// A text that fits the code page is stored as its bytes there, as other builds of the
// file store it; one that does not goes as a UTF-8 byte order mark and UTF-8. Only the
// mark says UTF-8: code page bytes that happen to be valid UTF-8 stay code page text.
TEST(SecretCipher, TextsGoInTheCodePageWhenTheyFitElseAsMarkedUtf8) {
    EXPECT_EQ(TSecretCipher().EncryptText("\u00e9", 1252), "Ig==");
    EXPECT_EQ(TSecretCipher().DecryptText("Ig==", 1252), "\u00e9");
    EXPECT_EQ(TSecretCipher().EncryptText("abc", 1252), TSecretCipher().Encrypt("abc"));
    EXPECT_EQ(TSecretCipher().DecryptText(TSecretCipher().Encrypt("\xc3\xa9"), 1252),
              "\u00c3\u00a9");
    EXPECT_EQ(TSecretCipher().EncryptText("Ma\u00df\u00a71", 1252),
              TSecretCipher().Encrypt("Ma\xdf\xa7"
                                      "1"));

    const char* const japanese = "\u30d1\u30b9\u30ef\u30fc\u30c9\u00e9";
    EXPECT_EQ(TSecretCipher().EncryptText(japanese, 1252),
              TSecretCipher().Encrypt(std::string("\xef\xbb\xbf") + japanese));
    // Code page text that begins with the mark's bytes is stored marked, so it reads back.
    EXPECT_EQ(TSecretCipher().EncryptText("\u00ef\u00bb\u00bfx", 1252),
              TSecretCipher().Encrypt("\xef\xbb\xbf\xc3\xaf\xc2\xbb\xc2\xbfx"));

    const char* const texts[] = {
        "Ma\u00df\u00a71", "\u00dc\u20ac",           "\u00c2\u20acx", "\u00e6\u2013\u2021",
        "\u6587",          "Gr\u00fc\u00dfe \u6587", japanese,        "\u00ef\u00bb\u00bfx",
        "caf\u00e9"};
    TSecretCipher enc, dec;
    std::vector<std::string> stored;
    for (const char* text : texts)
        stored.push_back(enc.EncryptText(text, 1252));
    for (size_t i = 0; i < stored.size(); ++i)
        EXPECT_EQ(dec.DecryptText(stored[i], 1252), texts[i]) << i;
}
