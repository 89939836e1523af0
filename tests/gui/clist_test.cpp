// SPDX-License-Identifier: MIT
// The lists' signals, which the dialog's handlers rely on and no run shows
// in full: each step of a list's life and the signals it gives, in order.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "clist.h"

namespace {

std::string signals;

void Log(GtkWidget *, gint row, gint, GdkEvent *, gpointer name)
{
    signals += std::string((const char *)name) + " " + std::to_string(row) + "; ";
}

GtkWidget *NewList(gboolean browse)
{
    GtkWidget *list = ListNew(browse);
    g_signal_connect(list, "select_row", G_CALLBACK(Log), (gpointer) "select");
    g_signal_connect(list, "unselect_row", G_CALLBACK(Log), (gpointer) "unselect");
    return list;
}

void Append(GtkWidget *list, int rows)
{
    for (int i = 0; i < rows; i++)
        ListAppend(list, ("row " + std::to_string(i)).c_str());
}

struct Case
{
    const char *what;
    gboolean browse;
    std::function<void(GtkWidget *)> steps;
    const char *expected;
};

}  // namespace

TEST(List, GivesTheSignalsOfEachStep)
{
    const Case cases[] = {
        {"browse: the first row selects itself", TRUE, [](GtkWidget *l) { Append(l, 3); }, "select 0; "},
        {"browse: a new row unselects the old one first", TRUE,
         [](GtkWidget *l) { Append(l, 3); ListSelectRow(l, 2); }, "select 0; unselect 0; select 2; "},
        {"selecting the selected row again", TRUE, [](GtkWidget *l) { Append(l, 3); ListSelectRow(l, 0); },
         "select 0; select 0; "},
        {"single: rows do not select themselves", FALSE, [](GtkWidget *l) { Append(l, 3); }, ""},
        {"removing the selected row reports it", FALSE,
         [](GtkWidget *l) { Append(l, 3); ListSelectRow(l, 1); ListRemove(l, 1); ListRemove(l, 0); },
         "select 1; unselect 1; "},
        {"removing a row above the selected one renumbers it", FALSE,
         [](GtkWidget *l) { Append(l, 3); ListSelectRow(l, 2); ListRemove(l, 0); ListSelectRow(l, 0); },
         "select 2; unselect 1; select 0; "},
        {"clearing reports nothing, and a browse list selects anew", TRUE,
         [](GtkWidget *l) { Append(l, 2); ListClear(l); Append(l, 1); }, "select 0; select 0; "},
        {"a frozen list works as always", TRUE,
         [](GtkWidget *l) { ListFreeze(l); Append(l, 3); ListSelectRow(l, 1); ListThaw(l); },
         "select 0; unselect 0; select 1; "},
    };
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    for (const auto &c : cases)  // each on a new list
    {
        GtkWidget *list = NewList(c.browse);
        g_object_ref_sink(list);
        signals.clear();
        c.steps(list);
        EXPECT_EQ(c.expected, signals) << c.what;
        g_object_unref(list);
    }
}
