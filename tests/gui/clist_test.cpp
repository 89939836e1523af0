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

// Clicks reach only the list's handlers: the view's own would want a
// pointer device, and a handler that says a click is handled keeps them
// from running.
GtkWidget *NewList(gboolean browse)
{
    GtkWidget *list = ListNew(browse);
    g_signal_connect(list, "select_row", G_CALLBACK(Log), (gpointer) "select");
    g_signal_connect(list, "unselect_row", G_CALLBACK(Log), (gpointer) "unselect");
    g_signal_connect(list, "button-press-event", G_CALLBACK(gtk_true), NULL);
    g_signal_connect(list, "button-release-event", G_CALLBACK(gtk_true), NULL);
    return list;
}

void Append(GtkWidget *list, int rows)
{
    for (int i = 0; i < rows; i++)
        ListAppend(list, ("row " + std::to_string(i)).c_str());
}

// A path's row number ("" for none); the path is freed.
std::string RowOf(GtkTreePath *path)
{
    std::string row = path ? std::to_string(gtk_tree_path_get_indices(path)[0]) : "";
    gtk_tree_path_free(path);
    return row;
}

// The row the view shows selected, and the one its cursor is on.
std::string Shown(GtkWidget *list)
{
    GtkTreeModel *model;
    GtkTreeIter iter;
    GtkTreePath *cursor;
    gtk_tree_view_get_cursor(GTK_TREE_VIEW(list), &cursor, NULL);
    bool selected = gtk_tree_selection_get_selected(gtk_tree_view_get_selection(GTK_TREE_VIEW(list)), &model, &iter);
    return "shown " + RowOf(selected ? gtk_tree_model_get_path(model, &iter) : NULL) + " cursor " + RowOf(cursor);
}

// A key as the list's own key handler gets it.
void Key(GtkWidget *list, guint keyval)
{
    GdkEventKey event = {};
    event.type = GDK_KEY_PRESS;
    event.keyval = keyval;
    gboolean handled;
    g_signal_emit_by_name(list, "key-press-event", &event, &handled);
}

// Button events on a row as the list's own handlers get them, one letter
// each: "p" a press, "d" a double click's second press once more as such,
// "r" a release. A click is "pr", a double click "prpdr".
void Click(GtkWidget *list, gint row, const char *events = "pr", guint button = 1)
{
    GdkRectangle area;
    GtkTreePath *path = gtk_tree_path_new_from_indices(row, -1);
    gtk_tree_view_get_cell_area(GTK_TREE_VIEW(list), path, NULL, &area);
    gtk_tree_path_free(path);
    GdkEventButton event = {};
    event.button = button, event.x = area.x + 1, event.y = area.y + 1;
    gboolean handled;
    for (const char *e = events; *e; e++)
    {
        event.type = *e == 'p' ? GDK_BUTTON_PRESS : *e == 'd' ? GDK_2BUTTON_PRESS : GDK_BUTTON_RELEASE;
        g_signal_emit_by_name(list, *e == 'r' ? "button-release-event" : "button-press-event", &event, &handled);
    }
}

struct Case
{
    const char *what;
    gboolean browse;
    std::function<void(GtkWidget *)> steps;
    const char *expected;
};

// Each case on a new list: the signals its steps give, and with `shown` (the
// list in a window, laid out, with three rows first) what the view then shows.
template <size_t N> void Check(const Case (&cases)[N], bool shown)
{
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    for (const auto &c : cases)
    {
        GtkWidget *window = gtk_window_new(GTK_WINDOW_TOPLEVEL), *list = NewList(c.browse);
        gtk_container_add(GTK_CONTAINER(window), list);
        if (shown)
        {
            gtk_widget_show_all(window);
            Append(list, 3);
            while (gtk_events_pending())  // laid out, so that a click finds its row
                gtk_main_iteration();
        }
        signals.clear();
        c.steps(list);
        EXPECT_EQ(c.expected, shown ? signals + Shown(list) : signals) << c.what;
        gtk_widget_destroy(window);
    }
}

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
    Check(cases, false);
}

// What the view shows follows the list, its cursor on the selected row (none
// shown once the selected row is gone); space and a click toggle a row of a
// list outside browse mode, where a double click selects it; a click on a
// browse list reports its row, the selected one too; another button's, or a
// release on a row that the press was not on, does nothing. (Keys and
// clicks are pressed for real in the golden cases.)
TEST(List, TheViewFollowsTheSelection)
{
    const Case cases[] = {
        {"browse", TRUE, [](GtkWidget *l) { ListSelectRow(l, 1); }, "unselect 0; select 1; shown 1 cursor 1"},
        {"single: space toggles", FALSE,
         [](GtkWidget *l) { ListSelectRow(l, 2); Key(l, GDK_KEY_space); }, "select 2; unselect 2; shown  cursor 2"},
        {"single: space selects", FALSE,
         [](GtkWidget *l) { ListSelectRow(l, 2); Key(l, GDK_KEY_space); Key(l, GDK_KEY_KP_Space); },
         "select 2; unselect 2; select 2; shown 2 cursor 2"},
        {"single: a click toggles", FALSE,
         [](GtkWidget *l) { Click(l, 1); Click(l, 2); Click(l, 2); }, "select 1; unselect 1; select 2; unselect 2; shown  cursor 2"},
        {"single: a double click selects", FALSE, [](GtkWidget *l) { Click(l, 1, "prpdr"); Click(l, 2, "prpdr"); },
         "select 1; select 1; unselect 1; select 2; select 2; shown 2 cursor 2"},
        {"browse: a click selects, also the selected row again", TRUE,
         [](GtkWidget *l) { Click(l, 1); Click(l, 1); }, "unselect 0; select 1; select 1; shown 1 cursor 1"},
        {"browse: another button's click does nothing", TRUE, [](GtkWidget *l) { Click(l, 2, "pr", 3); },
         "shown 0 cursor 0"},
        {"single: a release without a press on its row does nothing", FALSE,
         [](GtkWidget *l) { Click(l, 0, "r"); Click(l, 2, "p"); Click(l, 1, "r"); }, "shown  cursor "},
        {"single: removing the selected row shows none", FALSE,
         [](GtkWidget *l) { ListSelectRow(l, 1); ListRemove(l, 1); }, "select 1; unselect 1; shown  cursor 1"},
        {"thawing shows the selection", FALSE,
         [](GtkWidget *l) { ListFreeze(l); ListSelectRow(l, 2); ListThaw(l); }, "select 2; shown 2 cursor 2"},
    };
    Check(cases, true);
}
