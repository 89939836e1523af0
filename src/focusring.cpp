// SPDX-License-Identifier: MIT
// Themes draw the keyboard focus as a faint dotted line in a see-through
// shade of the text's colour, which all but vanishes on a game's dark
// buttons. The launcher draws it as a solid line in the text's own colour:
// that contrasts with the background as the text itself does, in the light
// and dark themes and with whatever colours the game's resource file gives.
// A text box shows it as such a line inside its frame, and its text cursor
// takes the text's colour too (the dialog's, which it would inherit, may be
// that of the box's background).
#include "focusring.h"

#include <gtk/gtk.h>

static const char kFocusCss[] =
    "* { outline-color: currentColor; outline-style: solid; outline-width: 2px; caret-color: currentColor; }\n"
    "checkbutton { outline-offset: -2px; }\n"
    "entry:focus { box-shadow: inset 0 0 0 2px currentColor; }\n";

void FOCUS_Install(void)
{
    GtkCssProvider *provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, kFocusCss, -1, NULL);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}
