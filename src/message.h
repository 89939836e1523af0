// SPDX-License-Identifier: MIT
// Messages in a window, for a player who started the game from a menu and
// has no terminal to read: "orvek-launcher --message TEXT", the start
// script's way to say why the game did not start, and the launcher's own
// word on choices it could not save.
#ifndef ORVEK_MESSAGE_H
#define ORVEK_MESSAGE_H

// Shows TEXT in a modal error window titled "Orvek" with one Close button,
// and returns once the player has closed it.
void MSG_Show(const char *text);

// When the command line (GTK's own options already taken out) is exactly
// "--message TEXT", shows TEXT and returns 1; returns 0 for any other
// command line, which the launcher ignores as it always has.
int MSG_ShowFromArguments(int argc, char *argv[]);

// At the very end of a run in which the player ended the dialog with a
// launch: what could not be saved of the choices, in the same window (a
// player who started the game from a menu reads no standard error). The
// game starts once the window is closed. Nothing after a run without the
// dialog, after Cancel, or when every file was saved.
void MSG_TellNotSaved(void);

#endif
