// SPDX-License-Identifier: MIT
// The message window of "orvek-launcher --message TEXT": how the start
// script tells a player who started the game from a menu what went wrong.
#include "message.h"

#include <gtk/gtk.h>
#include <string.h>

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
