// Expected texts come from the openssl command line tool with the same key and IV:
//   K=$(printf zuzazazod | openssl dgst -sha1 -binary | xxd -p)00000000
//   IV=$(head -c16 /dev/zero | openssl enc -aes-192-ecb -K $K -nopad | xxd -p)
//   printf secret | openssl enc -aes-192-cfb8 -K $K -iv $IV | base64
// Chained values are slices of one openssl run over their concatenation.
#include "engine/settings/SecretCipher.h"
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
    EXPECT_EQ(dec.Decrypt("uGv"), "");      // length not a multiple of four
    EXPECT_EQ(dec.Decrypt("uG=XPwlZ"), ""); // padding inside the text
    EXPECT_EQ(dec.Decrypt("uGvXPwlZ"), "secret");
}
