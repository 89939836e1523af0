// SPDX-License-Identifier: MIT
// The console-key window's place. SDL 1.2 (and sdl12-compat) read the
// window's position from the environment when SDL_SetVideoMode opens the
// window; the transient hint goes on SDL's window through SDL's own
// connection to the X server.
#include "ckeyplace.h"

#ifdef GDK_WINDOWING_X11

#include <SDL.h>
#include <SDL_syswm.h>
#include <gdk/gdkx.h>
#include <stdio.h>
#include <stdlib.h>

// The dialog's X window, or null where the dialog is not on X11.
static GdkWindow *DialogX11Window(GtkWidget *dialog)
{
    GdkWindow *window = gtk_widget_get_window(dialog);
    return GDK_IS_X11_WINDOW(window) ? window : NULL;
}

void CKEY_CentreOn(GtkWidget *dialog, int width, int height)
{
    GdkWindow *window = DialogX11Window(dialog);
    if (!window)
        return;
    // GTK counts in the dialog's own pixels, SDL in the screen's.
    int x, y, scale = gdk_window_get_scale_factor(window);
    gdk_window_get_origin(window, &x, &y);
    char position[32];
    snprintf(position, sizeof position, "%d,%d", x * scale + (gdk_window_get_width(window) * scale - width) / 2,
             y * scale + (gdk_window_get_height(window) * scale - height) / 2);
    setenv("SDL_VIDEO_WINDOW_POS", position, 1);
}

void CKEY_MakeTransientFor(GtkWidget *dialog)
{
    GdkWindow *window = DialogX11Window(dialog);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    // A player's own choice of SDL video driver may have no X window.
    if (!window || SDL_GetWMInfo(&info) != 1 || info.subsystem != SDL_SYSWM_X11)
        return;
    // The window manager manages SDL's outer window; SDL 1.2 draws into a
    // child of it. The hint goes out with SDL's next request, the caption.
    info.info.x11.lock_func();
    XSetTransientForHint(info.info.x11.display, info.info.x11.wmwindow, gdk_x11_window_get_xid(window));
    info.info.x11.unlock_func();
}

#else

void CKEY_CentreOn(GtkWidget *, int, int)
{
}

void CKEY_MakeTransientFor(GtkWidget *)
{
}

#endif
