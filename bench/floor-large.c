/*
 * Floor of a launcher run without its dialog in a large game directory: the
 * no-dialog floor plus the work no launcher can skip there. Each renderer
 * plug-in (./ *.ren) is opened once, asked for its mode list, which is handed
 * back, and closed; the archive folder (./custom/ *.rez) is listed.
 */
#include <SDL.h>
#include <dlfcn.h>
#include <glob.h>
#include <gtk/gtk.h>
#include <stdio.h>

typedef void *(*GetModes)(void);
typedef void (*FreeModes)(void *);

int main(int argc, char *argv[])
{
    gtk_init(&argc, &argv);
    SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO);

    glob_t plugins;
    size_t i, usable = 0;
    if (glob("./*.ren", 0, NULL, &plugins) == 0)
    {
        for (i = 0; i < plugins.gl_pathc; i++)
        {
            void *plugin = dlopen(plugins.gl_pathv[i], RTLD_LAZY);
            if (!plugin)
                continue;
            GetModes get = (GetModes)dlsym(plugin, "GetSupportedModes");
            FreeModes release = (FreeModes)dlsym(plugin, "FreeModeList");
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
    SDL_Quit();
    return 0;
}
