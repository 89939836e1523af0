// SPDX-License-Identifier: MIT
// Reference beside the no-dialog floor: that floor plus what the launcher
// does on every run, dialog or not, before it reads any of the game's files:
// it translates the game's resource file into the toolkit's style sheet and
// builds its whole dialog, hidden, with the launcher's own code and in the
// launcher's order. The launcher's distance from this program is what its
// own reading, plug-in and writing work costs.
//
// Built a second time with FLOOR_LARGE_WORK as floor-largebuilt, the floor
// for large game directories: the same plus the plug-in and folder work of
// floor-large (floor-large-work.h). What the launcher does beyond that is
// its own: reading its files, filling the lists and restoring the archives.
#include <SDL.h>
#include <gtk/gtk.h>
#include <locale.h>
#include <stdio.h>

#include "interface.h"
#include "main.h"
#include "rcstyle.h"
#include "support.h"
#ifdef FLOOR_LARGE_WORK
#include "floor-large-work.h"
#endif

int main(int argc, char *argv[])
{
    gtk_init(&argc, &argv);
    setlocale(LC_NUMERIC, "POSIX");
    add_pixmap_directory("./pixmaps");
    RC_Parse("./OrvekLauncher.rc");
    SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO);
    WIN_Main = create_WIN_Main();
#ifdef FLOOR_LARGE_WORK
    FloorLargeWork();
#else
    printf("./client\n");
#endif
    SDL_Quit();
    return 0;
}
