// SPDX-License-Identifier: MIT
// Finding a widget by name where no run of the launcher goes: through a
// popup menu's attach widget, and a name that was never registered. Every
// name of the dialog is found by the cases, which read and set the widgets
// by name and read them through at-spi.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>

#include "interface.h"
#include "support.h"

TEST(Lookup, ClimbsMenusThroughTheirAttachWidgetAndWarnsOfUnknownNames)
{
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    GtkWidget *window = create_WIN_Main(), *deep = lookup_widget(window, "BUT_ConsoleKey");
    GtkWidget *menu = gtk_menu_new(), *item = gtk_menu_item_new_with_label("x");
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    gtk_menu_attach_to_widget(GTK_MENU(menu), deep, NULL);
    EXPECT_EQ(lookup_widget(window, "BUT_Multi"), lookup_widget(item, "BUT_Multi"));
    EXPECT_EQ(window, lookup_widget(item, "WIN_Main"));

    static std::string warnings;
    g_log_set_handler(NULL, G_LOG_LEVEL_WARNING, [](const gchar *, GLogLevelFlags, const gchar *text, gpointer) {
        warnings += std::string(text) + "\n";
    }, NULL);
    EXPECT_EQ(nullptr, lookup_widget(item, "CHECK_Nothing"));
    EXPECT_EQ("Widget not found: CHECK_Nothing\n", warnings);
    gtk_widget_destroy(window);
}
