// SPDX-License-Identifier: MIT
// The game's resource file OrvekLauncher.rc on arbitrary bytes, translated to
// CSS as at start-up. Besides the sanitizers' checks, GTK's CSS parser must
// take the CSS without a complaint: the launcher would print each one as a
// warning. No display is needed.
#include <gtk/gtk.h>
#include <stdint.h>
#include <stdio.h>

#include "rcstyle.h"

static void Rejected(GtkCssProvider *, GtkCssSection *, GError *error, gpointer)
{
    fprintf(stderr, "GTK rejects the CSS: %s\n", error->message);
    __builtin_trap();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static GtkCssProvider *provider = NULL;
    if (!provider)
    {
        provider = gtk_css_provider_new();
        g_signal_connect(provider, "parsing-error", G_CALLBACK(Rejected), NULL);
    }
    gchar *css = RC_Translate("OrvekLauncher.rc", (const gchar *)data, size);
    gtk_css_provider_load_from_data(provider, css, -1, NULL);
    g_free(css);
    return 0;
}
