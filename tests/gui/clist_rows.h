// What a GtkCList shows, for the in-process dialog tests.
#ifndef ORVEK_TEST_CLIST_ROWS_H
#define ORVEK_TEST_CLIST_ROWS_H

#include <gtk/gtk.h>

#include <string>
#include <vector>

// The text of every row, top to bottom.
inline std::vector<std::string> Rows(GtkCList *clist)
{
    std::vector<std::string> rows;
    for (int row = 0; row < clist->rows; row++)
    {
        gchar *text = NULL;
        gtk_clist_get_text(clist, row, 0, &text);
        rows.push_back(text ? text : "(null)");
    }
    return rows;
}

// The selected row, -1 for none.
inline int Selected(GtkCList *clist)
{
    return clist->selection ? GPOINTER_TO_INT(clist->selection->data) : -1;
}

#endif
