// SPDX-License-Identifier: MIT
// Process-wide state of one launcher run and the start-up helpers that
// every module shares. Everything lives in the working directory, which is
// the game's installation directory.
#ifndef ORVEK_MAIN_H
#define ORVEK_MAIN_H

#include <gtk/gtk.h>

// Room for every path the launcher builds; the autoexec.cfg path alone
// gets a buffer twice as long.
#define ORVEK_PATH_SIZE 256

extern char OrvekDir[ORVEK_PATH_SIZE];     // game installation directory
extern char OrvekIniDir[ORVEK_PATH_SIZE];  // home of OrvekLauncher.ini, RezList and autoexec.cfg
extern char Profile[ORVEK_PATH_SIZE];      // path of OrvekLauncher.ini
extern GtkWidget *WIN_Main;                // the one dialog
extern int Popup;                          // show the dialog at all?
extern int FunctionCode;                   // outcome: 0 nothing, 1 launch, 2 multiplayer launch

enum { FUNCTION_NONE = 0, FUNCTION_LAUNCH = 1, FUNCTION_MULTIPLAYER = 2 };

// Appends "/" unless `path` already ends in one, then `component` (if any).
// The caller guarantees that the joined path fits its buffer.
void AddPath(char *path, const char *component);

// Fills `path` (of `size` bytes) with the folder that holds the launcher's
// program file, behind any links to it, joined with `relative`: for an
// installed game, a place in its install. Returns 0, leaving `path`
// unusable, where the program file cannot be named or the joined path would
// not fit.
int InstallPath(char *path, size_t size, const char *relative);

// Names the INI file, reads the game's configuration and applies the saved
// settings (and with them the choice whether to pop up) to the dialog.
void InitStartupFiles(void);

// SDL turns SIGINT and SIGTERM into quit events that only its own event loop
// would read; the launcher gives them back their default, so that Ctrl+C or
// a session's end stops it. Called after every SDL_Init.
void RestoreTerminationSignals(void);

#endif
