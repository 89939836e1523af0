// SPDX-License-Identifier: MIT
// Where the launcher's catalogues are. Nothing is read here: gettext opens
// the catalogue of the player's language at the first text translated, and
// none at all in the C locale.
#include "language.h"

#include <limits.h>
#include <string.h>
#include <unistd.h>

#include "main.h"

static const char kDomain[] = "orvek";

void LANG_Init(const char *installed)
{
    char folder[PATH_MAX];
    strcpy(folder, OrvekDir);
    AddPath(folder, "locale");
    if (access(folder, F_OK) == 0 || InstallPath(folder, sizeof folder, installed))
        bindtextdomain(kDomain, folder);
    // GTK takes UTF-8 whatever the locale's character set.
    bind_textdomain_codeset(kDomain, "UTF-8");
    textdomain(kDomain);
}
