// SPDX-License-Identifier: MIT
// Entry of the Orvek launcher: show the dialog when the settings ask for it,
// then print the game client's command line for whoever started us.
#include <SDL.h>
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif
#include <limits.h>
#include <locale.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "commandline.h"
#include "focusring.h"
#include "interface.h"
#include "language.h"
#include "launcher.h"
#include "main.h"
#include "message.h"
#include "rcstyle.h"
#include "settings.h"
#include "sound.h"
#include "support.h"

// SDL must use the display GTK opened, which --display may have named
// instead of DISPLAY; and it must never fall back to a driver that draws on
// the terminal, since standard output carries the game's line. A player's
// own choice of SDL driver still counts. On a Wayland desktop SDL takes
// XWayland's display where there is one and Wayland itself otherwise (an
// SDL 1.2 that knows no Wayland then has no window to offer).
static void ChooseSDLDisplay(void)
{
    GdkDisplay *display = gdk_display_get_default();
#ifdef GDK_WINDOWING_X11
    if (GDK_IS_X11_DISPLAY(display))
    {
        setenv("DISPLAY", gdk_display_get_name(display), 1);
        setenv("SDL_VIDEODRIVER", "x11", 0);
        return;
    }
#endif
    setenv("SDL_VIDEODRIVER", getenv("DISPLAY") ? "x11" : "wayland", 0);
}

int main(int argc, char *argv[])
{
    char buffer[ORVEK_PATH_SIZE];

    // Takes GTK's own options and sets the locale from the environment.
    gtk_init(&argc, &argv);
    if (MSG_ShowFromArguments(argc, argv))
        return 0;
    // Settings store and read numbers with "." whatever the player's locale.
    setlocale(LC_NUMERIC, "POSIX");

    strcpy(OrvekDir, ".");
    strcpy(OrvekIniDir, ".");

    strcpy(buffer, OrvekDir);
    AddPath(buffer, "pixmaps");
    add_pixmap_directory(buffer);

    // Every window carries the game's icon, found by name in the icon
    // themes: where the game is installed, under the desktop's data folders
    // or, from the launcher's own folder, under any other prefix (such as
    // /opt/orvek); or in the game directory's own folder "icons", laid out
    // as share/icons is, for a game run in place. Without one the windows
    // have no icon.
    GtkIconTheme *icons = gtk_icon_theme_get_default();
    strcpy(buffer, OrvekDir);
    AddPath(buffer, "icons");
    gtk_icon_theme_append_search_path(icons, buffer);
    char installedIcons[PATH_MAX];
    if (InstallPath(installedIcons, sizeof installedIcons, ORVEK_ICONS_FROM_GAME_DIR))
        gtk_icon_theme_append_search_path(icons, installedIcons);
    gtk_window_set_default_icon_name("orvek");

    strcpy(buffer, OrvekDir);
    AddPath(buffer, "OrvekLauncher.rc");
    RC_Parse(buffer);
    FOCUS_Install();

    // The dialog's texts, and the launcher's messages, in the player's
    // language: the catalogues of a game run in place are in its folder
    // "locale", those of an installed game in its install's locale folder.
    LANG_Init(ORVEK_LOCALE_FROM_GAME_DIR);

    ChooseSDLDisplay();
    SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO);
    RestoreTerminationSignals();

    WIN_Main = create_WIN_Main();
    gtk_window_set_title(GTK_WINDOW(WIN_Main), "Orvek Demo");
    // Whether to pop up lives in the INI file only; the dialog does not
    // offer it, not even to a screen reader as a control to focus.
    GtkWidget *popup = lookup_widget(WIN_Main, "CHECK_Popup");
    gtk_widget_hide(popup);
    gtk_widget_set_can_focus(popup, FALSE);
    gtk_widget_set_sensitive(lookup_widget(WIN_Main, "CHECK_DisableFog"), TRUE);

    InitStartupFiles();

    if (Popup)
        gtk_widget_show(WIN_Main);

    // The selection is what the command line carries, dialog or not.
    FillRenderList(OrvekDir);

    if (Popup)
    {
        SND_Init();
        gtk_main();
        // The dialog has done its part; its widgets still hold the choices.
        gtk_widget_hide(WIN_Main);
    }
    else
    {
        FunctionCode = FUNCTION_LAUNCH;
    }

    if (FunctionCode != FUNCTION_NONE)
    {
        SaveRezList();
        WriteSettings();
        EmitCommandLineForOrvek();
        printf(FunctionCode == FUNCTION_MULTIPLAYER ? "+multiplayer 1\n" : "\n");
    }

    SND_Quit();
    SDL_Quit();
    // The INI cache reaches the disk when it is destroyed after this return.
    return 0;
}
