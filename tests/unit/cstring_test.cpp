// SPDX-License-Identifier: MIT
// The owning string: "no text" versus "", assignments that never lose text,
// and the fixed-capacity list. Format is checked against the C library by
// its fuzzer, and its messages show in the golden cases.
#include <gtest/gtest.h>
#include <string>

#include "CString.h"

static const char *Text(const CString &s) { return s; }

TEST(CString, KeepsNoTextApartFromEmptyTextAndNeverLosesText)
{
    CString none, copied(none), blank, s("abc"), other(s);
    blank = "";
    EXPECT_EQ(nullptr, Text(copied));
    EXPECT_STREQ("", Text(blank));
    EXPECT_TRUE(none.IsEmpty() && blank.IsEmpty() && !s.IsEmpty());

    s = (const char *)nullptr;
    s = none;
    s = Text(s);  // its own text: copied before the old array is released
    other = "xyz";
    EXPECT_STREQ("abc", Text(s));
    s.Empty();
    EXPECT_EQ(nullptr, Text(s));

    none += nullptr;
    EXPECT_STREQ("", Text(none));
    none += "ab";
    none += "c";
    EXPECT_STREQ("abc", Text(none));
}

// The launcher never uses the list; this is the little the library promises
// of it: 256 strings at most, read from position 1 on, and counted.
TEST(CStringList, KeepsAtMost256InOrder)
{
    CStringList list;
    for (int i = 0; i < 300; i++)
        list.AddTail(std::to_string(i).c_str());
    int seen = 0;
    for (POSITION pos = 1; pos != 0; seen++)
        EXPECT_EQ(std::to_string(seen), Text(list.GetNext(pos)));
    EXPECT_EQ(256, seen);
    EXPECT_EQ(256, list.GetCount());
}
