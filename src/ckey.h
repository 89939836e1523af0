// SPDX-License-Identifier: MIT
// Picking the console key by pressing it in a small SDL window.
#ifndef ORVEK_CKEY_H
#define ORVEK_CKEY_H

// The SDL key symbol released in the capture window; -1 when the player
// cancelled with Escape or by closing the window; SDLK_CARET (94) when no
// window could be opened. Needs SDL video initialised, and leaves it so.
int GetCKey(void);

#endif
