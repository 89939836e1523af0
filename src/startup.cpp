// SPDX-License-Identifier: MIT
// The run's global state, path joining (also from the launcher's own
// folder), and loading what the dialog starts from.
#include "main.h"

#include <signal.h>
#include <string.h>
#include <unistd.h>

#include "launcher.h"
#include "settings.h"
#include "variables.h"

char OrvekDir[ORVEK_PATH_SIZE];
char OrvekIniDir[ORVEK_PATH_SIZE];
char Profile[ORVEK_PATH_SIZE];
GtkWidget *WIN_Main = NULL;
int Popup = 1;
int FunctionCode = FUNCTION_NONE;

void AddPath(char *path, const char *component)
{
    size_t len = strlen(path);
    // An empty path stays relative: joining "" and "x" gives "x", not "/x",
    // so nothing is ever looked up at the file-system root by accident.
    if (len > 0 && path[len - 1] != '/')
    {
        path[len++] = '/';
        path[len] = '\0';
    }
    if (component)
        strcpy(path + len, component);
}

int InstallPath(char *path, size_t size, const char *relative)
{
    // The kernel names the program file itself, behind any link to it (a
    // player's own game directory holds one), always as a full path.
    ssize_t length = readlink("/proc/self/exe", path, size);
    if (length < 0 || (size_t)length >= size)
        return 0;
    path[length] = '\0';
    char *name = strrchr(path, '/') + 1;
    if ((size_t)(name - path) + strlen(relative) >= size)
        return 0;
    strcpy(name, relative);
    return 1;
}

void RestoreTerminationSignals(void)
{
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
}

void InitStartupFiles(void)
{
    char configPath[2 * ORVEK_PATH_SIZE];

    strcpy(Profile, OrvekIniDir);
    AddPath(Profile, "OrvekLauncher.ini");

    strcpy(configPath, OrvekIniDir);
    AddPath(configPath, "autoexec.cfg");
    VAR_ReadConfig(configPath);

    ReadSettings();
    // The archive lists survive runs with and without the dialog, so they
    // are restored here, once the settings are known and before the dialog
    // can be shown.
    LoadRezList();
}
