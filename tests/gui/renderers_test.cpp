// The renderer and resolution lists filled in-process from real plug-ins in
// a temporary game directory: which rows appear, which stay selected, and
// what the command line then names.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "clist_rows.h"
#include "commandline.h"
#include "interface.h"
#include "launcher.h"
#include "main.h"
#include "support.h"
#include "variables.h"

namespace fs = std::filesystem;

namespace {

const fs::path kPlugins = ORVEK_TEST_PLUGINS;

class Renderers : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { gtk_init(NULL, NULL); }

    void SetUp() override
    {
        char pattern[] = "/tmp/orvek-ren-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        dir = pattern;
        renderindex = 0;
        WIN_Main = create_WIN_Main();
        renderers = GTK_CLIST(lookup_widget(WIN_Main, "CLIST_Renderer"));
        resolutions = GTK_CLIST(lookup_widget(WIN_Main, "CLIST_Resolutions"));
    }

    void TearDown() override
    {
        gtk_widget_destroy(WIN_Main);
        WIN_Main = NULL;
        fs::remove_all(dir);
    }

    // A plug-in NAME that reports DESCRIPTION and MODES ("WxH-D" each).
    void Plugin(const std::string &name, const std::string &description,
                const std::vector<std::string> &modes)
    {
        fs::copy_file(kPlugins / "test/configurable.ren", dir / name);
        std::ofstream side(dir / (name + ".modes"));
        side << description << "\n";
        for (const std::string &mode : modes)
            side << mode << "\n";
    }

    void Copy(const fs::path &from, const std::string &name) { fs::copy_file(from, dir / name); }

    void Config(const std::string &lines)
    {
        std::ofstream(dir / "autoexec.cfg") << lines;
        VAR_ReadConfig((dir / "autoexec.cfg").c_str());
    }

    void Fill() { FillRenderList(dir.c_str()); }

    static std::string Display()
    {
        testing::internal::CaptureStdout();
        CMD_AddDisplay();
        fflush(stdout);
        return testing::internal::GetCapturedStdout();
    }

    fs::path dir;
    GtkCList *renderers = nullptr;
    GtkCList *resolutions = nullptr;
};

using Modes = std::vector<std::string>;

TEST_F(Renderers, ConfiguredRendererIsFoundByFileNameInAnyCase)
{
    Plugin("a.ren", "Alpha", {"640x480-16"});
    Plugin("b.ren", "Beta", {"800x600-16", "1024x768-16"});
    Plugin("c.ren", "Gamma", {"320x200-8"});
    Config("\"RenderDll\" \"B.REN\"\n");
    Fill();

    EXPECT_EQ((Modes{"Alpha", "Beta", "Gamma"}), Rows(renderers));
    EXPECT_EQ(1, Selected(renderers));
    EXPECT_EQ(1, renderindex);
    EXPECT_EQ((Modes{"800x600-16", "1024x768-16"}), Rows(resolutions));
    // Only the file name goes on the line, however deep the directory.
    EXPECT_EQ((dir / "b.ren").string(), GetRenderDLL());
    EXPECT_EQ("+renderdll b.ren +screenwidth 0 +screenheight 0 ", Display());
}

TEST_F(Renderers, WithoutConfiguredRendererTheFirstIsChosen)
{
    Plugin("a.ren", "Alpha", {"640x480-16"});
    Plugin("b.ren", "Beta", {"800x600-16"});
    Config("\"ScreenWidth\" \"640\"\n");
    Fill();

    EXPECT_EQ(0, Selected(renderers));
    EXPECT_EQ(0, renderindex);
    EXPECT_EQ((Modes{"640x480-16"}), Rows(resolutions));
    EXPECT_EQ("+renderdll a.ren +screenwidth 640 +screenheight 0 ", Display());
}

TEST_F(Renderers, StoredSizeInTwoDepthsLeavesTheLastSelected)
{
    Plugin("a.ren", "Alpha", {"640x480-16", "800x600-16", "800x600-32", "1024x768-16"});
    Config("\"ScreenWidth\" \"800\"\n\"ScreenHeight\" \"600\"\n");
    Fill();

    EXPECT_EQ(2, Selected(resolutions));
    EXPECT_EQ(800, renderwidth);
    EXPECT_EQ(600, renderheight);
}

TEST_F(Renderers, ChosenSizeFollowsToAnotherRendererAndEveryListIsFreed)
{
    Plugin("a.ren", "Alpha", {"640x480-16", "1024x768-16"});
    Plugin("b.ren", "Beta", {"800x600-16", "1024x768-32", "1280x1024-32"});
    for (const char *log : {"a.ren.calls", "b.ren.calls"})
        std::ofstream(dir / log);
    Config("");
    Fill();

    gtk_clist_select_row(resolutions, 1, 0);
    gtk_clist_select_row(renderers, 1, 0);
    EXPECT_EQ(1, renderindex);
    EXPECT_EQ((Modes{"800x600-16", "1024x768-32", "1280x1024-32"}), Rows(resolutions));
    EXPECT_EQ(1, Selected(resolutions));
    EXPECT_EQ(1024, renderwidth);
    EXPECT_EQ(768, renderheight);

    // Every list handed out came back once, to the plug-in that made it.
    for (const char *log : {"a.ren.calls", "b.ren.calls"})
    {
        std::ifstream in(dir / log);
        std::string line;
        int got = 0, freed = 0;
        while (std::getline(in, line))
        {
            got += line == "GetSupportedModes";
            freed += line == "FreeModeList";
            EXPECT_NE("FreeModeList of a foreign list", line) << log;
        }
        EXPECT_GT(got, 0) << log;
        EXPECT_EQ(got, freed) << log;
    }
}

TEST_F(Renderers, UnreadablePluginsKeepTheirRowsNamedByFile)
{
    std::ofstream(dir / "a.ren") << "not a shared object\n";
    Copy(kPlugins / "test/nomodes.ren", "b.ren");
    Copy(kPlugins / "test/nofree.ren", "c.ren");
    Plugin("d.ren", "Delta", {"640x480-16"});
    Config("\"RenderDll\" \"d.ren\"\n");
    Fill();

    EXPECT_EQ((Modes{"a.ren (unusable)", "b.ren (unusable)", "c.ren (unusable)", "Delta"}), Rows(renderers));
    EXPECT_EQ(3, Selected(renderers));
    EXPECT_EQ(3, renderindex);
    EXPECT_EQ((Modes{"640x480-16"}), Rows(resolutions));

    gtk_clist_select_row(renderers, 1, 0);
    EXPECT_EQ(1, renderindex);
    EXPECT_EQ(0, resolutions->rows);
    EXPECT_EQ((dir / "b.ren").string(), GetRenderDLL());
}

TEST_F(Renderers, NoPluginMeansNoRendererOnTheLine)
{
    Config("\"RenderDll\" \"a.ren\"\n\"ScreenWidth\" \"800\"\n\"ScreenHeight\" \"600\"\n");
    Fill();

    EXPECT_EQ(0, renderers->rows);
    EXPECT_EQ(0, resolutions->rows);
    EXPECT_EQ(nullptr, GetRenderDLL());
    EXPECT_EQ("+screenwidth 800 +screenheight 600 ", Display());
}

TEST_F(Renderers, ModesTooLargeToPackAreNotOfferedAndTextsStayInTheirFields)
{
    const fs::path hostile = kPlugins / "../hostile-plugins";
    Copy(hostile / "unterminated.ren", "a.ren");
    Copy(hostile / "wide.ren", "b.ren");
    Config("\"RenderDll\" \"b.ren\"\n");
    Fill();

    EXPECT_EQ(std::string(100, 'D'), Rows(renderers).at(0));
    EXPECT_EQ((Modes{"65535x65535-16", "800x600-16"}), Rows(resolutions));
    gtk_clist_select_row(resolutions, 0, 0);
    EXPECT_EQ(65535, renderwidth);
    EXPECT_EQ(65535, renderheight);
}

TEST_F(Renderers, LongestSearchableDirectoryStillFindsItsPlugins)
{
    // 249 characters fit the pattern buffer with "/*.ren"; one more does not.
    std::string name = dir.string();
    while (name.size() < 249)
        name += "/" + std::string(std::min<size_t>(100, 249 - name.size() - 1), 'x');
    ASSERT_EQ(249u, name.size());
    fs::create_directories(name);
    fs::copy_file(kPlugins / "test/configurable.ren", name + "/a.ren");
    std::ofstream(name + "/a.ren.modes") << "Deep\n640x480-16\n";
    Config("");

    FillRenderList(name.c_str());
    EXPECT_EQ((Modes{"Deep"}), Rows(renderers));

    std::string longer = name + "y";
    fs::create_directories(longer);
    fs::copy_file(name + "/a.ren", longer + "/a.ren");
    gtk_clist_clear(renderers);
    FillRenderList(longer.c_str());
    EXPECT_EQ(0, renderers->rows);
    EXPECT_EQ(nullptr, GetRenderDLL());
}

}  // namespace
