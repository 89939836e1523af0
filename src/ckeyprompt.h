// SPDX-License-Identifier: MIT
// The console-key window's question, drawn inside the window: window
// managers may show no title, and without one the window showed nothing.
#ifndef ORVEK_CKEYPROMPT_H
#define ORVEK_CKEYPROMPT_H

#include <SDL.h>
#include <gtk/gtk.h>

// Draws `text` over the whole of `screen` and shows it, with the dialog's
// background, font and text colour; the text stands in the middle, cut
// short with an ellipsis where it is too wide.
void CKEY_DrawPrompt(SDL_Surface *screen, GtkWidget *dialog, const char *text);

#endif
