// The reader of the game's autoexec.cfg: which lines count, quoted and bare
// tokens, pieces of long lines, and fields that never overflow.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>

#include "variables.h"

namespace {

class VariablesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/orvek-cfg-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    int Read(const std::string &bytes)
    {
        std::ofstream(dir + "/autoexec.cfg", std::ios::binary) << bytes;
        return VAR_ReadConfig((dir + "/autoexec.cfg").c_str());
    }
    static std::string Look(const std::string &name)
    {
        const char *value = VAR_Lookup(name.c_str());
        return value ? value : "<unset>";
    }

    std::string dir;
};

TEST_F(VariablesTest, ReadsOnlySavedVariableLines)
{
    ASSERT_EQ(0, Read("\"ScreenWidth\" \"800\"\n"
                      "\"RenderDll\"\t\"soft ware.ren\" trailing words\n"
                      "\"Sound16Bit\" 1 extra\n"
                      "ScreenHeight 600\n  \"Indented\" \"x\"\n// \"Comment\" \"x\"\nbind \"F1\" \"quit\"\n"
                      "\"Twice\" \"first\"\n\"TWICE\" \"second\"\n"
                      "\"OnlyName\"\n"
                      "\"Path\" \"c:\\dir\\\"\n"
                      "\"Bare\" ab\"cd\n\"\" \"empty name\"\n"
                      "\"Open\" \"rest of line\n"));
    const char *expected[][2] = {
        {"ScreenWidth", "800"}, {"screenwidth", "800"}, {"SCREENWIDTH", "800"},
        {"RenderDll", "soft ware.ren"}, {"Sound16Bit", "1"}, {"ScreenHeight", "<unset>"},
        {"Indented", "<unset>"}, {"Comment", "<unset>"}, {"F1", "<unset>"}, {"twice", "second"},
        {"OnlyName", ""}, {"Path", "c:\\dir\\"}, {"Bare", "ab\"cd"}, {"", "empty name"}, {"Open", "rest of line\n"},
    };
    for (const auto &e : expected)
        EXPECT_EQ(e[1], Look(e[0])) << e[0];
}

TEST_F(VariablesTest, StartsEachReadFromAnEmptyTable)
{
    ASSERT_EQ(0, Read("\"A\" \"1\"\n"));
    EXPECT_EQ(0, Read(""));
    EXPECT_EQ("<unset>", Look("A"));
    ASSERT_EQ(0, Read("\"A\" \"1\"\n"));
    EXPECT_EQ(-1, VAR_ReadConfig((dir + "/missing.cfg").c_str()));
    EXPECT_EQ("<unset>", Look("A"));
}

// Lines arrive in pieces of 511 characters, each read only if it starts with
// a double quote; names and values keep their first 127 characters.
TEST_F(VariablesTest, SplitsLongLinesAndCutsLongFields)
{
    const std::string filler(511 - 7, 'x'), name(200, 'n');
    ASSERT_EQ(0, Read("\"Long\" " + filler + "\"Tail\" \"t\"\n\"Skip\" " + filler + "Not \"x\"\n\"" +
                      name + "\" \"" + std::string(300, 'v') + "\"\n"));
    EXPECT_EQ(std::string(127, 'x'), Look("Long"));
    EXPECT_EQ("t", Look("Tail"));
    EXPECT_EQ("<unset>", Look("Not"));
    EXPECT_EQ(std::string(127, 'v'), Look(name.substr(0, 127)));
}

// A token longer than the field keeps 127 characters; the rest of it is
// passed over, not written.
TEST(VariableTokens, FitTheFieldAndEndBehindTheToken)
{
    std::string big = "\"" + std::string(1000, 'y') + "\" z";
    char to[VAR_FIELD_SIZE + 1];
    to[VAR_FIELD_SIZE] = '#';
    EXPECT_STREQ(" z", VAR_ReadString(&big[0], to));
    EXPECT_EQ(std::string(127, 'y'), to);
    EXPECT_EQ('#', to[VAR_FIELD_SIZE]) << "wrote past the field";
}

TEST(VariableHash, StaysInRangeAndIgnoresCase)
{
    EXPECT_EQ(0, VAR_ComputeHash(""));
    EXPECT_EQ(VAR_ComputeHash("RenderDll"), VAR_ComputeHash("RENDERDLL"));
    std::string name;
    for (int i = 1; i < 600; i++)
        ASSERT_LT((unsigned)VAR_ComputeHash((name += (char)(i * 37)).c_str()), 101u) << i;
}

TEST_F(VariablesTest, SurvivesGarbage)
{
    std::string noise;
    for (unsigned i = 0, seed = 777; i < 200000; i++, seed = seed * 1103515245 + 12345)
        noise += i % 97 ? (char)(seed >> 16) : '"';
    EXPECT_EQ(0, Read(noise));
    EXPECT_EQ(0, Read("\"" + std::string(100000, 'q') + "\n\"After\" 1\n"));
    EXPECT_EQ("1", Look("After"));
    const char withNul[] = "\"Nul\" \"a\0b\"\n\"Next\" 2\n";
    EXPECT_EQ(0, Read(std::string(withNul, sizeof withNul - 1)));
    EXPECT_EQ("a", Look("Nul"));
    EXPECT_EQ("2", Look("Next"));
}

} // namespace
