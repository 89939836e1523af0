// SPDX-License-Identifier: MIT
// Where the console-key window opens. On X11, where the dialog and SDL
// share one X server, it opens centred on the dialog and is the dialog's
// transient, which window managers keep above the dialog and near it.
// Elsewhere it goes wherever SDL puts it.
#ifndef ORVEK_CKEYPLACE_H
#define ORVEK_CKEYPLACE_H

#include <gtk/gtk.h>

// Before SDL_SetVideoMode: the next SDL window of width x height pixels
// opens centred on the dialog.
void CKEY_CentreOn(GtkWidget *dialog, int width, int height);

// After SDL_SetVideoMode: SDL's window becomes transient for the dialog.
void CKEY_MakeTransientFor(GtkWidget *dialog);

#endif
