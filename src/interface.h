// SPDX-License-Identifier: MIT
// Builds the launcher's dialog.
#ifndef ORVEK_INTERFACE_H
#define ORVEK_INTERFACE_H

#include <gtk/gtk.h>

// Builds the whole dialog, every widget registered on the window by its
// name and all signals connected; the window itself is not shown.
GtkWidget *create_WIN_Main(void);

#endif
