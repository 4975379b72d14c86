#include "framework/portable/recordfile.h"
#include "framework/portable/streams.h"
#include "framework/portable/stringlist.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace kova {
namespace {

using Lines = std::vector<std::string>;

TEST(StringList, SortedAddFindAndDuplicates) {
    TStringList l;
    l.SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig", "apple", "banana"}) l.Add(s);
    // Not case-sensitive by default: "apple" is a duplicate of "Apple".
    EXPECT_EQ(l.ToVector(), (Lines{"Apple", "banana", "fig", "pear"}));
    int i = -1;
    EXPECT_TRUE(l.Find("FIG", i));
    EXPECT_EQ(i, 2);
    EXPECT_FALSE(l.Find("cherry", i));
    EXPECT_EQ(i, 2);  // where it would go
    EXPECT_EQ(l.Add("APPLE"), 0);  // dupIgnore: the index of the one already there
    EXPECT_EQ(l.Count(), 4);

    l.SetDuplicates(dupAccept);
    EXPECT_EQ(l.Add("Fig"), 2);
    EXPECT_EQ(l.Count(), 5);
    l.SetDuplicates(dupError);
    EXPECT_THROW(l.Add("pear"), EStringListError);
    EXPECT_EQ(l.Count(), 5);

    // Positions are the list's business when it is sorted.
    EXPECT_THROW(l.Insert(0, "zzz"), EStringListError);
    EXPECT_THROW(l.SetStrings(0, "zzz"), EStringListError);

    // A dupError assignment with duplicates leaves the list as it was.
    EXPECT_THROW(l.Assign(Lines{"x", "X"}), EStringListError);
    EXPECT_EQ(l.Count(), 5);
}

TEST(StringList, CaseSensitiveOption) {
    TStringList l;
    l.Assign(Lines{"b", "B", "a", "A"});
    EXPECT_EQ(l.IndexOf("B"), 0);  // "b" matches first while case is ignored
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf("B"), 1);
    EXPECT_EQ(l.IndexOf("c"), -1);
    l.SetSorted(true);  // byte order: capitals first
    EXPECT_EQ(l.ToVector(), (Lines{"A", "B", "a", "b"}));
    int i = -1;
    EXPECT_TRUE(l.Find("a", i));
    EXPECT_EQ(i, 2);
    // Switching the rule re-sorts (stable: "A" stays before "a").
    l.SetCaseSensitive(false);
    EXPECT_EQ(l.ToVector(), (Lines{"A", "a", "B", "b"}));
}

TEST(StringList, ObjectsTravelWithTheirStrings) {
    TStringList inner1, inner2;
    TStringList l;
    l.SetSorted(true);
    l.AddObject("zeta", &inner1);
    l.AddObject("alpha", &inner2);
    EXPECT_EQ(l.Objects(0), &inner2);
    EXPECT_EQ(l.Objects(1), &inner1);
    EXPECT_EQ(l.IndexOfObject(&inner1), 1);
    l.Delete(0);
    EXPECT_EQ(l.Objects(0), &inner1);
    TStringList copy;
    copy.Assign(&l);
    EXPECT_EQ(copy.Objects(0), &inner1);
    EXPECT_THROW(l.Objects(5), EStringListError);
    EXPECT_THROW(l.Strings(-1), EStringListError);
    l.Delete(7);  // out of range: nothing happens
    EXPECT_EQ(l.Count(), 1);
}

TEST(StringList, NameValuePairs) {
    TStringList l;
    l.SetText("Left=10\r\nTop=\r\nno pair\r\nTitle=a=b\r\n");
    EXPECT_EQ(l.IndexOfName("top"), 1);
    EXPECT_EQ(l.IndexOfName("no pair"), -1);
    EXPECT_EQ(l.Values("LEFT"), "10");
    EXPECT_EQ(l.Values("Title"), "a=b");  // split at the first '='
    EXPECT_EQ(l.Values("Missing"), "");
    EXPECT_EQ(l.Names(3), "Title");
    EXPECT_EQ(l.ValueFromIndex(0), "10");
    l.SetValues("Left", "20");
    l.SetValues("Width", "300");
    l.SetValues("Top", "");  // an empty value removes the pair
    EXPECT_EQ(l.ToVector(), (Lines{"Left=20", "no pair", "Title=a=b", "Width=300"}));
}

TEST(StringList, TextSplitsAtAnyLineBreak) {
    struct Case {
        const char* text;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\nb", {"a", "", "b"}},
    };
    for (const Case& c : cases) {
        TStringList l;
        l.SetText(c.text);
        EXPECT_EQ(l.ToVector(), c.lines) << c.text;
    }
    TStringList l;
    l.Assign(Lines{"x", "", "y"});
    EXPECT_EQ(l.Text(), "x\r\n\r\ny\r\n");
}

TEST(StringList, CommaTextRoundTripsAndQuotes) {
    TStringList l;
    l.Assign(Lines{"plain", "two words", "a,b", "say \"hi\"", ""});
    EXPECT_EQ(l.CommaText(), R"(plain,"two words","a,b","say ""hi""","")");
    TStringList back;
    back.SetCommaText(l.CommaText());
    EXPECT_EQ(back.ToVector(), l.ToVector());
    // Unquoted blanks separate too; "a," ends with an empty item.
    back.SetCommaText("  one two , \"three\",");
    EXPECT_EQ(back.ToVector(), (Lines{"one", "two", "three", ""}));
    back.SetCommaText("");
    EXPECT_EQ(back.Count(), 0);
}

TEST(StringList, OnChangeFiresForEveryEdit) {
    TStringList l;
    int changes = 0;
    l.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &l);
        ++changes;
    };
    l.Add("a");
    l.Insert(0, "b");
    l.SetStrings(1, "c");
    l.Delete(0);
    l.Clear();
    l.Clear();  // already empty: no change
    EXPECT_EQ(changes, 5);
}

class StringListFile : public ::testing::Test {
protected:
    void TearDown() override { std::remove(name.c_str()); }
    std::string name = ::testing::TempDir() + "kova_stringlist_test.txt";
};

TEST_F(StringListFile, SaveAndLoadRoundTrip) {
    TStringList l;
    l.Assign(Lines{"[Main]", "Left=5", "", "last"});
    l.SaveToFile(name);
    TStringList back;
    back.Add("old");
    back.LoadFromFile(name);
    EXPECT_EQ(back.ToVector(), l.ToVector());

    TMemoryStream m;
    l.SaveToStream(m);
    EXPECT_EQ(std::string(m.Bytes().begin(), m.Bytes().end()), "[Main]\r\nLeft=5\r\n\r\nlast\r\n");
    m.SetPosition(8);  // from the position on
    back.LoadFromStream(m);
    EXPECT_EQ(back.ToVector(), (Lines{"Left=5", "", "last"}));
}

TEST_F(StringListFile, MissingFileThrowsAndKeepsTheList) {
    std::remove(name.c_str());
    TStringList l;
    l.Add("kept");
    EXPECT_THROW(l.LoadFromFile(name), EFOpenError);
    EXPECT_EQ(l.ToVector(), (Lines{"kept"}));
    EXPECT_THROW(l.SaveToFile(::testing::TempDir() + "no such folder/x.txt"), EFOpenError);
}

// --- record file stream ---------------------------------------------------

class RecordFile : public ::testing::Test {
protected:
    void TearDown() override { std::remove(name.c_str()); }
    void WriteBytes(std::size_t n) {
        TFileStream f(name, fmCreate);
        for (std::size_t i = 0; i < n; ++i) f.WriteU8(static_cast<std::uint8_t>(i));
    }
    std::string name = ::testing::TempDir() + "kova_record_test.dat";
};

TEST_F(RecordFile, ReadsWholeRecordsByIndex) {
    WriteBytes(12);
    TRecordFileStream r(name, 4);
    EXPECT_EQ(r.RecordCount(), 3);
    EXPECT_EQ(r.ReadRecord(2), (std::vector<std::uint8_t>{8, 9, 10, 11}));
    EXPECT_EQ(r.ReadRecord(0), (std::vector<std::uint8_t>{0, 1, 2, 3}));
    for (std::int64_t bad : {std::int64_t{-1}, std::int64_t{3}, std::int64_t{1} << 40})
        EXPECT_THROW(r.ReadRecord(bad), EStreamError) << bad;
    EXPECT_THROW(r.WriteU8(1), EStreamError);
}

TEST_F(RecordFile, RefusesPartialRecordsAndMissingFiles) {
    WriteBytes(10);
    try {
        TRecordFileStream r(name, 4);
        ADD_FAILURE() << "a 10-byte file of 4-byte records was accepted";
    } catch (const EStreamError& e) {
        EXPECT_NE(std::string(e.what()).find("whole number of 4-byte records"), std::string::npos) << e.what();
    }
    EXPECT_THROW(TRecordFileStream(name, 0), EStreamError);
    WriteBytes(0);
    EXPECT_EQ(TRecordFileStream(name, 4).RecordCount(), 0);
    std::remove(name.c_str());
    EXPECT_THROW(TRecordFileStream(name, 4), EFOpenError);
}

}  // namespace
}  // namespace kova
