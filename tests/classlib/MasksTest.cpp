#include "classlib/base/Masks.h"
#include "classlib/base/Exceptions.h"
#include <gtest/gtest.h>

TEST(Masks, WildcardsAndCase) {
    EXPECT_TRUE(MatchesMask("File.CHK", "*.chk"));
    EXPECT_FALSE(MatchesMask("b.mtdx", "*.mtd"));
    EXPECT_TRUE(MatchesMask("a.mtd", "**.mtd"));
    EXPECT_TRUE(MatchesMask("abc", "a?c"));
    EXPECT_FALSE(MatchesMask("ac", "a?c"));
    EXPECT_TRUE(MatchesMask("index.dat", "INDEX.DAT"));
    EXPECT_TRUE(MatchesMask("aXbXc", "a*b*c"));
    EXPECT_FALSE(MatchesMask("abcd", "a*c"));
    EXPECT_TRUE(MatchesMask("", "*"));
}

TEST(Masks, ExtensionRules) {
    EXPECT_TRUE(MatchesMask("README", "*."));
    EXPECT_FALSE(MatchesMask("read.me", "*."));
    EXPECT_TRUE(MatchesMask("rb001", "rb*."));
    EXPECT_FALSE(MatchesMask("rb001.cab", "rb*."));
    EXPECT_TRUE(MatchesMask("README", "*.*"));
    EXPECT_TRUE(MatchesMask("a.b.c", "*.*"));
    EXPECT_TRUE(MatchesMask("name", "name.*"));
    EXPECT_FALSE(MatchesMask("names", "name.*"));
}

TEST(Masks, Sets) {
    EXPECT_TRUE(MatchesMask("b1", "[abc]1"));
    EXPECT_TRUE(MatchesMask("Q.txt", "[a-z].txt"));
    EXPECT_FALSE(MatchesMask("5.txt", "[a-z].txt"));
    EXPECT_TRUE(MatchesMask("5.txt", "[!a-z].txt"));
    EXPECT_FALSE(MatchesMask("k.txt", "[!a-z].txt"));
    EXPECT_TRUE(MatchesMask("x-", "x[-]"));
    EXPECT_THROW(MatchesMask("a", "[abc"), EMaskException);
    EXPECT_THROW(MatchesMask("zzz", "a*[!x"), EMaskException); // raised whatever the name
}

// "?" and sets stand for a character in any script; case is folded there too.
TEST(Masks, NamesInAnyScript) {
    EXPECT_TRUE(MatchesMask("\u6587\u66f8.lnk", "??.LNK"));
    EXPECT_FALSE(MatchesMask("\u6587\u66f8.lnk", "?.lnk"));
    EXPECT_TRUE(MatchesMask("\u03b1\u03b2\u03b3.txt", "\u0391[\u0392-\u0394]*.TXT"));
    EXPECT_TRUE(MatchesMask("\U0001F600 x.tmp", "? *"));
    EXPECT_TRUE(MatchesMask("\u00c9T\u00c9", "\u00e9t\u00e9."));
}
