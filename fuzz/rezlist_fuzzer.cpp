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

#include "interface.h"
#include "launcher.h"
#include "main.h"
#include "support.h"

static const char *const kArchives[] = {
    "a.rez", "A.rez", "b c.rez", "\xe9t\xe9.rez", "*.rez", "[x].rez", "dup.rez", "DUP.rez",
};

static void Put(const std::string &path, const void *data, size_t size)
{
    std::ofstream(path, std::ios::binary).write((const char *)data, size);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static std::string dir;
    static GtkCList *avail, *load;
    if (dir.empty())
    {
        char pattern[] = "/dev/shm/orvek-fuzz-XXXXXX";
        if (!mkdtemp(pattern) || !gtk_init_check(NULL, NULL))
            __builtin_trap();
        dir = pattern;
        mkdir((dir + "/custom").c_str(), 0755);
        for (const char *name : kArchives)
            Put(dir + "/custom/" + name, "", 0);
        Put(dir + "/custom/" + std::string(251, 'L') + ".rez", "", 0);
        Put(dir + "/OrvekLauncher.ini", "[RezFiles]\nAlwaysLoad = Yes\n", 28);
        snprintf(OrvekDir, sizeof OrvekDir, "%s", dir.c_str());
        snprintf(OrvekIniDir, sizeof OrvekIniDir, "%s", dir.c_str());
        snprintf(Profile, sizeof Profile, "%s/OrvekLauncher.ini", dir.c_str());
        WIN_Main = create_WIN_Main();
        avail = GTK_CLIST(lookup_widget(WIN_Main, "CLIST_AvailFiles"));
        load = GTK_CLIST(lookup_widget(WIN_Main, "CLIST_LoadFiles"));
    }
    // A fresh start, as at launch: empty lists, nothing selected.
    gtk_clist_clear(avail);
    gtk_clist_clear(load);
    AvailRow = LoadRow = -1;
    Put(dir + "/RezList", data, size);
    LoadRezList();
    SaveRezList();
    if (avail->rows + load->rows != (int)(sizeof kArchives / sizeof *kArchives) + 1)
        __builtin_trap();
    return 0;
}
