// The archive page driven in-process: row selections and the two buttons,
// with the row numbers and button states they leave behind.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "clist_rows.h"
#include "interface.h"
#include "launcher.h"
#include "main.h"
#include "support.h"

namespace {

class RezPage : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { gtk_init(NULL, NULL); }

    void SetUp() override
    {
        char pattern[] = "/tmp/orvek-rez-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        dir = pattern;
        ASSERT_EQ(0, mkdir((dir + "/custom").c_str(), 0755));
        for (const char *name : {"b.rez", "a.rez", "c.rez", "notes.txt"})
            Touch(dir + "/custom/" + name);
        snprintf(OrvekDir, sizeof OrvekDir, "%s", dir.c_str());
        snprintf(OrvekIniDir, sizeof OrvekIniDir, "%s", dir.c_str());
        snprintf(Profile, sizeof Profile, "%s/OrvekLauncher.ini", dir.c_str());
        AvailRow = LoadRow = -1;
        WIN_Main = create_WIN_Main();
        avail = GTK_CLIST(W("CLIST_AvailFiles"));
        load = GTK_CLIST(W("CLIST_LoadFiles"));
    }

    void TearDown() override
    {
        gtk_widget_destroy(WIN_Main);
        WIN_Main = NULL;
        ASSERT_EQ(0, system(("rm -rf '" + dir + "'").c_str()));
    }

    static void Touch(const std::string &path)
    {
        FILE *file = fopen(path.c_str(), "w");
        ASSERT_NE(nullptr, file);
        fclose(file);
    }

    GtkWidget *W(const char *name) { return lookup_widget(WIN_Main, name); }
    bool Sensitive(const char *name) { return GTK_WIDGET_SENSITIVE(W(name)); }
    void Click(const char *name) { gtk_button_clicked(GTK_BUTTON(W(name))); }

    using Names = std::vector<std::string>;
    std::string dir;
    GtkCList *avail = nullptr;
    GtkCList *load = nullptr;
};

TEST_F(RezPage, SelectionsArmTheButtonsAndMovesFollowTheArchive)
{
    LoadRezList();
    EXPECT_EQ((Names{"a.rez", "b.rez", "c.rez"}), Rows(avail));
    EXPECT_EQ(Names{}, Rows(load));

    // Nothing selected: the buttons do nothing even when clicked anyway.
    Click("BUT_Add");
    Click("BUT_Rem");
    EXPECT_EQ(3, avail->rows);
    EXPECT_EQ(0, load->rows);

    gtk_clist_select_row(avail, 1, 0);
    EXPECT_EQ(1, AvailRow);
    EXPECT_TRUE(Sensitive("BUT_Add"));
    gtk_clist_unselect_row(avail, 1, 0);
    EXPECT_EQ(-1, AvailRow);
    EXPECT_FALSE(Sensitive("BUT_Add"));
    Click("BUT_Add");
    EXPECT_EQ(0, load->rows);

    gtk_clist_select_row(avail, 0, 0);
    Click("BUT_Add");
    EXPECT_EQ((Names{"b.rez", "c.rez"}), Rows(avail));
    EXPECT_EQ(Names{"a.rez"}, Rows(load));
    EXPECT_EQ(-1, AvailRow);
    EXPECT_FALSE(Sensitive("BUT_Add"));
    EXPECT_EQ(0, LoadRow);
    EXPECT_EQ(0, Selected(load));
    EXPECT_TRUE(Sensitive("BUT_Rem"));

    // A later pick goes to the end of the load list and becomes its selection.
    gtk_clist_select_row(avail, 1, 0);
    Click("BUT_Add");
    EXPECT_EQ((Names{"a.rez", "c.rez"}), Rows(load));
    EXPECT_EQ(1, LoadRow);
    EXPECT_EQ(1, Selected(load));

    // Back again: the archive goes to the end of the available list.
    Click("BUT_Rem");
    EXPECT_EQ(Names{"a.rez"}, Rows(load));
    EXPECT_EQ((Names{"b.rez", "c.rez"}), Rows(avail));
    EXPECT_EQ(-1, LoadRow);
    EXPECT_EQ(-1, Selected(load));
    EXPECT_FALSE(Sensitive("BUT_Rem"));
    EXPECT_EQ(1, AvailRow);
    EXPECT_EQ(1, Selected(avail));
    EXPECT_TRUE(Sensitive("BUT_Add"));
}

TEST_F(RezPage, MovingByNameKeepsTheGivenSpellingAndIgnoresUnknownNames)
{
    InitRezFiles();
    AddRezFileToList("B.REZ", 1);
    AddRezFileToList("missing.rez", 1);
    AddRezFileToList("b.rez", 1);  // already moved: no second copy
    EXPECT_EQ(Names{"B.REZ"}, Rows(load));
    EXPECT_EQ((Names{"a.rez", "c.rez"}), Rows(avail));
    EXPECT_EQ(0, LoadRow);

    AddRezFileToList("b.rez", 0);
    EXPECT_EQ(Names{}, Rows(load));
    EXPECT_EQ((Names{"a.rez", "c.rez", "b.rez"}), Rows(avail));
    EXPECT_EQ(2, AvailRow);
    EXPECT_EQ(-1, LoadRow);
}

}  // namespace
