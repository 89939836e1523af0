// SPDX-License-Identifier: MIT
// "orvek-launcher --message TEXT": the start script's way to tell a player
// who started the game from a menu, with no terminal to read, why the game
// did not start.
#ifndef ORVEK_MESSAGE_H
#define ORVEK_MESSAGE_H

// Shows TEXT in a modal error window titled "Orvek" with one Close button,
// and returns once the player has closed it.
void MSG_Show(const char *text);

// When the command line (GTK's own options already taken out) is exactly
// "--message TEXT", shows TEXT and returns 1; returns 0 for any other
// command line, which the launcher ignores as it always has.
int MSG_ShowFromArguments(int argc, char *argv[]);

#endif
