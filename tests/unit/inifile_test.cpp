// The INI cache: how hand-edited files are read, the exact bytes it writes,
// what reaches the disk and when, and that broken input stays harmless.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "InitFile.h"
#include "inifile.h"

namespace {

const char kMissing[] = "<default>";

class IniFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/orvek-ini-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Path(const std::string &name) const { return dir + "/" + name; }
    void Put(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Contents(const std::string &name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return in ? bytes.str() : "<absent>";
    }
    std::string Get(InitFile &ini, const std::string &file, const std::string &section,
                    const std::string &key) const
    {
        char value[1024];
        ini.GetPrivateProfileString(section.c_str(), key.c_str(), kMissing, value, sizeof value,
                                    Path(file).c_str());
        return value;
    }
    void Set(InitFile &ini, const std::string &file, const char *section, const char *key,
             const char *value) const
    {
        ini.WritePrivateProfileString(section, key, value, Path(file).c_str());
    }
    // What a fresh cache reads for (section, key) from a file of these bytes.
    std::string ReadBack(const std::string &bytes, const std::string &section, const std::string &key)
    {
        Put("t.ini", bytes);
        InitFile ini(97);
        return Get(ini, "t.ini", section, key);
    }

    std::string dir;
};

TEST_F(IniFileTest, ReadsHandEditedLinesByTheFileRules)
{
    const std::string key70(70, 'k'), v508(508, 'v'), v509(509, 'v');
    const struct { const char *what; std::string file, section, key, expected; } cases[] = {
        {"spaced", "[Sound]\nNumVoices = 16\n", "Sound", "NumVoices", "16"},
        {"tight", "[Sound]\nNumVoices=16\n", "Sound", "NumVoices", "16"},
        {"second blank kept", "[Sound]\nNumVoices =  16\n", "Sound", "NumVoices", " 16"},
        {"trailing blank kept", "[Sound]\nNumVoices = 16 \n", "Sound", "NumVoices", "16 "},
        {"one tab skipped", "[Sound]\nNumVoices =\t\t16\n", "Sound", "NumVoices", "\t16"},
        {"indented key", "[Sound]\n \t NumVoices = 16\n", "Sound", "NumVoices", "16"},
        {"tab stays in key", "[S]\nKey\t= 1\n", "S", "Key\t", "1"},
        {"tab stays in key, plain name", "[S]\nKey\t= 1\n", "S", "Key", kMissing},
        {"key cut at 60", "[S]\n" + key70 + "=1\n", "S", key70.substr(0, 60), "1"},
        {"key cut at 60, long name", "[S]\n" + key70 + "=1\n", "S", key70, kMissing},
        {"CRLF keeps CR", "[Sound]\r\nNumVoices = 16\r\n", "Sound", "NumVoices", "16\r"},
        {"header keeps blanks", "[ Sound ] junk\nA=1\n", " Sound ", "A", "1"},
        {"empty header", "[]\nA=1\n", "", "A", "1"},
        {"before first header", "A=1\n[S]\nA=2\n", "", "A", "1"},
        {"empty key", "[S]\n=v\n", "S", "", "v"},
        {"later duplicate wins", "[S]\nK=1\nK=2\n", "S", "K", "2"},
        {"case-blind", "[Sound]\nNumVoices=16\n", "SOUND", "NUMVOICES", "16"},
        {"high bytes", "[\xC9t\xE9]\n\xFFk=1\n", "\xC9t\xE9", "\xFFk", "1"},
        {"blank lines", "[S]\n\n \t \n\t\nx\nA=1\n", "S", "A", "1"},
        {"comment fails the file", "; note\n[S]\nA=1\n", "S", "A", kMissing},
        {"indented header fails", " [S]\nA=1\n", "S", "A", kMissing},
        {"text after a good line fails", "[S]\nA=1\nabc\n", "S", "A", kMissing},
        {"line of 511 fits one piece", "[S]\nA=" + v508 + "\n", "S", "A", v508},
        {"line end in next piece", "[S]\nA=" + v509 + "\n", "S", "A", v509},
        {"longer line's tail fails", "[S]\nA=" + v509 + "vvv\n", "S", "A", kMissing},
        // Repairs that a player editing by hand would expect:
        {"header without ]", "[Sound\nA=1\n", "Sound", "A", "1"},
        {"last line without LF", "[S]\nA=1", "S", "A", "1"},
        {"last line ends at =", "[S]\nA=", "S", "A", ""},
        {"last line ends at = blank", "[S]\nA= ", "S", "A", ""},
        {"last line only blanks", "[S]\nA=1\n   \t", "S", "A", "1"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.expected, ReadBack(c.file, c.section, c.key)) << c.what;
}

TEST_F(IniFileTest, SavesSortedInTheEngineLayoutAndReadsItBack)
{
    const std::string zed(70, 'Z'), zed2 = zed + "2";
    {
        InitFile ini(97);
        Set(ini, "w.ini", "sound", "b", "2");
        Set(ini, "w.ini", "Video", "Width", "800");
        Set(ini, "w.ini", "Sound", "A", " 1");
        Set(ini, "w.ini", "SOUND", "c", "3 ");
        Set(ini, "w.ini", "Sound", "B", "two");       // replaces b
        Set(ini, "w.ini", "Video", "Depth", nullptr); // a null value adds nothing...
        Set(ini, "w.ini", "Video", "Width", nullptr); // ...and changes nothing
        Set(ini, "w.ini", zed2.c_str(), "K", "=");   // long names are written whole
        Set(ini, "w.ini", zed.c_str(), "K", "");
    }
    EXPECT_EQ("[Sound]\n\n\tA =  1\n\tb = two\n\tc = 3 \n\n[Video]\n\n\tWidth = 800\n\n[" + zed +
                  "]\n\n\tK = \n\n[" + zed2 + "]\n\n\tK = =\n",
              Contents("w.ini"));
    InitFile ini(97);
    const std::string back[][3] = {{"sound", "a", " 1"}, {"Sound", "B", "two"}, {"Sound", "C", "3 "},
                                   {"Video", "Depth", kMissing}, {zed, "K", ""}, {zed2, "K", "="}};
    for (const auto &row : back)
        EXPECT_EQ(row[2], Get(ini, "w.ini", row[0], row[1])) << row[0] << " " << row[1];

    // Duplicates go back in file order, so the later one still wins.
    Put("dup.ini", "[S]\nK=old\nk=new\nA=x\n");
    EXPECT_EQ("new", Get(ini, "dup.ini", "S", "K"));
    ini.Flush();
    EXPECT_EQ("[S]\n\n\tA = x\n\tK = old\n\tk = new\n", Contents("dup.ini"));
}

TEST_F(IniFileTest, CutsToTheCallersBuffer)
{
    Put("b.ini", "[S]\nK=abcdef\n");
    InitFile ini(97);
    const struct { const char *key, *def; unsigned long size, length; const char *expected; } cases[] = {
        {"K", "d", 7, 6, "abcdef"}, {"K", "d", 6, 5, "abcde"}, {"K", "d", 1, 0, ""},
        {"X", "defaults", 8, 7, "default"}, {"X", nullptr, 5, 0, ""},
    };
    for (const auto &c : cases)
    {
        char out[16];
        memset(out, '#', sizeof out);
        EXPECT_EQ(c.length, ini.GetPrivateProfileString("s", c.key, c.def, out, c.size,
                                                        Path("b.ini").c_str()));
        EXPECT_STREQ(c.expected, out);
        EXPECT_EQ('#', out[c.size]) << "wrote past the buffer";
    }
}

TEST_F(IniFileTest, TouchesTheDiskOnlyForCachedFilesWithEntries)
{
    Put("read.ini", "[S]\nK = v\n");
    Put("empty.ini", "\n\n");
    Put("broken.ini", "; mine\nA=1\n");
    Put("replaced.ini", "; mine\nA=1\n");
    {
        InitFile ini(97);
        EXPECT_EQ("v", Get(ini, "read.ini", "S", "K"));
        Put("read.ini", "[S]\nK = changed\n"); // served from memory now
        EXPECT_EQ("v", Get(ini, "read.ini", "S", "K"));
        EXPECT_EQ(kMissing, Get(ini, "empty.ini", "S", "K"));
        EXPECT_EQ(kMissing, Get(ini, "missing.ini", "S", "K"));
        EXPECT_EQ(kMissing, Get(ini, "broken.ini", "", "A"));
        Put("broken.ini", "A=fixed\n"); // an unreadable file is tried again
        EXPECT_EQ("fixed", Get(ini, "broken.ini", "", "A"));
        Set(ini, "replaced.ini", "S", "New", "n");
        Set(ini, "Case.ini", "S", "K", "w"); // file names are case-blind too
        EXPECT_EQ("w", Get(ini, "CASE.INI", "s", "k"));
    }
    EXPECT_EQ("[S]\n\n\tK = v\n", Contents("read.ini"));
    EXPECT_EQ("\n\n", Contents("empty.ini"));
    EXPECT_EQ("<absent>", Contents("missing.ini"));
    EXPECT_EQ("[]\n\n\tA = fixed\n", Contents("broken.ini"));
    EXPECT_EQ("[S]\n\n\tNew = n\n", Contents("replaced.ini"));
    EXPECT_EQ("[S]\n\n\tK = w\n", Contents("Case.ini"));
    EXPECT_EQ("<absent>", Contents("CASE.INI"));
}

// The launcher never flushes: its settings reach the disk when the global
// cache is destroyed as the process exits normally.
TEST_F(IniFileTest, GlobalCacheSavesAtNormalExit)
{
    Put("launcher.ini", "[Zed]\nB=2\n[alpha]\nA=1\n");
    fflush(nullptr);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        char value[8];
        GetPrivateProfileString("alpha", "A", "", value, sizeof value, Path("launcher.ini").c_str());
        WritePrivateProfileString("S", "K", "v", Path("new.ini").c_str());
        exit(0);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ("[alpha]\n\n\tA = 1\n\n[Zed]\n\n\tB = 2\n", Contents("launcher.ini"));
    EXPECT_EQ("[S]\n\n\tK = v\n", Contents("new.ini"));

    WritePrivateProfileString("S", "K", "now", Path("flush.ini").c_str());
    ProfileFlush();
    EXPECT_EQ("[S]\n\n\tK = now\n", Contents("flush.ini"));
}

TEST_F(IniFileTest, SurvivesGarbage)
{
    std::string noise;
    for (unsigned i = 0, seed = 12345; i < 200000; i++, seed = seed * 1103515245 + 12345)
        noise += (char)(seed >> 16);
    const char nulInValue[] = "[S]\nA=x\0y\nB=2\n", nulInHeader[] = "[S\0]\nA=1\n\0\0\0\n";
    const std::string inputs[] = {
        noise, "[S]\nA=" + noise, "[" + std::string(100000, 'x') + "\nA=1\n",
        "[S]\n" + std::string(100000, '=') + "\n", "[S]\n" + std::string(100000, ' ') + "\nA=1\n",
        std::string(nulInValue, sizeof nulInValue - 1), std::string(nulInHeader, sizeof nulInHeader - 1),
    };
    for (const std::string &in : inputs)
    {
        Put("g.ini", in);
        InitFile ini(97);
        char value[600];
        unsigned long n = ini.GetPrivateProfileString("S", "A", "", value, sizeof value, Path("g.ini").c_str());
        EXPECT_EQ(strlen(value), n);
        Set(ini, "g.ini", "S", "Z", "z");
    }
    EXPECT_EQ("1", ReadBack(inputs[4], "S", "A"));
    EXPECT_EQ("x", ReadBack(inputs[5], "S", "A"));
    EXPECT_EQ("2", ReadBack(inputs[5], "S", "B"));
}

} // namespace
