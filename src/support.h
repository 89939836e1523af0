// SPDX-License-Identifier: MIT
// Finding dialog widgets by name, and loading the dialog's XPM images.
#ifndef ORVEK_SUPPORT_H
#define ORVEK_SUPPORT_H

#include <gtk/gtk.h>

// The widget registered under `widget_name` on the toplevel that holds
// `widget`; null (with a warning) when there is none.
GtkWidget *lookup_widget(GtkWidget *widget, const gchar *widget_name);

// The dialog's widget of that name: lookup_widget on WIN_Main, or null
// while the dialog is not built yet.
GtkWidget *FindDialogWidget(const gchar *widget_name);

// Prepends a directory to the list searched by create_pixmap.
void add_pixmap_directory(const gchar *directory);

// A new image widget showing `filename`, or a transparent one-pixel stand-in
// when the file cannot be found or read. Never null.
GtkWidget *create_pixmap(GtkWidget *widget, const gchar *filename);

#endif
