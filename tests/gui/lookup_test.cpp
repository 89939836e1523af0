// SPDX-License-Identifier: MIT
// Finding a widget by name: every name of the dialog, and where no run of
// the launcher goes: through a popup menu's attach widget, and a name that
// was never registered.
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

// Every widget of the dialog is registered by its own name, which is also
// the name a resource file styles it by, and any widget finds any other.
TEST(Lookup, EveryNameOfTheDialogFindsItsWidgetFromAnyOther)
{
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    const char *const kNames[] = {
        "WIN_Main", "vbox1", "LAB_Title", "notebook1", "vbox2", "pixmap3", "frame1", "hbox1", "CHECK_Popup",
        "vbox3", "frame4", "vbox13", "vpaned1", "irgendeinwidget", "CLIST_Renderer", "scrolledwindow4",
        "CLIST_Resolutions", "CHECK_Fullscreen", "frame9", "vbox15", "CHECK_LowQuality", "frame10", "vbox16",
        "label19", "SPIN_Channels", "label20", "vbox6", "LAB_WARN", "hbox5", "frame5", "vbox7",
        "CHECK_DisableSound", "CHECK_DisableMusic", "CHECK_DisableMovies", "CHECK_DisableLightmap",
        "CHECK_DisableFog", "CHECK_LineSystems", "CHECK_ModelFullbright", "vbox8", "frame6", "vbox9",
        "CHECK_PolyGap", "CHECK_SinglePass", "CHECK_MovieDouble", "frame11", "hbox7", "STR_ConsoleKey",
        "BUT_ConsoleKey", "frame7", "CHECK_FactoryDefault", "frame8", "vbox10", "STR_CommandLine",
        "CHECK_CommandlineValid", "vbox11", "table2", "label11", "label12", "vbox12", "BUT_Add", "BUT_Rem",
        "scrolledwindow1", "CLIST_AvailFiles", "scrolledwindow2", "CLIST_LoadFiles", "hbox6", "CHECK_LoadRez",
        "hbuttonbox1", "BUT_Run", "BUT_Multi", "BUT_Cancel", "label2", "label3", "label4", "label5", "label6",
        "label13", "label14", "label15", "label16",
    };
    static_assert(sizeof kNames / sizeof kNames[0] == 80, "the window and its 79 widgets");
    GtkWidget *window = create_WIN_Main();
    for (const char *from : kNames)
        for (const char *name : kNames)
        {
            GtkWidget *widget = lookup_widget(lookup_widget(window, from), name);
            ASSERT_NE(nullptr, widget) << name << " from " << from;
            EXPECT_STREQ(name, gtk_widget_get_name(widget)) << name;
        }
    gtk_widget_destroy(window);
}
