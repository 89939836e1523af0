/*
 * The sample renderer plug-ins, all from this one file. Each build chooses
 * what its plug-in reports with compile definitions:
 *
 *   RENDERER_FILE         the plug-in's file name, for m_RenderDLL
 *   RENDERER_NAME         internal name
 *   RENDERER_DESCRIPTION  the text the player sees
 *   RENDERER_HARDWARE     1 for a hardware renderer (default 0)
 *   RENDERER_MODES        width, height, depth triples, in the order listed;
 *                         without it GetSupportedModes reports no modes
 *   RENDERER_MODES_FILE   read the description and modes at run time from
 *                         PLUGIN.modes next to the plug-in's own file
 *                         (first line the description, then one WxH-D per
 *                         line), so that one build, copied under several
 *                         names, can stand in for many plug-ins; each call
 *                         is also logged to PLUGIN.calls when that file
 *                         exists, and m_RenderDLL is the name it was
 *                         copied to
 *   RENDERER_WITHOUT_FREE leave out FreeModeList, as a broken plug-in would
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "rmode.h"

#ifndef RENDERER_FILE
#define RENDERER_FILE "renderer.ren"
#endif
#ifndef RENDERER_NAME
#define RENDERER_NAME "renderer"
#endif
#ifndef RENDERER_DESCRIPTION
#define RENDERER_DESCRIPTION "Renderer"
#endif
#ifndef RENDERER_HARDWARE
#define RENDERER_HARDWARE 0
#endif

#if defined(RENDERER_MODES) || defined(RENDERER_MODES_FILE)

/* Copies text into a fixed field, cut short rather than overrun. */
static void CopyField(char *to, size_t size, const char *from)
{
    strncpy(to, from, size - 1);
    to[size - 1] = '\0';
}

/* Appends one mode behind *tail; returns the new tail, or NULL when out of
   memory. */
static RMode **AddMode(RMode **tail, const char *file, const char *description, uint32_t width,
                       uint32_t height, uint32_t depth)
{
    RMode *mode = (RMode *)calloc(1, sizeof(RMode));
    if (!mode)
        return NULL;
    mode->m_bHardware = RENDERER_HARDWARE;
    CopyField(mode->m_RenderDLL, sizeof(mode->m_RenderDLL), file);
    CopyField(mode->m_InternalName, sizeof(mode->m_InternalName), RENDERER_NAME);
    CopyField(mode->m_Description, sizeof(mode->m_Description), description);
    mode->m_Width = width;
    mode->m_Height = height;
    mode->m_BitDepth = depth;
    *tail = mode;
    return &mode->m_pNext;
}

#endif

static void FreeModes(RMode *list)
{
    while (list)
    {
        RMode *next = list->m_pNext;
        free(list);
        list = next;
    }
}

#ifdef RENDERER_MODES_FILE

/* The path this plug-in was opened by. */
static const char *SelfPath(void)
{
    Dl_info info;
    if (!dladdr((void *)&SelfPath, &info) || !info.dli_fname)
        return "";
    return info.dli_fname;
}

static const char *SelfName(void)
{
    const char *path = SelfPath(), *slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

/* Path of this plug-in's file with SUFFIX appended; 0 when it does not fit. */
static int SidePath(char *path, size_t size, const char *suffix)
{
    return snprintf(path, size, "%s%s", SelfPath(), suffix) < (int)size;
}

/* Lets a test see how the launcher used the plug-in. */
static void LogCall(const char *what)
{
    char path[512];
    FILE *log;
    if (!SidePath(path, sizeof(path), ".calls") || !(log = fopen(path, "r+")))
        return;
    fseek(log, 0, SEEK_END);
    fprintf(log, "%s\n", what);
    fclose(log);
}

/* The list handed out last, so that FreeModeList can tell it gets it back. */
static RMode *handed_out;

static RMode *BuildModes(void)
{
    char path[512], description[256], line[256];
    RMode *list = NULL, **tail = &list;
    FILE *file;
    unsigned width, height, depth;

    if (!SidePath(path, sizeof(path), ".modes") || !(file = fopen(path, "r")))
        return NULL;
    if (!fgets(description, sizeof(description), file))
        description[0] = '\0';
    description[strcspn(description, "\r\n")] = '\0';
    while (tail && fgets(line, sizeof(line), file))
        if (sscanf(line, "%ux%u-%u", &width, &height, &depth) == 3)
            tail = AddMode(tail, SelfName(), description, width, height, depth);
    fclose(file);
    if (!tail)
    {
        FreeModes(list);
        return NULL;
    }
    return list;
}

#else

static RMode *BuildModes(void)
{
#ifdef RENDERER_MODES
    static const uint32_t modes[] = {RENDERER_MODES};
    RMode *list = NULL, **tail = &list;
    size_t i;

    for (i = 0; i + 2 < sizeof(modes) / sizeof(modes[0]); i += 3)
    {
        tail = AddMode(tail, RENDERER_FILE, RENDERER_DESCRIPTION, modes[i], modes[i + 1], modes[i + 2]);
        if (!tail)
        {
            FreeModes(list);
            return NULL;
        }
    }
    return list;
#else
    return NULL;
#endif
}

#endif

RMode *GetSupportedModes(void)
{
    RMode *list = BuildModes();
#ifdef RENDERER_MODES_FILE
    LogCall("GetSupportedModes");
    handed_out = list;
#endif
    return list;
}

#ifndef RENDERER_WITHOUT_FREE
void FreeModeList(RMode *list)
{
#ifdef RENDERER_MODES_FILE
    if (!list || list != handed_out)
    {
        /* Not ours: freeing it could only hide the fault behind a crash. */
        LogCall("FreeModeList of a foreign list");
        return;
    }
    LogCall("FreeModeList");
    handed_out = NULL;
#endif
    FreeModes(list);
}
#endif
