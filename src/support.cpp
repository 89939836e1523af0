// SPDX-License-Identifier: MIT
// Widget lookup by name and XPM loading with a transparent stand-in.
#include "support.h"

#include <string.h>
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
            parent = widget->parent;
        if (!parent)
            break;
        widget = parent;
    }

    // Object data is keyed by quarks: a name that never became a quark was
    // never stored, and a known one is found by comparing numbers instead of
    // every stored name (a list handler looks a button up for every row).
    GQuark quark = widget_name ? g_quark_try_string(widget_name) : 0;
    GtkWidget *found = quark ? (GtkWidget *)gtk_object_get_data_by_id(GTK_OBJECT(widget), quark) : NULL;
    if (!found)
        g_warning("Widget not found: %s", widget_name);
    return found;
}

GtkWidget *FindDialogWidget(const gchar *widget_name)
{
    return WIN_Main ? lookup_widget(WIN_Main, widget_name) : NULL;
}

GtkCList *FindDialogList(const gchar *widget_name)
{
    GtkWidget *widget = FindDialogWidget(widget_name);
    return widget ? GTK_CLIST(widget) : NULL;
}

void SelectRow(GtkCList *clist, gint row)
{
    gtk_clist_select_row(clist, row, 0);
    clist->focus_row = row;
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

// Wraps a pixmap and its mask in a widget, which keeps its own references.
static GtkWidget *wrap_pixmap(GdkPixmap *gdkpixmap, GdkBitmap *mask)
{
    GtkWidget *pixmap = gtk_pixmap_new(gdkpixmap, mask);
    gdk_pixmap_unref(gdkpixmap);
    gdk_bitmap_unref(mask);
    return pixmap;
}

static GtkWidget *create_dummy_pixmap(GtkWidget *widget)
{
    GdkBitmap *mask = NULL;
    GdkPixmap *gdkpixmap = gdk_pixmap_colormap_create_from_xpm_d(
        NULL, gtk_widget_get_colormap(widget), &mask, NULL, (gchar **)dummy_pixmap_xpm);
    if (gdkpixmap == NULL)
        g_error("Couldn't create replacement pixmap.");
    return wrap_pixmap(gdkpixmap, mask);
}

GtkWidget *create_pixmap(GtkWidget *widget, const gchar *filename)
{
    if (!filename || !filename[0])
        return create_dummy_pixmap(widget);

    gchar *found_filename = NULL;
    for (GList *elem = pixmaps_directories; elem && !found_filename; elem = elem->next)
        found_filename = check_file_exists((const gchar *)elem->data, filename);
    if (!found_filename)
        found_filename = check_file_exists("../pixmaps", filename);
    if (!found_filename)
    {
        g_warning("Couldn't find pixmap file: %s", filename);
        return create_dummy_pixmap(widget);
    }

    GdkBitmap *mask = NULL;
    GdkPixmap *gdkpixmap = gdk_pixmap_colormap_create_from_xpm(
        NULL, gtk_widget_get_colormap(widget), &mask, NULL, found_filename);
    if (gdkpixmap == NULL)
    {
        g_warning("Error loading pixmap file: %s", found_filename);
        g_free(found_filename);
        return create_dummy_pixmap(widget);
    }
    g_free(found_filename);
    return wrap_pixmap(gdkpixmap, mask);
}
