// SPDX-License-Identifier: MIT
// The question is drawn by GTK's own means, cairo and pango, into an image
// in memory, which SDL then copies into its window in the window's format.
#include "ckeyprompt.h"

void CKEY_DrawPrompt(SDL_Surface *screen, GtkWidget *dialog, const char *text)
{
    cairo_surface_t *image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, screen->w, screen->h);
    cairo_t *cr = cairo_create(image);
    GtkStyleContext *style = gtk_widget_get_style_context(dialog);
    gtk_render_background(style, cr, 0, 0, screen->w, screen->h);

    PangoLayout *layout = gtk_widget_create_pango_layout(dialog, text);
    pango_layout_set_width(layout, screen->w * PANGO_SCALE);
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
    int height;
    pango_layout_get_pixel_size(layout, NULL, &height);
    gtk_render_layout(style, cr, 0, (screen->h - height) / 2, layout);
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_flush(image);

    // Cairo's pixels are 32-bit words with red, green and blue from the top byte down.
    SDL_Surface *drawn = SDL_CreateRGBSurfaceFrom(cairo_image_surface_get_data(image), screen->w, screen->h, 32,
                                                  cairo_image_surface_get_stride(image), 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_BlitSurface(drawn, NULL, screen, NULL);
    SDL_FreeSurface(drawn);
    cairo_surface_destroy(image);
    SDL_UpdateRect(screen, 0, 0, 0, 0);
}
