// SPDX-License-Identifier: MIT
/*
 * The sample renderer plug-ins, all from this one file. Each build chooses
 * what its plug-in reports with compile definitions:
 *
 *   RENDERER_FILE         the plug-in's file name, for m_RenderDLL
 *   RENDERER_NAME         internal name
 *   RENDERER_DESCRIPTION  the text the player sees
 *   RENDERER_HARDWARE     1 for a hardware renderer (default 0)
 *   RENDERER_MODES        width, height, depth triples, in the order listed
 */
#include <stdlib.h>
#include <string.h>

#include "rmode.h"

#ifndef RENDERER_HARDWARE
#define RENDERER_HARDWARE 0
#endif

/* Copies text into a fixed field, cut short rather than overrun. */
static void CopyField(char *to, size_t size, const char *from)
{
    strncpy(to, from, size - 1);
    to[size - 1] = '\0';
}

RMode *GetSupportedModes(void)
{
    static const uint32_t modes[] = {RENDERER_MODES};
    RMode *list = NULL, **tail = &list;
    size_t i;

    for (i = 0; i + 2 < sizeof(modes) / sizeof(modes[0]); i += 3)
    {
        RMode *mode = (RMode *)calloc(1, sizeof(RMode));
        if (!mode)
        {
            FreeModeList(list);
            return NULL;
        }
        mode->m_bHardware = RENDERER_HARDWARE;
        CopyField(mode->m_RenderDLL, sizeof(mode->m_RenderDLL), RENDERER_FILE);
        CopyField(mode->m_InternalName, sizeof(mode->m_InternalName), RENDERER_NAME);
        CopyField(mode->m_Description, sizeof(mode->m_Description), RENDERER_DESCRIPTION);
        mode->m_Width = modes[i];
        mode->m_Height = modes[i + 1];
        mode->m_BitDepth = modes[i + 2];
        *tail = mode;
        tail = &mode->m_pNext;
    }
    return list;
}

void FreeModeList(RMode *list)
{
    while (list)
    {
        RMode *next = list->m_pNext;
        free(list);
        list = next;
    }
}
