// SPDX-License-Identifier: MIT
// A game's look comes in a GTK resource file, OrvekLauncher.rc: styles that
// set colours (bg, fg, base, text, per state) and a font, given to the
// widgets whose path of names matches a "widget" line's pattern. GTK no
// longer reads such files; this module translates them into CSS.
#ifndef ORVEK_RCSTYLE_H
#define ORVEK_RCSTYLE_H

#include <gtk/gtk.h>

// Reads the file and installs its styles for every window of the program.
// A missing file is no error; anything in it that cannot be translated is
// skipped with one warning naming it.
void RC_Parse(const char *filename);

// The CSS for the text of a resource file (`length` bytes), which GTK reads
// without a complaint, to be freed with g_free; the warnings name the file
// `filename`. Its styles replace those of any earlier text for RC_Apply.
gchar *RC_Translate(const char *filename, const gchar *text, gsize length);

// Gives each widget of the window the styles whose patterns its path
// (the window's name, then each widget's name down to it, joined by ".")
// matches, later lines of the file taking precedence.
void RC_Apply(GtkWidget *window);

#endif
