// SPDX-License-Identifier: MIT
// The reader of the game's autoexec.cfg: which lines count, quoted and bare
// tokens, pieces of long lines, and fields that never overflow. The launcher
// shows only four of its variables, so the rules are checked here.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "variables.h"

namespace {

std::string Look(const std::string &name)
{
    const char *value = VAR_Lookup(name.c_str());
    return value ? value : "<unset>";
}

TEST(Variables, ReadsOnlySavedVariableLinesByTheTokenRules)
{
    const std::string file = std::filesystem::temp_directory_path() / ("orvek-" + std::to_string(getpid()) + ".cfg");
    const std::string filler(511 - 7, 'x'), name(200, 'n');
    std::ofstream(file) << "\"ScreenWidth\" \"800\"\n"
                           "\"RenderDll\"\t\"soft ware.ren\" trailing words\n"
                           "\"Sound16Bit\" 1 extra\n"
                           "ScreenHeight 600\n  \"Indented\" \"x\"\n// \"Comment\" \"x\"\nbind \"F1\" \"quit\"\n"
                           "\"Twice\" \"first\"\n\"TWICE\" \"second\"\n\"OnlyName\"\n\"Path\" \"c:\\dir\\\"\n"
                           "\"Bare\" ab\"cd\n\"\" \"empty name\"\n\"Open\" \"rest of line\n"
                           "\"Long\" " + filler + "\"Tail\" \"t\"\n\"Skip\" " + filler + "Not \"x\"\n\"" +
                               name + "\" \"" + std::string(300, 'v') + "\"\n";
    ASSERT_EQ(0, VAR_ReadConfig(file.c_str()));
    const std::string expected[][2] = {
        {"ScreenWidth", "800"}, {"screenwidth", "800"}, {"SCREENWIDTH", "800"},
        {"RenderDll", "soft ware.ren"}, {"Sound16Bit", "1"}, {"ScreenHeight", "<unset>"},
        {"Indented", "<unset>"}, {"Comment", "<unset>"}, {"F1", "<unset>"}, {"twice", "second"},
        {"OnlyName", ""}, {"Path", "c:\\dir\\"}, {"Bare", "ab\"cd"}, {"", "empty name"},
        {"Open", "rest of line\n"}, {"Long", std::string(127, 'x')}, {"Tail", "t"}, {"Not", "<unset>"},
        {name.substr(0, 127), std::string(127, 'v')},
    };
    for (const auto &e : expected)
        EXPECT_EQ(e[1], Look(e[0])) << e[0];

    // Every read starts from an empty table, also one that fails.
    std::ofstream(file) << "\"Other\" 1\n";
    ASSERT_EQ(0, VAR_ReadConfig(file.c_str()));
    EXPECT_EQ("<unset>", Look("ScreenWidth"));
    std::filesystem::remove(file);
    EXPECT_EQ(-1, VAR_ReadConfig(file.c_str()));
    EXPECT_EQ("<unset>", Look("Other"));
}

TEST(Variables, TokenFitsItsFieldAndHashIgnoresCase)
{
    std::string big = "\"" + std::string(1000, 'y') + "\" z";
    char to[VAR_FIELD_SIZE + 1];
    to[VAR_FIELD_SIZE] = '#';
    EXPECT_STREQ(" z", VAR_ReadString(&big[0], to));
    EXPECT_EQ(std::string(127, 'y'), to);
    EXPECT_EQ('#', to[VAR_FIELD_SIZE]) << "wrote past the field";

    EXPECT_EQ(0, VAR_ComputeHash(""));
    EXPECT_EQ(VAR_ComputeHash("RenderDll"), VAR_ComputeHash("RENDERDLL"));
    std::string name;
    for (int i = 1; i < 600; i++)
        ASSERT_LT((unsigned)VAR_ComputeHash((name += (char)(i * 37)).c_str()), 101u) << i;
}

}  // namespace
