// Finding a widget by name where no run of the launcher goes: through a
// popup menu's attach widget, and a name that was never registered.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>

#include "interface.h"
#include "support.h"

TEST(Lookup, ClimbsMenusThroughTheirAttachWidgetAndWarnsOfUnknownNames)
{
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    GtkWidget *window = create_WIN_Main(), *deep = lookup_widget(window, "BUT_ConsoleKey");
    GtkWidget *attached = gtk_menu_new(), *item = gtk_menu_item_new_with_label("x");
    gtk_menu_shell_append(GTK_MENU_SHELL(attached), item);
    gtk_menu_attach_to_widget(GTK_MENU(attached), deep, NULL);
    EXPECT_EQ(lookup_widget(window, "BUT_Multi"), lookup_widget(item, "BUT_Multi"));
    EXPECT_EQ(window, lookup_widget(item, "WIN_Main"));

    // A menu attached to nothing is its own top: its data is what is read.
    static std::string warnings;
    g_log_set_handler(NULL, G_LOG_LEVEL_WARNING, [](const gchar *, GLogLevelFlags, const gchar *text, gpointer) {
        warnings += std::string(text) + "\n";
    }, NULL);
    GtkWidget *loose = GTK_WIDGET(g_object_ref_sink(gtk_menu_new())), *loose_item = gtk_menu_item_new_with_label("y");
    gtk_menu_shell_append(GTK_MENU_SHELL(loose), loose_item);
    gtk_object_set_data(GTK_OBJECT(loose), "marker", loose_item);
    EXPECT_EQ(loose_item, lookup_widget(loose_item, "marker"));
    EXPECT_EQ(nullptr, lookup_widget(loose_item, "BUT_Multi"));
    EXPECT_EQ(nullptr, lookup_widget(deep, "CHECK_Nothing"));
    EXPECT_EQ("Widget not found: BUT_Multi\nWidget not found: CHECK_Nothing\n", warnings);
    gtk_widget_destroy(loose);
    g_object_unref(loose);  // a menu attached to nothing is owned by whoever made it
    gtk_widget_destroy(window);
}
