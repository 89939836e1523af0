// SPDX-License-Identifier: MIT
// Signal handlers of the dialog: its outcome, the list selections, the
// archive buttons and the console-key capture.
#include "callbacks.h"

#include <string.h>

#include "ckey.h"
#include "clist.h"
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

// GTK tries a window's accelerators before its focus widget, so the plain L,
// M and C shortcuts would end the dialog while the player types a custom
// command line or a number of voices: printable keys without Alt or Ctrl go
// to a focused text box first, and in a text box (even the read-only
// console key) a letter is never a shortcut.
gboolean on_WIN_Main_key_press_event(GtkWidget *widget, GdkEventKey *event, gpointer)
{
    GtkWidget *focus = gtk_window_get_focus(GTK_WINDOW(widget));
    if (!focus || !GTK_IS_ENTRY(focus) || (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) ||
        !g_unichar_isprint(gdk_keyval_to_unicode(event->keyval)))
        return FALSE;
    gtk_window_propagate_key_event(GTK_WINDOW(widget), event);
    return TRUE;
}

// An accelerator acts only on a widget on screen unless told otherwise:
// Alt+F flips full screen from every page of the notebook.
gboolean on_CHECK_Fullscreen_can_activate_accel(GtkWidget *widget, guint, gpointer)
{
    return gtk_widget_is_sensitive(widget);
}

// The free text goes out as part of the game's one command line and is
// stored as one INI line: control characters (a pasted line feed, say)
// become blanks, and the text ends where its INI line would outgrow what the
// reader takes, in the box itself, so that what the player sees is what is
// printed and stored. Text set from the INI file passes here too.
void on_STR_CommandLine_insert_text(GtkEditable *editable, gchar *text, gint length, gint *position, gpointer)
{
    size_t used = strlen(gtk_entry_get_text(GTK_ENTRY(editable)));
    size_t room = used < COMMANDLINE_TEXT_MAX ? COMMANDLINE_TEXT_MAX - used : 0;
    const gchar *end = text + (length < 0 ? strlen(text) : (size_t)length);
    GString *kept = g_string_new(NULL);
    for (const gchar *p = text, *next; p < end; p = next)
    {
        next = MIN(g_utf8_next_char(p), end);
        bool control = g_unichar_iscntrl(g_utf8_get_char(p));
        size_t size = control ? 1 : next - p;
        if (kept->len + size > room)
            break;
        g_string_append_len(kept, control ? " " : p, size);
    }
    if (kept->len != (size_t)(end - text) || memcmp(kept->str, text, kept->len) != 0)
    {
        g_signal_handlers_block_by_func(editable, (gpointer)on_STR_CommandLine_insert_text, NULL);
        gtk_editable_insert_text(editable, kept->str, (gint)kept->len, position);
        g_signal_handlers_unblock_by_func(editable, (gpointer)on_STR_CommandLine_insert_text, NULL);
        g_signal_stop_emission_by_name(editable, "insert_text");
    }
    g_string_free(kept, TRUE);
}

static void EndDialog(int code)
{
    // A number typed into the voices box counts even when a shortcut ends
    // the dialog without taking the focus from it.
    if (GtkWidget *spin = FindDialogWidget("SPIN_Channels"))
        gtk_spin_button_update(GTK_SPIN_BUTTON(spin));
    FunctionCode = code;
    gtk_main_quit();
}

void on_BUT_Run_clicked(GtkButton *, gpointer) { EndDialog(FUNCTION_LAUNCH); }
void on_BUT_Multi_clicked(GtkButton *, gpointer) { EndDialog(FUNCTION_MULTIPLAYER); }
void on_BUT_Cancel_clicked(GtkButton *, gpointer) { EndDialog(FUNCTION_NONE); }

// --- Renderer and resolution lists -----------------------------------------

// Also connected to "unselect_row": a change of row runs it for the old row
// first and then for the new one, so the new row's state is what remains.
void on_CLIST_Renderer_select_row(GtkWidget *, gint row, gint, GdkEvent *, gpointer)
{
    FillResolutionList(row, 1);
    renderindex = row;
}

void on_CLIST_Resolutions_select_row(GtkWidget *clist, gint row, gint, GdkEvent *, gpointer)
{
    guint packed = GPOINTER_TO_UINT(ListRowData(clist, row));
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
static void FollowSelection(GtkWidget *clist, const char *button, int *selected, int row)
{
    GtkWidget *widget = lookup_widget(GTK_WIDGET(clist), button);
    if (widget)
        gtk_widget_set_sensitive(widget, row != -1);
    *selected = row;
}

void on_CLIST_AvailFiles_select_row(GtkWidget *clist, gint row, gint, GdkEvent *, gpointer)
{
    FollowSelection(clist, "BUT_Add", &AvailRow, row);
}

void on_CLIST_AvailFiles_unselect_row(GtkWidget *clist, gint, gint, GdkEvent *, gpointer)
{
    FollowSelection(clist, "BUT_Add", &AvailRow, -1);
}

void on_CLIST_LoadFiles_select_row(GtkWidget *clist, gint row, gint, GdkEvent *, gpointer)
{
    FollowSelection(clist, "BUT_Rem", &LoadRow, row);
}

void on_CLIST_LoadFiles_unselect_row(GtkWidget *clist, gint, gint, GdkEvent *, gpointer)
{
    FollowSelection(clist, "BUT_Rem", &LoadRow, -1);
}

// The move leaves the pressed button insensitive, as its list has no
// selected row any more. A button that had the keyboard's focus would lose
// it to nothing: the list that now holds the moved archive takes it.
static void MoveArchive(GtkButton *button, int row, int add)
{
    gboolean focused = gtk_widget_has_focus(GTK_WIDGET(button));
    AddRezEntryToList(row, add);
    GtkWidget *target = lookup_widget(GTK_WIDGET(button), add ? "CLIST_LoadFiles" : "CLIST_AvailFiles");
    if (focused && target)
        gtk_widget_grab_focus(target);
}

void on_BUT_Add_clicked(GtkButton *button, gpointer)
{
    if (AvailRow != -1)
        MoveArchive(button, AvailRow, 1);
}

void on_BUT_Rem_clicked(GtkButton *button, gpointer)
{
    if (LoadRow != -1)
        MoveArchive(button, LoadRow, 0);
}
