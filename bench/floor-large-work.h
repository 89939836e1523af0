// SPDX-License-Identifier: MIT
/*
 * The work no launcher can skip in a large game directory, shared by
 * floor-large and floor-largebuilt: each renderer plug-in (./ *.ren) is
 * opened once, asked for its mode list, which is handed back, and closed;
 * the archive folder (./custom/ *.rez) is listed. It prints the counts as a
 * command line, so that the floor's output cannot be had without the work.
 */
#ifndef FLOOR_LARGE_WORK_H
#define FLOOR_LARGE_WORK_H

#include <dlfcn.h>
#include <glob.h>
#include <stdio.h>

typedef void *(*FloorGetModes)(void);
typedef void (*FloorFreeModes)(void *);

static void FloorLargeWork(void)
{
    glob_t plugins;
    size_t i, usable = 0;
    if (glob("./*.ren", 0, NULL, &plugins) == 0)
    {
        for (i = 0; i < plugins.gl_pathc; i++)
        {
            void *plugin = dlopen(plugins.gl_pathv[i], RTLD_LAZY);
            if (!plugin)
                continue;
            FloorGetModes get = (FloorGetModes)dlsym(plugin, "GetSupportedModes");
            FloorFreeModes release = (FloorFreeModes)dlsym(plugin, "FreeModeList");
            void *list = get && release ? get() : NULL;
            if (list)
            {
                usable++;
                release(list);
            }
            dlclose(plugin);
        }
    }
    glob_t archives;
    size_t count = glob("./custom/*.rez", 0, NULL, &archives) == 0 ? archives.gl_pathc : 0;

    printf("./client %zu %zu\n", usable, count);
    globfree(&archives);
    globfree(&plugins);
}

#endif
