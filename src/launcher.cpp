// SPDX-License-Identifier: MIT
// Renderer plug-ins: find the *.ren files of the game, show one row per
// plug-in and the display modes of the chosen one, and preselect what the
// game last ran with. Each plug-in is loaded only while its modes are read.
#include "launcher.h"

#include <dlfcn.h>
#include <gtk/gtk.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "clist.h"
#include "language.h"
#include "main.h"
#include "rmode.h"
#include "support.h"
#include "variables.h"

glob_t globdata;
int renderindex = 0;
int renderwidth = 0;
int renderheight = 0;
char tempdll[256];

static const char kPattern[] = "*.ren";

// A resolution row carries its size packed into one pointer-sized word,
// 16 bits each way.
#define MAX_PACKED_SIZE 0xFFFFu

// A game variable read as a decimal int; 0 when unset or without digits.
static int IntVariable(const char *name)
{
    const char *text = VAR_Lookup(name);
    if (!text)
        return 0;
    long value = strtol(text, NULL, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return (int)value;
}

// Whether `path` names the plug-in the game last used: "RenderDll" must be
// its file name, or a trailing part of its path that starts behind a "/",
// in any letter case.
static int IsConfiguredRenderer(const char *path, const char *renderdll)
{
    size_t length = strlen(path), tail = strlen(renderdll);
    return length > tail && path[length - tail - 1] == '/' &&
           strcasecmp(path + length - tail, renderdll) == 0;
}

static const char *FileName(const char *path)
{
    const char *slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

void FillRenderList(const char *orvekpath)
{
    const char *renderdll = VAR_Lookup("RenderDll");
    renderwidth = IntVariable("ScreenWidth");
    renderheight = IntVariable("ScreenHeight");

    // The one search of the run: GetRenderDLL hands out its strings until
    // the run ends. The directory is the game directory, ".".
    char buffer[256];
    strcpy(buffer, orvekpath);
    AddPath(buffer, kPattern);
    glob(buffer, 0, NULL, &globdata);

    GtkWidget *clist = FindDialogWidget("CLIST_Renderer");
    if (!clist)
        return;

    for (size_t i = 0; i < globdata.gl_pathc; i++)
    {
        int select = renderdll ? IsConfiguredRenderer(globdata.gl_pathv[i], renderdll) : i == 0;
        FillResolutionList((int)i, select);
        // The list copies the text before its own selection of a first row
        // runs the handler, which reads a plug-in again and overwrites tempdll.
        ListAppend(clist, tempdll);
        if (select)
            ListSelectRow(clist, (gint)i);
    }
}

// Rows of the modes of `list`, preselecting the current size. Of several
// modes of that size (in other depths) the last one is selected, as if each
// had been selected in turn; selecting only that one spares the list a walk
// to unselect each earlier one, which grows with the square of the modes.
static void ShowModes(GtkWidget *clist, const RMode *list)
{
    static char buffer[256];
    gint chosen = -1;

    ListFreeze(clist);
    for (const RMode *mode = list; mode; mode = mode->m_pNext)
    {
        // A size that does not fit the packed row data could not be chosen
        // faithfully, so it is not offered.
        if (mode->m_Width > MAX_PACKED_SIZE || mode->m_Height > MAX_PACKED_SIZE)
            continue;
        snprintf(buffer, sizeof buffer, "%lux%lu-%lu", (unsigned long)mode->m_Width,
                 (unsigned long)mode->m_Height, (unsigned long)mode->m_BitDepth);
        gint row = ListAppend(clist, buffer);
        ListSetRowData(clist, row, GUINT_TO_POINTER(mode->m_Width << 16 | mode->m_Height));
        if (mode->m_Width == (unsigned)renderwidth && mode->m_Height == (unsigned)renderheight)
            chosen = row;
    }
    if (chosen >= 0)
        ListSelectRow(clist, chosen);
    ListThaw(clist);
}

void FillResolutionList(int index, int active)
{
    GtkWidget *clist = FindDialogWidget("CLIST_Resolutions");
    if (!clist)
        return;

    const char *path = globdata.gl_pathv[index];
    // A plug-in that cannot be read still gets a row; naming its file tells
    // the player which one to replace.
    snprintf(tempdll, sizeof tempdll, _("%s (unusable)"), FileName(path));

    void *plugin = dlopen(path, RTLD_LAZY);
    if (active)
        ListClear(clist);
    if (!plugin)
        return;

    GetSupportedModesFunc getModes = (GetSupportedModesFunc)dlsym(plugin, "GetSupportedModes");
    FreeModeListFunc freeModes = (FreeModeListFunc)dlsym(plugin, "FreeModeList");
    RMode *list = getModes && freeModes ? getModes() : NULL;
    if (!list)
    {
        dlclose(plugin);
        return;
    }

    if (active)
        ShowModes(clist, list);

    // The plug-in's field need not be terminated; without a description the
    // file name is all the player can go by.
    size_t length = strnlen(list->m_Description, sizeof list->m_Description);
    if (length > 0)
        snprintf(tempdll, sizeof tempdll, "%.*s", (int)length, list->m_Description);
    else
        snprintf(tempdll, sizeof tempdll, "%s", FileName(path));

    freeModes(list);
    dlclose(plugin);
}

const char *GetRenderDLL(void)
{
    if (renderindex < 0 || (size_t)renderindex >= globdata.gl_pathc)
        return NULL;
    return globdata.gl_pathv[renderindex];
}
