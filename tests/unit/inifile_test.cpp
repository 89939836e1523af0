// SPDX-License-Identifier: MIT
// The INI saves where no run of the launcher shows them: a temporary file
// of this very process left behind, and the files a refused save opened.
// How files are read, cut and written is shown by the golden cases, and the
// buffers are fuzzed.
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
