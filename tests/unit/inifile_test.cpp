// SPDX-License-Identifier: MIT
// The INI cache where no run of the launcher shows it: values cut to the
// caller's buffer, what is served from memory, and when a file reaches the
// disk. How lines are read and written is shown by the golden cases.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "InitFile.h"

namespace {

// A fresh folder of this process's own: CTest runs the tests side by side.
// It goes when the process ends.
const std::string kDir = std::filesystem::temp_directory_path() / ("orvek-ini-" + std::to_string(getpid()) + "/");
const struct RemovedAtExit { ~RemovedAtExit() { std::filesystem::remove_all(kDir); } } kRemovedAtExit;

void Fresh() { std::filesystem::remove_all(kDir), std::filesystem::create_directories(kDir); }
void Put(const std::string &name, const std::string &bytes) { std::ofstream(kDir + name) << bytes; }

std::string Contents(const std::string &name)
{
    std::ifstream in(kDir + name);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return in ? bytes.str() : "<absent>";
}

size_t OpenFiles() { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); }

std::string Get(InitFile &ini, const std::string &file, const char *section, const char *key)
{
    char value[64];
    ini.GetPrivateProfileString(section, key, "<default>", value, sizeof value, (kDir + file).c_str());
    return value;
}

TEST(IniFile, CutsTheValueToTheCallersBuffer)
{
    Fresh();
    Put("b.ini", "[S]\nK=abcdef\n");
    InitFile ini(97);
    const struct { const char *key, *byDefault; unsigned long size, length; const char *expected; } cases[] = {
        {"K", "d", 7, 6, "abcdef"}, {"K", "d", 6, 5, "abcde"}, {"K", "d", 1, 0, ""},
        {"X", "defaults", 8, 7, "default"}, {"X", nullptr, 5, 0, ""},
    };
    InitFile bucketless(0);  // a table needs one bucket at least
    char value[8];
    EXPECT_EQ(6u, bucketless.GetPrivateProfileString("S", "K", "", value, sizeof value, (kDir + "b.ini").c_str()));
    for (const auto &c : cases)
    {
        char out[16];
        memset(out, '#', sizeof out);
        EXPECT_EQ(c.length, ini.GetPrivateProfileString("s", c.key, c.byDefault, out, c.size, (kDir + "b.ini").c_str()));
        EXPECT_STREQ(c.expected, out);
        EXPECT_EQ('#', out[c.size]) << "wrote past the buffer";
    }
}

TEST(IniFile, ServesFromMemoryAndSavesOnlyCachedFilesWithEntries)
{
    Fresh();
    Put("read.ini", "[S]\nK = v\n");
    Put("blank.ini", "\n\n");
    Put("broken.ini", "; mine\nA=1\n");
    const std::string section(70, 'Z'), cased = kDir + "Case.ini";
    const size_t openBefore = OpenFiles();
    {
        InitFile ini(97);
        EXPECT_EQ("v", Get(ini, "read.ini", "S", "K"));
        Put("read.ini", "[S]\nK = changed\n");
        EXPECT_EQ("v", Get(ini, "read.ini", "S", "K"));
        EXPECT_EQ("<default>", Get(ini, "blank.ini", "S", "K"));
        EXPECT_EQ("<default>", Get(ini, "missing.ini", "S", "K"));
        EXPECT_EQ("<default>", Get(ini, "broken.ini", "", "A"));
        Put("broken.ini", "A=fixed\n");  // an unreadable file is tried again
        EXPECT_EQ("fixed", Get(ini, "broken.ini", "", "A"));
        ini.WritePrivateProfileString(section.c_str(), "K", "w", cased.c_str());
        ini.WritePrivateProfileString(section.c_str(), "K", nullptr, cased.c_str());
        ini.WritePrivateProfileString(section.c_str(), "None", nullptr, cased.c_str());
        EXPECT_EQ("w", Get(ini, "CASE.INI", section.c_str(), "k"));  // file names are case-blind too
        ini.Flush();
        EXPECT_EQ("[" + section + "]\n\n\tK = w\n", Contents("Case.ini"));
        ini.WritePrivateProfileString(section.c_str(), "K", "again", cased.c_str());
    }
    EXPECT_EQ("[S]\n\n\tK = v\n", Contents("read.ini"));
    EXPECT_EQ("\n\n", Contents("blank.ini"));
    EXPECT_EQ("<absent>", Contents("missing.ini"));
    EXPECT_EQ("[]\n\n\tA = fixed\n", Contents("broken.ini"));
    EXPECT_EQ("[" + section + "]\n\n\tK = again\n", Contents("Case.ini"));
    EXPECT_EQ("<absent>", Contents("CASE.INI"));
    EXPECT_EQ(openBefore, OpenFiles()) << "a file read or written was left open";
}

// A temporary file's name holds the saving process's id, which no case can
// know. One of that name left from an earlier process with the same id (or
// planted there as a link) gives way: the save is made, nothing the link
// points to is touched, and no temporary file is left.
TEST(IniFile, ALeftoverTemporaryFileOfThisProcessIdGivesWay)
{
    Fresh();
    Put("victim", "untouched\n");
    Put("left.ini", "[S]\nK = old\n");
    const std::string temp = kDir + ".left.ini.tmp." + std::to_string(getpid());
    const std::string planted = kDir + ".planted.ini.tmp." + std::to_string(getpid());
    Put(".left.ini.tmp." + std::to_string(getpid()), "half a file");
    std::filesystem::create_symlink(kDir + "victim", planted);
    {
        InitFile ini(97);
        ini.WritePrivateProfileString("S", "K", "new", (kDir + "left.ini").c_str());
        ini.WritePrivateProfileString("S", "K", "new", (kDir + "planted.ini").c_str());
    }
    EXPECT_EQ("[S]\n\n\tK = new\n", Contents("left.ini"));
    EXPECT_EQ("[S]\n\n\tK = new\n", Contents("planted.ini"));
    EXPECT_EQ("untouched\n", Contents("victim"));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(temp)));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(planted)));
}

// A save refused once the file is open for the checks closes what it opened:
// here a named pipe, which is no regular file and is not replaced.
TEST(IniFile, ARefusedSaveLeavesNoFileOpen)
{
    Fresh();
    ASSERT_EQ(0, mkfifo((kDir + "pipe.ini").c_str(), 0600));
    const size_t openBefore = OpenFiles();
    EXPECT_EQ(nullptr, linuxFOpen((kDir + "pipe.ini").c_str(), "w"));
    EXPECT_EQ(openBefore, OpenFiles());
    EXPECT_TRUE(std::filesystem::is_fifo(kDir + "pipe.ini"));
}

}  // namespace
