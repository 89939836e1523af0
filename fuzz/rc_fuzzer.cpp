// SPDX-License-Identifier: MIT
// The game's resource file OrvekLauncher.rc on arbitrary bytes, translated to
// CSS as at start-up. Besides the sanitizers' checks, GTK's CSS parser must
// take the CSS without a complaint: the launcher would print each one as a
// warning. No display is needed.
#include <gtk/gtk.h>
#include <stdint.h>
#include <stdio.h>

#include "rcstyle.h"

static GtkCssProvider *provider;

static void Rejected(GtkCssProvider *, GtkCssSection *, GError *error, gpointer)
{
    fprintf(stderr, "GTK rejects the CSS: %s\n", error->message);
    __builtin_trap();
}

// The translator's warnings about what it skips are its everyday output, and
// GLib's writing them, to a closed standard error, would take most of the
// run. A critical warning, a function of GLib or GTK called wrongly, is still
// written, and is a finding.
static GLogWriterOutput Quiet(GLogLevelFlags level, const GLogField *fields, gsize count, gpointer data)
{
    if (!(level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_ERROR)))
        return G_LOG_WRITER_HANDLED;
    g_log_writer_default(level, fields, count, data);
    __builtin_trap();
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    g_log_set_writer_func(Quiet, NULL, NULL);
    provider = gtk_css_provider_new();
    g_signal_connect(provider, "parsing-error", G_CALLBACK(Rejected), NULL);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    gchar *css = RC_Translate("OrvekLauncher.rc", (const gchar *)data, size);
    gtk_css_provider_load_from_data(provider, css, -1, NULL);
    g_free(css);
    return 0;
}
