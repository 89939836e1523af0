// SPDX-License-Identifier: MIT
// Game content the dialog offers: renderer plug-ins with their display
// modes, and the resource archives under custom/.
#ifndef ORVEK_LAUNCHER_H
#define ORVEK_LAUNCHER_H

#include <glob.h>

// Renderer plug-ins and display modes.
extern glob_t globdata;     // the plug-ins found, sorted; alive for the whole run
extern int renderindex;     // chosen plug-in = its row in CLIST_Renderer
extern int renderwidth;     // chosen screen size
extern int renderheight;
extern char tempdll[256];   // description of the plug-in read last

void FillRenderList(const char *orvekpath);
void FillResolutionList(int index, int active);
// Path of the chosen plug-in as the search found it; null when none was found.
const char *GetRenderDLL(void);

// Resource archive lists.
extern int AvailRow;        // selected row of CLIST_AvailFiles, -1 for none
extern int LoadRow;         // selected row of CLIST_LoadFiles, -1 for none

void AddRezEntryToList(int ind, int add);
void LoadRezList(void);
void SaveRezList(void);

#endif
