// Expected texts come from the openssl command line tool with the same key and IV:
//   K=$(printf zuzazazod | openssl dgst -sha1 -binary | xxd -p)00000000
//   IV=$(head -c16 /dev/zero | openssl enc -aes-192-ecb -K $K -nopad | xxd -p)
//   printf secret | openssl enc -aes-192-cfb8 -K $K -iv $IV | base64
// Chained values are slices of one openssl run over their concatenation.
#include "engine/settings/SecretCipher.h"
#include "classlib/base/Exceptions.h"
#include <gtest/gtest.h>

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
// file store it; one that does not goes as UTF-8, and each reads back as it was.
TEST(SecretCipher, TextsGoInTheCodePageWhenTheyFitElseInUtf8) {
    EXPECT_EQ(TSecretCipher().EncryptText("\u00e9", 1252), "Ig==");
    EXPECT_EQ(TSecretCipher().DecryptText("Ig==", 1252), "\u00e9");
    EXPECT_EQ(TSecretCipher().EncryptText("abc", 1252), TSecretCipher().Encrypt("abc"));
    // Valid UTF-8 of a text that fits the code page was code page bytes all along.
    EXPECT_EQ(TSecretCipher().DecryptText(TSecretCipher().Encrypt("\xc3\xa9"), 1252),
              "\u00c3\u00a9");

    const char* const japanese = "\u30d1\u30b9\u30ef\u30fc\u30c9\u00e9";
    EXPECT_EQ(TSecretCipher().EncryptText(japanese, 1252), TSecretCipher().Encrypt(japanese));
    TSecretCipher enc, dec;
    const std::string first = enc.EncryptText(japanese, 1252);
    const std::string second = enc.EncryptText("caf\u00e9", 1252);
    EXPECT_EQ(dec.DecryptText(first, 1252), japanese);
    EXPECT_EQ(dec.DecryptText(second, 1252), "caf\u00e9");
}
