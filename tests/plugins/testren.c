// SPDX-License-Identifier: MIT
/*
 * A renderer plug-in for the tests, configured at run time by a side file:
 * the plug-in's own path plus ".modes", first line the description, then one
 * mode "WxH-D" per line. So one build, copied under several names, stands in
 * for many plug-ins. No side file or no modes: GetSupportedModes gives NULL.
 * A description longer than its field fills the field and the padding after
 * it without a terminating NUL, as a careless plug-in might.
 * Built once as is and once each without one entry point (TESTREN_NO_GET,
 * TESTREN_NO_FREE). FreeModeList aborts on a list it did not hand out, or
 * one handed back twice, so that a launcher that does so crashes here. A
 * list out in the launcher's hands is marked by the file PLUGIN.handed-out,
 * so that one never handed back shows after the run.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "rmode.h"

static RMode *handed_out;

/* The path of this plug-in's file with SUFFIX appended; 0 when unknown. */
static int SidePath(char *path, size_t size, const char *suffix)
{
    Dl_info self;
    return dladdr((void *)&SidePath, &self) && self.dli_fname &&
           snprintf(path, size, "%s%s", self.dli_fname, suffix) < (int)size;
}

#ifndef TESTREN_NO_GET
RMode *GetSupportedModes(void)
{
    char path[4096], description[512], line[256];
    unsigned width, height, depth;
    RMode *list = NULL, **tail = &list;
    FILE *file = SidePath(path, sizeof path, ".modes") ? fopen(path, "r") : NULL;

    if (!file || !fgets(description, sizeof description, file))
        return file ? fclose(file), NULL : NULL;
    description[strcspn(description, "\n")] = '\0';
    size_t length = strlen(description), field = sizeof list->m_Description;
    while (fgets(line, sizeof line, file))
        if (sscanf(line, "%ux%u-%u", &width, &height, &depth) == 3)
        {
            RMode *mode = *tail = calloc(1, sizeof *mode);
            if (!mode)
                abort();
            if (length >= field)
                memset(mode->m_Description, 'P', offsetof(RMode, m_Width) - offsetof(RMode, m_Description));
            memcpy(mode->m_Description, description, length < field ? length : field);
            mode->m_Width = width;
            mode->m_Height = height;
            mode->m_BitDepth = depth;
            tail = &mode->m_pNext;
        }
    fclose(file);
    if (list && handed_out)
        abort(); /* the earlier list never came back */
    if (list && SidePath(path, sizeof path, ".handed-out"))
        fclose(fopen(path, "w"));
    return handed_out = list;
}
#endif

#ifndef TESTREN_NO_FREE
void FreeModeList(RMode *list)
{
    char mark[4096];
    if (!list || list != handed_out)
        abort();
    if (SidePath(mark, sizeof mark, ".handed-out"))
        remove(mark);
    handed_out = NULL;
    while (list)
    {
        RMode *next = list->m_pNext;
        free(list);
        list = next;
    }
}
#endif
