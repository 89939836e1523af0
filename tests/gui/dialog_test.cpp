// The dialog as built in-process: names, initial states, shortcuts, lookup
// rules and image loading.
#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "interface.h"
#include "main.h"
#include "support.h"

namespace {

const char *const kNames[] = {
    "vbox1", "LAB_Title", "notebook1", "vbox2", "pixmap3", "frame1", "hbox1", "CHECK_Popup", "label2",
    "vbox3", "frame4", "vbox13", "vpaned1", "irgendeinwidget", "CLIST_Renderer", "label15",
    "scrolledwindow4", "CLIST_Resolutions", "label16", "CHECK_Fullscreen", "label3", "frame9", "vbox15",
    "CHECK_LowQuality", "frame10", "vbox16", "label19", "SPIN_Channels", "label20", "label4", "vbox6",
    "LAB_WARN", "hbox5", "frame5", "vbox7", "CHECK_DisableSound", "CHECK_DisableMusic",
    "CHECK_DisableMovies", "CHECK_DisableLightmap", "CHECK_DisableFog", "CHECK_LineSystems",
    "CHECK_ModelFullbright", "vbox8", "frame6", "vbox9", "CHECK_PolyGap", "CHECK_SinglePass",
    "CHECK_MovieDouble", "frame11", "hbox7", "STR_ConsoleKey", "BUT_ConsoleKey", "frame7",
    "CHECK_FactoryDefault", "frame8", "vbox10", "STR_CommandLine", "CHECK_CommandlineValid", "label5",
    "vbox11", "table2", "label11", "label12", "vbox12", "BUT_Add", "BUT_Rem", "scrolledwindow1",
    "CLIST_AvailFiles", "label13", "scrolledwindow2", "CLIST_LoadFiles", "label14", "hbox6",
    "CHECK_LoadRez", "label6", "hbuttonbox1", "BUT_Run", "BUT_Multi", "BUT_Cancel",
};

std::vector<std::string> g_warnings;

void RecordWarning(const gchar *, GLogLevelFlags, const gchar *message, gpointer)
{
    g_warnings.push_back(message);
}

class Dialog : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        gtk_init(NULL, NULL);
        g_log_set_handler(NULL, G_LOG_LEVEL_WARNING, RecordWarning, NULL);
    }
    void SetUp() override
    {
        window = create_WIN_Main();
        g_warnings.clear();  // orvek.xpm is not found here; images are tested below
    }
    void TearDown() override { gtk_widget_destroy(window); }

    GtkWidget *W(const char *name) { return lookup_widget(window, name); }
    gboolean Active(const char *name) { return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(W(name))); }

    GtkWidget *window = nullptr;
};

TEST_F(Dialog, EveryNameIsFoundFromAnyWidgetAndNamesItsWidget)
{
    ASSERT_EQ(79u, sizeof kNames / sizeof kNames[0]);
    GtkWidget *deep = W("CHECK_LoadRez");  // inside the last notebook page
    ASSERT_NE(nullptr, deep);
    std::set<GtkWidget *> distinct;
    for (const char *name : kNames)
    {
        GtkWidget *widget = lookup_widget(deep, name);
        ASSERT_NE(nullptr, widget) << name;
        EXPECT_EQ(widget, W(name)) << name;
        EXPECT_STREQ(name, gtk_widget_get_name(widget));
        EXPECT_TRUE(GTK_WIDGET_VISIBLE(widget)) << name;
        distinct.insert(widget);
    }
    EXPECT_EQ(79u, distinct.size());
    EXPECT_EQ(window, lookup_widget(deep, "WIN_Main"));
    EXPECT_STREQ("WIN_Main", gtk_widget_get_name(window));
    EXPECT_TRUE(GTK_IS_TOOLTIPS(lookup_widget(deep, "tooltips")));
    EXPECT_TRUE(g_warnings.empty());
}

TEST_F(Dialog, UnknownNameWarnsAndGivesNull)
{
    EXPECT_EQ(nullptr, lookup_widget(W("BUT_Run"), "CHECK_Nothing"));
    ASSERT_EQ(1u, g_warnings.size());
    EXPECT_EQ("Widget not found: CHECK_Nothing", g_warnings[0]);
}

TEST_F(Dialog, PopupMenusAreClimbedThroughTheirAttachWidget)
{
    GtkWidget *attached = gtk_menu_new();
    GtkWidget *item = gtk_menu_item_new_with_label("x");
    gtk_menu_shell_append(GTK_MENU_SHELL(attached), item);
    gtk_menu_attach_to_widget(GTK_MENU(attached), W("BUT_ConsoleKey"), NULL);
    EXPECT_EQ(W("BUT_Multi"), lookup_widget(item, "BUT_Multi"));

    // A menu attached to nothing is its own top: its data is what is read.
    GtkWidget *loose = gtk_menu_new();
    GtkWidget *loose_item = gtk_menu_item_new_with_label("y");
    gtk_menu_shell_append(GTK_MENU_SHELL(loose), loose_item);
    gtk_object_set_data(GTK_OBJECT(loose), "marker", loose_item);
    EXPECT_EQ(loose_item, lookup_widget(loose_item, "marker"));
    EXPECT_EQ(nullptr, lookup_widget(loose_item, "BUT_Multi"));
    gtk_widget_destroy(loose);
}

TEST_F(Dialog, StartsInItsInitialState)
{
    EXPECT_FALSE(GTK_WIDGET_VISIBLE(window));
    EXPECT_STREQ("Orvek", gtk_window_get_title(GTK_WINDOW(window)));
    for (const char *name : kNames)
    {
        GtkWidget *widget = W(name);
        if (GTK_IS_CHECK_BUTTON(widget))
        {
            bool ticked = !strcmp(name, "CHECK_Popup") || !strcmp(name, "CHECK_Fullscreen");
            EXPECT_EQ(ticked, Active(name) != FALSE) << name;
        }
        bool insensitive = !strcmp(name, "CHECK_DisableFog") || !strcmp(name, "BUT_Add") || !strcmp(name, "BUT_Rem");
        EXPECT_EQ(!insensitive, GTK_WIDGET_SENSITIVE(widget) != FALSE) << name;
    }
    EXPECT_STREQ("^", gtk_entry_get_text(GTK_ENTRY(W("STR_ConsoleKey"))));
    EXPECT_FALSE(gtk_editable_get_editable(GTK_EDITABLE(W("STR_ConsoleKey"))));
    EXPECT_TRUE(gtk_editable_get_editable(GTK_EDITABLE(W("STR_CommandLine"))));
    EXPECT_STREQ("", gtk_entry_get_text(GTK_ENTRY(W("STR_CommandLine"))));
    EXPECT_EQ(16, gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(W("SPIN_Channels"))));

    GtkNotebook *notebook = GTK_NOTEBOOK(W("notebook1"));
    EXPECT_EQ(0, gtk_notebook_get_current_page(notebook));
    EXPECT_EQ(GTK_POS_RIGHT, gtk_notebook_get_tab_pos(notebook));
    const char *const tabs[] = {"Title", "Display", "Sound", "Advanced", "Customize"};
    ASSERT_EQ(5, gtk_notebook_get_n_pages(notebook));
    for (int page = 0; page < 5; page++)
        EXPECT_STREQ(tabs[page], gtk_notebook_get_tab_label_text(notebook, gtk_notebook_get_nth_page(notebook, page)));

    for (const char *list : {"CLIST_Renderer", "CLIST_Resolutions", "CLIST_AvailFiles", "CLIST_LoadFiles"})
        EXPECT_EQ(0, GTK_CLIST(W(list))->rows) << list;
    EXPECT_EQ(GTK_SELECTION_BROWSE, GTK_CLIST(W("CLIST_Renderer"))->selection_mode);
    EXPECT_EQ(GTK_SELECTION_SINGLE, GTK_CLIST(W("CLIST_AvailFiles"))->selection_mode);

    GtkTooltipsData *tip = gtk_tooltips_data_get(W("BUT_ConsoleKey"));
    ASSERT_NE(nullptr, tip);
    EXPECT_STREQ("Choose the key that opens the in-game console", tip->tip_text);
    for (const char *button : {"BUT_Run", "BUT_Multi", "BUT_Cancel"})
        EXPECT_TRUE(GTK_WIDGET_CAN_DEFAULT(W(button))) << button;
}

TEST_F(Dialog, VoiceCountStaysWithinFourToThirtyTwo)
{
    GtkSpinButton *spin = GTK_SPIN_BUTTON(W("SPIN_Channels"));
    gtk_spin_button_spin(spin, GTK_SPIN_STEP_FORWARD, 0);
    EXPECT_EQ(17, gtk_spin_button_get_value_as_int(spin));
    gtk_spin_button_spin(spin, GTK_SPIN_PAGE_FORWARD, 0);
    EXPECT_EQ(27, gtk_spin_button_get_value_as_int(spin));
    gtk_spin_button_set_value(spin, 32);
    EXPECT_EQ(32, gtk_spin_button_get_value_as_int(spin));
    gtk_spin_button_set_value(spin, 99);
    EXPECT_EQ(32, gtk_spin_button_get_value_as_int(spin));
    gtk_spin_button_set_value(spin, 1);
    EXPECT_EQ(4, gtk_spin_button_get_value_as_int(spin));
}

// GTK 2 lets an accelerator act only on a widget on screen, so the
// Display page is shown first.
TEST_F(Dialog, AltFTogglesFullscreen)
{
    gtk_widget_show(window);
    gtk_notebook_set_current_page(GTK_NOTEBOOK(W("notebook1")), 1);
    while (gtk_events_pending())
        gtk_main_iteration();
    gtk_accel_groups_activate(G_OBJECT(window), GDK_f, GDK_MOD1_MASK);
    EXPECT_FALSE(Active("CHECK_Fullscreen"));
    gtk_accel_groups_activate(G_OBJECT(window), GDK_f, GDK_MOD1_MASK);
    EXPECT_TRUE(Active("CHECK_Fullscreen"));
}

// A key press as the window gets it from X.
void SendKey(GtkWidget *window, guint keyval, guint state)
{
    GdkEvent *event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = GDK_WINDOW(g_object_ref(window->window));
    event->key.keyval = keyval;
    event->key.state = state;
    GdkKeymapKey *keys = NULL;
    gint count = 0;
    if (gdk_keymap_get_entries_for_keyval(NULL, keyval, &keys, &count))
        event->key.hardware_keycode = keys[0].keycode;
    g_free(keys);
    gtk_main_do_event(event);
    gdk_event_free(event);
}

struct Typing
{
    GtkWidget *window;
    const char *text;
};

// Types inside the main loop, as a player would, then leaves the loop
// unless a shortcut already did.
gboolean TypeThenQuit(gpointer data)
{
    const Typing *typing = static_cast<const Typing *>(data);
    for (const char *c = typing->text; *c; c++)
        SendKey(typing->window, gdk_unicode_to_keyval(*c), 0);
    if (gtk_main_level() > 0)
        gtk_main_quit();
    return FALSE;
}

TEST_F(Dialog, PlainLettersGoToTheCommandLineEntryButEndTheDialogElsewhere)
{
    gtk_widget_show(window);
    gtk_notebook_set_current_page(GTK_NOTEBOOK(W("notebook1")), 3);
    while (gtk_events_pending())
        gtk_main_iteration();

    FunctionCode = FUNCTION_NONE;
    gtk_widget_grab_focus(W("STR_CommandLine"));
    Typing words = {window, "-mcl"};
    g_idle_add(TypeThenQuit, &words);
    gtk_main();
    EXPECT_EQ(FUNCTION_NONE, FunctionCode);
    EXPECT_STREQ("-mcl", gtk_entry_get_text(GTK_ENTRY(W("STR_CommandLine"))));

    gtk_widget_grab_focus(W("CHECK_DisableSound"));
    Typing shortcut = {window, "m"};
    g_idle_add(TypeThenQuit, &shortcut);
    gtk_main();
    EXPECT_EQ(FUNCTION_MULTIPLAYER, FunctionCode);
    FunctionCode = FUNCTION_NONE;
}

// --- images -------------------------------------------------------------------

std::string MakeDir(const std::string &path)
{
    mkdir(path.c_str(), 0755);
    return path;
}

void WriteXpm(const std::string &path, int size)
{
    FILE *f = fopen(path.c_str(), "w");
    ASSERT_NE(nullptr, f);
    fprintf(f, "/* XPM */\nstatic char *x[] = {\n\"%d %d 1 1\",\n\". c #ff0000\",\n", size, size);
    for (int row = 0; row < size; row++)
        fprintf(f, "\"%s\",\n", std::string(size, '.').c_str());
    fprintf(f, "};\n");
    fclose(f);
}

int PixmapSize(GtkWidget *pixmap)
{
    GdkPixmap *image = NULL;
    gtk_pixmap_get(GTK_PIXMAP(pixmap), &image, NULL);
    gint width = 0, height = 0;
    gdk_drawable_get_size(image, &width, &height);
    EXPECT_EQ(width, height);
    return width;
}

class Images : public Dialog
{
protected:
    void SetUp() override
    {
        Dialog::SetUp();
        char pattern[] = "/tmp/orvek-images-XXXXXX";
        root = mkdtemp(pattern);
    }
    void TearDown() override
    {
        Dialog::TearDown();
        std::string command = "rm -rf '" + root + "'";
        ASSERT_EQ(0, system(command.c_str()));
    }
    std::string root;
};

TEST_F(Images, LaterDirectoriesWinAndParentPixmapsIsTheLastResort)
{
    std::string a = MakeDir(root + "/a"), b = MakeDir(root + "/b");
    WriteXpm(a + "/both.xpm", 2);
    WriteXpm(b + "/both.xpm", 3);
    MakeDir(b + "/dir.xpm");  // a directory of that name does not count
    WriteXpm(a + "/dir.xpm", 4);
    MakeDir(root + "/pixmaps");
    WriteXpm(root + "/pixmaps/parent.xpm", 5);
    add_pixmap_directory(a.c_str());
    add_pixmap_directory(b.c_str());

    EXPECT_EQ(3, PixmapSize(create_pixmap(window, "both.xpm")));
    EXPECT_EQ(4, PixmapSize(create_pixmap(window, "dir.xpm")));

    char here[4096];
    ASSERT_NE(nullptr, getcwd(here, sizeof here));
    ASSERT_EQ(0, chdir(MakeDir(root + "/game").c_str()));
    EXPECT_EQ(5, PixmapSize(create_pixmap(window, "parent.xpm")));
    ASSERT_EQ(0, chdir(here));
    EXPECT_TRUE(g_warnings.empty());
}

TEST_F(Images, MissingOrBrokenImagesWarnAndGiveOneTransparentPixel)
{
    std::string dir = MakeDir(root + "/img");
    FILE *f = fopen((dir + "/broken.xpm").c_str(), "w");
    fputs("this is not an image\n", f);
    fclose(f);
    add_pixmap_directory(dir.c_str());

    EXPECT_EQ(1, PixmapSize(create_pixmap(window, "nowhere.xpm")));
    EXPECT_EQ(1, PixmapSize(create_pixmap(window, "broken.xpm")));
    ASSERT_EQ(2u, g_warnings.size());
    EXPECT_EQ("Couldn't find pixmap file: nowhere.xpm", g_warnings[0]);
    EXPECT_EQ("Error loading pixmap file: " + dir + "/broken.xpm", g_warnings[1]);

    g_warnings.clear();
    GtkWidget *empty = create_pixmap(window, "");
    EXPECT_EQ(1, PixmapSize(empty));
    GdkBitmap *mask = NULL;
    gtk_pixmap_get(GTK_PIXMAP(empty), NULL, &mask);
    ASSERT_NE(nullptr, mask);
    GdkImage *bits = gdk_drawable_get_image(mask, 0, 0, 1, 1);
    EXPECT_EQ(0u, gdk_image_get_pixel(bits, 0, 0));  // the one pixel is transparent
    g_object_unref(bits);
    EXPECT_EQ(1, PixmapSize(create_pixmap(window, NULL)));
    EXPECT_TRUE(g_warnings.empty());
}

}  // namespace
