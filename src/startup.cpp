// SPDX-License-Identifier: MIT
// The run's global state, path joining, and loading what the dialog starts from.
#include "main.h"

#include <signal.h>
#include <string.h>

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
