// SPDX-License-Identifier: MIT
// Joining a folder and a name where no run shows it: the launcher's folders
// are always ".", but one that ends in "/" gets no second one, and with no
// name the folder only comes to end in "/".
#include <gtest/gtest.h>

#include "main.h"

TEST(AddPath, AddsASlashOnlyWhereNoneEndsTheFolder)
{
    const char *const cases[][3] = {{".", "pixmaps", "./pixmaps"}, {"./", "pixmaps", "./pixmaps"}, {".", nullptr, "./"}};
    for (const auto &c : cases)
    {
        char path[16];
        strcpy(path, c[0]);
        AddPath(path, c[1]);
        EXPECT_STREQ(c[2], path) << c[0];
    }
}
