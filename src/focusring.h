// SPDX-License-Identifier: MIT
// The keyboard focus, drawn so that a player sees it on any background.
#ifndef ORVEK_FOCUSRING_H
#define ORVEK_FOCUSRING_H

// Installs the focus's look for every window of the program.
void FOCUS_Install(void);

#endif
