// Signal handlers of the dialog: its outcome, the list selections, the
// archive buttons and the console-key capture.
#include "callbacks.h"

#include "ckey.h"
#include "launcher.h"
#include "main.h"
#include "settings.h"
#include "support.h"

// --- Ending the dialog ------------------------------------------------------

// Closing the window quits without an outcome; returning FALSE lets GTK
// destroy the window as usual.
gboolean on_WIN_Main_delete_event(GtkWidget *, GdkEvent *, gpointer)
{
    gtk_main_quit();
    return FALSE;
}

gboolean on_WIN_Main_destroy_event(GtkWidget *widget, GdkEvent *event, gpointer user_data)
{
    return on_WIN_Main_delete_event(widget, event, user_data);
}

// GTK 2 tries a window's accelerators before its focus widget, so the plain
// L, M and C shortcuts would end the dialog while the player types a custom
// command line. Printable keys without Alt or Ctrl go to a focused editable
// entry first, as they did when these shortcuts were designed.
gboolean on_WIN_Main_key_press_event(GtkWidget *widget, GdkEventKey *event, gpointer)
{
    GtkWidget *focus = GTK_WINDOW(widget)->focus_widget;
    if (!focus || !GTK_IS_ENTRY(focus) || !gtk_editable_get_editable(GTK_EDITABLE(focus)))
        return FALSE;
    if ((event->state & (GDK_MOD1_MASK | GDK_CONTROL_MASK)) || gdk_keyval_to_unicode(event->keyval) == 0)
        return FALSE;
    gtk_window_propagate_key_event(GTK_WINDOW(widget), event);
    return TRUE;
}

static void EndDialog(int code)
{
    FunctionCode = code;
    gtk_main_quit();
}

void on_BUT_Run_clicked(GtkButton *, gpointer) { EndDialog(FUNCTION_LAUNCH); }
void on_BUT_Multi_clicked(GtkButton *, gpointer) { EndDialog(FUNCTION_MULTIPLAYER); }
void on_BUT_Cancel_clicked(GtkButton *, gpointer) { EndDialog(FUNCTION_NONE); }

// --- Renderer and resolution lists -----------------------------------------

// Also connected to "unselect_row": a change of row runs it for the old row
// first and then for the new one, so the new row's state is what remains.
void on_CLIST_Renderer_select_row(GtkCList *, gint row, gint, GdkEvent *, gpointer)
{
    FillResolutionList(row, 1);
    renderindex = row;
}

void on_CLIST_Resolutions_select_row(GtkCList *clist, gint row, gint, GdkEvent *, gpointer)
{
    guint packed = GPOINTER_TO_UINT(gtk_clist_get_row_data(clist, row));
    // 0 is a row whose data is not set yet: the list selects its first row by
    // itself while it is being appended.
    if (packed == 0)
        return;
    renderheight = packed & 0xFFFF;
    renderwidth = packed >> 16;
}

// --- Console key ------------------------------------------------------------

void on_BUT_ConsoleKey_clicked(GtkButton *, gpointer)
{
    int key = GetCKey();
    if (key != -1)
        SetConsoleKey(key);
}

// --- Archive lists ------------------------------------------------------------

// A list's button works exactly while the list has a selected row, and the
// row variable follows the selection (-1 for none).
static void FollowSelection(GtkCList *clist, const char *button, int *selected, int row)
{
    GtkWidget *widget = lookup_widget(GTK_WIDGET(clist), button);
    if (widget)
        gtk_widget_set_sensitive(widget, row != -1);
    *selected = row;
}

void on_CLIST_AvailFiles_select_row(GtkCList *clist, gint row, gint, GdkEvent *, gpointer)
{
    FollowSelection(clist, "BUT_Add", &AvailRow, row);
}

void on_CLIST_AvailFiles_unselect_row(GtkCList *clist, gint, gint, GdkEvent *, gpointer)
{
    FollowSelection(clist, "BUT_Add", &AvailRow, -1);
}

void on_CLIST_LoadFiles_select_row(GtkCList *clist, gint row, gint, GdkEvent *, gpointer)
{
    FollowSelection(clist, "BUT_Rem", &LoadRow, row);
}

void on_CLIST_LoadFiles_unselect_row(GtkCList *clist, gint, gint, GdkEvent *, gpointer)
{
    FollowSelection(clist, "BUT_Rem", &LoadRow, -1);
}

void on_BUT_Add_clicked(GtkButton *, gpointer)
{
    if (AvailRow != -1)
        AddRezEntryToList(AvailRow, 1);
}

void on_BUT_Rem_clicked(GtkButton *, gpointer)
{
    if (LoadRow != -1)
        AddRezEntryToList(LoadRow, 0);
}
