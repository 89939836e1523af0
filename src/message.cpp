// SPDX-License-Identifier: MIT
// Error windows for a player without a terminal: the start script's
// "orvek-launcher --message TEXT", and choices that could not be saved.
#include "message.h"

#include <gtk/gtk.h>
#include <string.h>

#include "language.h"
#include "main.h"
#include "savefile.h"

void MSG_Show(const char *text)
{
    GtkWidget *dialog = gtk_message_dialog_new(NULL, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                               GTK_BUTTONS_CLOSE, "%s", text);
    gtk_window_set_title(GTK_WINDOW(dialog), "Orvek");
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

int MSG_ShowFromArguments(int argc, char *argv[])
{
    if (argc != 3 || strcmp(argv[1], "--message") != 0)
        return 0;
    MSG_Show(argv[2]);
    return 1;
}

void MSG_TellNotSaved(void)
{
    if (!Popup || FunctionCode == FUNCTION_NONE || !*NotSaved())
        return;
    // The lines themselves stay as standard error has them.
    gchar *text = g_strdup_printf(_("Your choices could not be saved. The game starts with them now, but its next "
                                    "start will not know them.\n\n%s"),
                                  NotSaved());
    MSG_Show(text);
    g_free(text);
}
