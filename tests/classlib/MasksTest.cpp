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
