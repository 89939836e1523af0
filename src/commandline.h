// SPDX-License-Identifier: MIT
// Composes the game client's command line from the dialog's state.
#ifndef ORVEK_COMMANDLINE_H
#define ORVEK_COMMANDLINE_H

// Writes the line to standard output, without its end (main adds
// "+multiplayer 1" and the line feed, or the bare line feed).
void EmitCommandLineForOrvek(void);

void CMD_AddRezFiles(void);
void CMD_AddDisplay(void);
void CMD_AddSound(void);
void CMD_AddAdvanced(void);
void CMD_AddCustom(void);

// 1 when the toggle button of that name is active, else 0.
int CHECK(const char *name);

#endif
