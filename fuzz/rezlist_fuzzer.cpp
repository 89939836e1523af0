// SPDX-License-Identifier: MIT
// The archive list file RezList on arbitrary bytes, restored into the real
// dialog's archive page and saved again. The game directory lives in memory
// (a tmpfs folder under /dev/shm) and holds a fixed set of archives, among
// them names of 255 bytes, blanks, bytes above 127 and glob characters.
// Besides the sanitizers' checks, every archive found must stay in exactly
// one of the two lists. It needs an X display (scripts/fuzz.sh starts one).
#include <gtk/gtk.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "clist.h"
#include "interface.h"
#include "launcher.h"
#include "main.h"
#include "support.h"

static const std::string kArchives[] = {
    "a.rez", "A.rez", "b c.rez", "\xe9t\xe9.rez", "*.rez", "[x].rez", "dup.rez", "DUP.rez", std::string(251, 'L') + ".rez",
};
static std::string dir;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char pattern[] = "/dev/shm/orvek-fuzz-XXXXXX";
    if (!mkdtemp(pattern) || !gtk_init_check(NULL, NULL))
        abort();
    dir = pattern;
    mkdir((dir + "/custom").c_str(), 0755);
    for (const std::string &name : kArchives)
        std::ofstream(dir + "/custom/" + name);
    std::ofstream(dir + "/OrvekLauncher.ini") << "[RezFiles]\nAlwaysLoad = Yes\n";
    snprintf(OrvekDir, sizeof OrvekDir, "%s", dir.c_str());
    snprintf(OrvekIniDir, sizeof OrvekIniDir, "%s", dir.c_str());
    snprintf(Profile, sizeof Profile, "%s/OrvekLauncher.ini", dir.c_str());
    WIN_Main = create_WIN_Main();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A fresh start, as at launch: empty lists, nothing selected.
    GtkWidget *avail = FindDialogWidget("CLIST_AvailFiles"), *load = FindDialogWidget("CLIST_LoadFiles");
    ListClear(avail);
    ListClear(load);
    AvailRow = LoadRow = -1;
    std::ofstream(dir + "/RezList", std::ios::binary).write((const char *)data, size);
    LoadRezList();
    SaveRezList();
    if (ListRows(avail) + ListRows(load) != (int)(sizeof kArchives / sizeof *kArchives))
        __builtin_trap();
    return 0;
}
