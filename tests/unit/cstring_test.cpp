// SPDX-License-Identifier: MIT
// The owning string: "no text" versus "", assignments that never lose text,
// bounded formatting, and the fixed-capacity list.
#include <gtest/gtest.h>
#include <stdio.h>
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

TEST(CString, FormatGivesWhatPrintfGivesWithinItsBuffer)
{
    char expected[64];
    snprintf(expected, sizeof expected, "%d|%5.2f|%-4s|%x", 42, 3.14159, "ab", 255);
    CString s, t;
    s.Format("%d|%5.2f|%-4s|%x", 42, 3.14159, "ab", 255);
    t.Format("%s", "other");  // the shared scratch buffer is not kept
    EXPECT_STREQ(expected, Text(s));

    std::string longText(20000, 'x');
    s.Format("<%s>", longText.c_str());
    EXPECT_EQ("<" + longText.substr(0, 10238), Text(s));
}

TEST(CStringList, KeepsAtMost256InOrder)
{
    CStringList list;
    EXPECT_EQ(0, list.GetHeadPosition());
    for (int i = 0; i < 300; i++)
        list.AddTail(std::to_string(i).c_str());
    ASSERT_EQ(256, list.GetCount());
    int seen = 0;
    for (POSITION pos = list.GetHeadPosition(); pos != 0; seen++)
        EXPECT_EQ(std::to_string(seen), Text(list.GetNext(pos)));
    EXPECT_EQ(256, seen);
}
