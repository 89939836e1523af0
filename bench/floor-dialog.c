// SPDX-License-Identifier: MIT
/*
 * Floor of the launcher's dialog: GTK and SDL brought up as the launcher
 * does, then one window holding one label is shown, so that the toolkit's
 * text and font set-up is paid as by any dialog. It runs until killed; the
 * timer stops at the window's map.
 */
#include <SDL.h>
#include <gtk/gtk.h>

int main(int argc, char *argv[])
{
    gtk_init(&argc, &argv);
    SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO);

    GtkWidget *window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Floor");
    gtk_container_add(GTK_CONTAINER(window), gtk_label_new("Orvek"));
    gtk_widget_show_all(window);
    gtk_main();

    SDL_Quit();
    return 0;
}
