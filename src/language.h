// SPDX-License-Identifier: MIT
// The player's language: the launcher's texts are translated through
// gettext, text domain "orvek". Texts in tables are marked with N_() and
// translated where they are used, with _().
#ifndef ORVEK_LANGUAGE_H
#define ORVEK_LANGUAGE_H

#include <glib/gi18n.h>

// Binds the text domain to the catalogues: the game directory's own folder
// "locale" for a game run in place (the demo), otherwise `installed`, the
// way from the launcher's own folder to its install's locale folder. A
// language without a catalogue is English, with no word said about it.
void LANG_Init(const char *installed);

#endif
