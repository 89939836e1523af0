// The sample renderer plug-ins as the launcher sees them: built by the C
// compiler, read here through the same RMode header by the C++ compiler, so
// the two must agree on the record's layout.
#include <gtest/gtest.h>
#include <dlfcn.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "rmode.h"

#ifndef ORVEK_TEST_PLUGINS
#define ORVEK_TEST_PLUGINS "build/plugins"
#endif

namespace fs = std::filesystem;

namespace {

// A plug-in opened as the launcher opens it, closed when it goes.
class Plugin
{
public:
    explicit Plugin(const fs::path &path) : handle_(dlopen(path.c_str(), RTLD_LAZY)) {}
    ~Plugin()
    {
        if (handle_)
            dlclose(handle_);
    }
    bool Open() const { return handle_ != nullptr; }
    GetSupportedModesFunc Get() const { return (GetSupportedModesFunc)dlsym(handle_, "GetSupportedModes"); }
    FreeModeListFunc Free() const { return (FreeModeListFunc)dlsym(handle_, "FreeModeList"); }

    // "description|file|hardware: WxH-D WxH-D ..." of the whole list, which is
    // then freed; "no modes" for none.
    std::string Describe() const
    {
        RMode *list = Get()();
        if (!list)
            return "no modes";
        std::string text = std::string(list->m_Description) + "|" + list->m_RenderDLL + "|" +
                           std::to_string(list->m_bHardware) + ":";
        for (const RMode *mode = list; mode; mode = mode->m_pNext)
            text += " " + std::to_string(mode->m_Width) + "x" + std::to_string(mode->m_Height) + "-" +
                    std::to_string(mode->m_BitDepth);
        Free()(list);
        return text;
    }

private:
    void *handle_;
};

TEST(RendererPlugins, DemoPluginsReportTheirOwnModes)
{
    const struct
    {
        const char *file;
        const char *expected;
    } cases[] = {
        {"software.ren", "Software renderer|software.ren|0: 640x480-16 800x600-16 800x600-32"},
        {"opengl.ren",
         "OpenGL renderer|opengl.ren|1: 640x480-16 640x480-32 800x600-16 800x600-32 1024x768-16 1024x768-32"},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.file);
        Plugin plugin(fs::path(ORVEK_TEST_PLUGINS) / c.file);
        ASSERT_TRUE(plugin.Open()) << dlerror();
        ASSERT_TRUE(plugin.Get() && plugin.Free());
        EXPECT_EQ(plugin.Describe(), c.expected);
        // Every call makes a fresh list: the launcher frees each one.
        EXPECT_EQ(plugin.Describe(), c.expected);
    }
}

TEST(RendererPlugins, BrokenTestPluginsFailTheirOwnWay)
{
    const fs::path dir = fs::path(ORVEK_TEST_PLUGINS) / "test";
    Plugin nofree(dir / "nofree.ren");
    ASSERT_TRUE(nofree.Open()) << dlerror();
    EXPECT_TRUE(nofree.Get() != nullptr);
    EXPECT_TRUE(nofree.Free() == nullptr);

    Plugin nomodes(dir / "nomodes.ren");
    ASSERT_TRUE(nomodes.Open()) << dlerror();
    ASSERT_TRUE(nomodes.Get() && nomodes.Free());
    EXPECT_EQ(nomodes.Describe(), "no modes");
}

std::string ReadFile(const fs::path &path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(RendererPlugins, ConfigurablePluginReadsItsModesBesideItselfAndLogsItsCalls)
{
    char pattern[] = "/tmp/orvek-plugins-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    // Two copies with lists of their own, as three-plug-in game directories
    // are made from it.
    for (const char *name : {"first.ren", "second.ren"})
        fs::copy_file(fs::path(ORVEK_TEST_PLUGINS) / "test" / "configurable.ren", dir / name);
    std::ofstream(dir / "first.ren.modes") << "First\n1280x1024-32\n320x200-8\n";
    std::ofstream(dir / "first.ren.calls");
    std::ofstream(dir / "second.ren.modes") << "Second only describes itself\n";

    {
        Plugin first(dir / "first.ren");
        Plugin second(dir / "second.ren");
        ASSERT_TRUE(first.Open() && second.Open()) << dlerror();
        EXPECT_EQ(first.Describe(), "First|first.ren|0: 1280x1024-32 320x200-8");
        EXPECT_EQ(second.Describe(), "no modes");

        // A list it did not hand out is refused, and said so.
        RMode stranger = {};
        first.Free()(&stranger);
    }
    EXPECT_EQ(ReadFile(dir / "first.ren.calls"),
              "GetSupportedModes\nFreeModeList\nFreeModeList of a foreign list\n");
    EXPECT_FALSE(fs::exists(dir / "second.ren.calls")) << "logs only where asked to";
    fs::remove_all(dir);
}

}  // namespace
