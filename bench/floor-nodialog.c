// SPDX-License-Identifier: MIT
/*
 * Floor of a launcher run without its dialog: what any GTK 3 + SDL launcher
 * must do before it can print a command line. GTK and SDL are brought up and
 * down exactly as the launcher does; nothing else happens.
 */
#include <SDL.h>
#include <gtk/gtk.h>
#include <stdio.h>

int main(int argc, char *argv[])
{
    gtk_init(&argc, &argv);
    SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO);
    printf("./client\n");
    SDL_Quit();
    return 0;
}
