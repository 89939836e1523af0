// SPDX-License-Identifier: MIT
// The dialog's signal handlers.
#ifndef ORVEK_CALLBACKS_H
#define ORVEK_CALLBACKS_H

#include <gtk/gtk.h>

gboolean on_WIN_Main_delete_event(GtkWidget *widget, GdkEvent *event, gpointer user_data);
gboolean on_WIN_Main_destroy_event(GtkWidget *widget, GdkEvent *event, gpointer user_data);
gboolean on_WIN_Main_key_press_event(GtkWidget *widget, GdkEventKey *event, gpointer user_data);
gboolean on_CHECK_Fullscreen_can_activate_accel(GtkWidget *widget, guint signal_id, gpointer user_data);
void on_STR_CommandLine_insert_text(GtkEditable *editable, gchar *text, gint length, gint *position,
                                    gpointer user_data);
void on_BUT_Run_clicked(GtkButton *button, gpointer user_data);
void on_BUT_Multi_clicked(GtkButton *button, gpointer user_data);
void on_BUT_Cancel_clicked(GtkButton *button, gpointer user_data);

void on_CLIST_Renderer_select_row(GtkWidget *clist, gint row, gint column, GdkEvent *event, gpointer user_data);
void on_CLIST_Resolutions_select_row(GtkWidget *clist, gint row, gint column, GdkEvent *event, gpointer user_data);

void on_BUT_ConsoleKey_clicked(GtkButton *button, gpointer user_data);

void on_BUT_Add_clicked(GtkButton *button, gpointer user_data);
void on_BUT_Rem_clicked(GtkButton *button, gpointer user_data);
void on_CLIST_AvailFiles_select_row(GtkWidget *clist, gint row, gint column, GdkEvent *event, gpointer user_data);
void on_CLIST_AvailFiles_unselect_row(GtkWidget *clist, gint row, gint column, GdkEvent *event, gpointer user_data);
void on_CLIST_LoadFiles_select_row(GtkWidget *clist, gint row, gint column, GdkEvent *event, gpointer user_data);
void on_CLIST_LoadFiles_unselect_row(GtkWidget *clist, gint row, gint column, GdkEvent *event, gpointer user_data);

#endif
