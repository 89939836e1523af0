// SPDX-License-Identifier: MIT
/*
 * Floor of a launcher run without its dialog in a large game directory: the
 * no-dialog floor plus the work no launcher can skip there (floor-large-work.h:
 * each plug-in opened once for its modes, the archive folder listed).
 */
#include <SDL.h>
#include <gtk/gtk.h>

#include "floor-large-work.h"

int main(int argc, char *argv[])
{
    gtk_init(&argc, &argv);
    SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO);
    FloorLargeWork();
    SDL_Quit();
    return 0;
}
