// SPDX-License-Identifier: MIT
// The dialog's one-column lists. Each row shows a text and carries a word of
// data; rows are numbered from 0. At most one row is selected, and the
// list's "select_row" and "unselect_row" signals report every change:
// - in browse mode a row is always selected once there is one: the first
//   row appended to a list without a selection selects itself;
// - selecting another row first unselects the old one, so a handler that
//   both signals run sees the new row last; selecting the selected row
//   again runs "select_row" again;
// - removing the selected row reports it unselected while it still exists;
// - clearing the list removes every row without reporting anything.
// The player's clicks and keys select through the same signals: in browse
// mode the keys (Ctrl held or not) and clicks select the row they reach, a
// click on the selected row too; otherwise the keys move the cursor, space
// or a click toggles a row, and a double click selects it. Ctrl+Page Up and
// Ctrl+Page Down are left to the notebook that holds the list. The view
// always shows the list's own selection, with the keyboard's cursor on it.
// The handlers take (GtkWidget *list, gint row, gint column, GdkEvent *event,
// gpointer user_data); column is always 0, event null.
#ifndef ORVEK_CLIST_H
#define ORVEK_CLIST_H

#include <gtk/gtk.h>

// A new, empty list: browse mode keeps one row selected, otherwise the
// player may also leave it with none. Its one column is at least 80 pixels
// wide, its title hidden, and its rows all of one height, so long lists
// cost no measuring.
GtkWidget *ListNew(gboolean browse);
// The widget the hidden column title would show.
void ListSetColumnWidget(GtkWidget *list, GtkWidget *widget);

// The new row's number.
gint ListAppend(GtkWidget *list, const gchar *text);
void ListRemove(GtkWidget *list, gint row);
void ListClear(GtkWidget *list);
gint ListRows(GtkWidget *list);
// Functions that take a row number want one of a row that exists.
// The row's text as appended, byte for byte, to be freed with g_free (it
// is shown as GLib shows a file name where it is not UTF-8).
gchar *ListText(GtkWidget *list, gint row);
void ListSetRowData(GtkWidget *list, gint row, gpointer data);
gpointer ListRowData(GtkWidget *list, gint row);

void ListSelectRow(GtkWidget *list, gint row);

// Between a freeze and its thaw the list is not drawn, so that thousands of
// rows can come and go at the cost of one redisplay; rows, selection and
// signals work as always meanwhile.
void ListFreeze(GtkWidget *list);
void ListThaw(GtkWidget *list);

#endif
