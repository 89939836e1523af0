// SPDX-License-Identifier: MIT
// Widget lookup by name and XPM loading with a transparent stand-in.
#include "support.h"

#include <sys/stat.h>

#include "main.h"

// Directories searched for images, most recently added first.
static GList *pixmaps_directories = NULL;

// One transparent pixel: what the dialog shows when an image is missing.
static const gchar *dummy_pixmap_xpm[] = {
    "1 1 1 1",
    "  c None",
    " ",
};

GtkWidget *lookup_widget(GtkWidget *widget, const gchar *widget_name)
{
    for (;;)
    {
        GtkWidget *parent;
        // A popup menu has no parent; its owner is the widget it is attached to.
        if (GTK_IS_MENU(widget))
            parent = gtk_menu_get_attach_widget(GTK_MENU(widget));
        else
            parent = gtk_widget_get_parent(widget);
        if (!parent)
            break;
        widget = parent;
    }

    // Object data is keyed by quarks: a name that never became a quark was
    // never stored, and a known one is found by comparing numbers instead of
    // every stored name (a list handler looks a button up for every row).
    GQuark quark = widget_name ? g_quark_try_string(widget_name) : 0;
    GtkWidget *found = quark ? (GtkWidget *)g_object_get_qdata(G_OBJECT(widget), quark) : NULL;
    if (!found)
        g_warning("Widget not found: %s", widget_name);
    return found;
}

GtkWidget *FindDialogWidget(const gchar *widget_name)
{
    return WIN_Main ? lookup_widget(WIN_Main, widget_name) : NULL;
}

void add_pixmap_directory(const gchar *directory)
{
    pixmaps_directories = g_list_prepend(pixmaps_directories, g_strdup(directory));
}

// The path directory/filename if it names a regular file (links followed);
// the caller frees it with g_free.
static gchar *check_file_exists(const gchar *directory, const gchar *filename)
{
    gchar *full_filename = g_strconcat(directory, "/", filename, NULL);
    struct stat s;
    if (stat(full_filename, &s) == 0 && S_ISREG(s.st_mode))
        return full_filename;
    g_free(full_filename);
    return NULL;
}

// The image widget keeps its own reference to the picture.
static GtkWidget *wrap_pixbuf(GdkPixbuf *pixbuf)
{
    GtkWidget *image = gtk_image_new_from_pixbuf(pixbuf);
    g_object_unref(pixbuf);
    return image;
}

static GtkWidget *create_dummy_pixmap(void)
{
    GdkPixbuf *pixbuf = gdk_pixbuf_new_from_xpm_data(dummy_pixmap_xpm);
    if (pixbuf == NULL)
        g_error("Couldn't create replacement pixmap.");
    return wrap_pixbuf(pixbuf);
}

// The widget was where GTK once took the picture's colours from; a pixbuf
// brings its own.
GtkWidget *create_pixmap(GtkWidget *, const gchar *filename)
{
    if (!filename || !filename[0])
        return create_dummy_pixmap();

    gchar *found_filename = NULL;
    for (GList *elem = pixmaps_directories; elem && !found_filename; elem = elem->next)
        found_filename = check_file_exists((const gchar *)elem->data, filename);
    if (!found_filename)
        found_filename = check_file_exists("../pixmaps", filename);
    if (!found_filename)
    {
        g_warning("Couldn't find pixmap file: %s", filename);
        return create_dummy_pixmap();
    }

    GdkPixbuf *pixbuf = gdk_pixbuf_new_from_file(found_filename, NULL);
    if (pixbuf == NULL)
    {
        g_warning("Error loading pixmap file: %s", found_filename);
        g_free(found_filename);
        return create_dummy_pixmap();
    }
    g_free(found_filename);
    return wrap_pixbuf(pixbuf);
}
