// Floor of a launcher run without its dialog in a large game directory, as
// the targets for large directories compare against it: floor-dialogbuilt
// (GTK, the game's resource file, SDL and the launcher's own dialog built,
// hidden, as every run does) plus the plug-in and folder work of floor-large
// (floor-large-work.h). What the launcher does beyond this program is its
// own: reading its files, filling the lists and restoring the archive choice.
#include <SDL.h>
#include <gtk/gtk.h>
#include <locale.h>

#include "floor-large-work.h"
#include "interface.h"
#include "main.h"
#include "support.h"

int main(int argc, char *argv[])
{
    gtk_set_locale();
    gtk_init(&argc, &argv);
    setlocale(LC_NUMERIC, "POSIX");
    add_pixmap_directory("./pixmaps");
    gtk_rc_parse("./OrvekLauncher.rc");
    SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO);
    WIN_Main = create_WIN_Main();
    FloorLargeWork();
    SDL_Quit();
    return 0;
}
