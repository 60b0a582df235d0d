#include "classlib/base/StringList.h"
#include "classlib/base/Exceptions.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

TEST(StringList, SortedListKeepsOrderAndDuplicateRule) {
    TStringList list;
    list.Sorted = true;
    list.Duplicates = TStringList::dupIgnore;
    for (const char* s : {"pear", "Apple", "banana", "apple"})
        list.Add(s);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0], "Apple");
    EXPECT_EQ(list[2], "pear");
    EXPECT_EQ(list.IndexOf("BANANA"), 1);
    EXPECT_EQ(list.IndexOf("cherry"), -1);
    list.Duplicates = TStringList::dupError;
    EXPECT_THROW(list.Add("PEAR"), EListError);
    EXPECT_THROW(list.Insert(0, "x"), EListError);
}

TEST(StringList, IndexErrorsAndObjects) {
    TStringList list;
    int tag = 5;
    list.Add("a", &tag);
    EXPECT_EQ(list.Objects(0), &tag);
    EXPECT_THROW(list[1], EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
    list.Insert(0, "b");
    list.Exchange(0, 1);
    EXPECT_EQ(list[0], "a");
    EXPECT_EQ(list.Objects(0), &tag);
}

TEST(StringList, NameValuePairs) {
    TStringList list;
    list.SetText("Name=Joe\nCity=Paris=France\nplain\n");
    EXPECT_EQ(list.Values("city"), "Paris=France");
    EXPECT_EQ(list.Names(0), "Name");
    EXPECT_EQ(list.Names(2), "");
    list.SetValue("Name", "Ann");
    EXPECT_EQ(list[0], "Name=Ann");
    list.SetValue("Zip", "123");
    EXPECT_EQ(list[3], "Zip=123");
    list.SetValue("Name", "");
    EXPECT_EQ(list.IndexOfName("Name"), -1);
}

TEST(StringList, TextAndCommaTextRoundTrips) {
    TStringList list;
    list.SetText("one\r\ntwo\rthree\n\nfive");
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list[3], "");
    EXPECT_EQ(list.Text(), "one\r\ntwo\r\nthree\r\n\r\nfive\r\n");

    TStringList items;
    for (const char* s : {"plain", "with blank", "a,b", "say \"hi\"", ""})
        items.Add(s);
    EXPECT_EQ(items.CommaText(), "plain,\"with blank\",\"a,b\",\"say \"\"hi\"\"\",\"\"");
    TStringList back;
    back.SetCommaText(items.CommaText());
    EXPECT_EQ(back.Text(), items.Text());
    back.SetCommaText("a b, c,");
    EXPECT_EQ(back.Text(), "a\r\nb\r\nc\r\n\r\n");
}

TEST(StringList, FileRoundTrip) {
    TTempFolder temp;
    TStringList list;
    list.Add("first");
    list.Add("second");
    list.SaveToFile(temp / "list.txt");
    TStringList back;
    back.LoadFromFile(temp / "list.txt");
    EXPECT_EQ(back.Text(), list.Text());
    EXPECT_THROW(back.LoadFromFile(temp / "missing.txt"), EFOpenError);
}
