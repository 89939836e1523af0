/*
 * Renderer plug-ins that break the rules, for the hardening tests. One
 * source, one behaviour per build, chosen by a compile definition:
 *
 *   HOSTILE_NO_GET        exports FreeModeList only
 *   HOSTILE_NO_FREE       exports GetSupportedModes only (its list leaks,
 *                         since nobody may free it)
 *   HOSTILE_NO_LIST       GetSupportedModes returns NULL
 *   HOSTILE_MANY_MODES    10,000 modes: 1x1-16 up to 100x100-16, then
 *                         800x600-32 as the very last one
 *   HOSTILE_WIDE          modes wider or higher than 65,535 pixels, and one
 *                         of exactly 65,535 x 65,535, before 800x600-16
 *   HOSTILE_UNTERMINATED  every text field filled to its end without a
 *                         terminating NUL, and the padding behind the
 *                         description filled too, so that a copy that runs
 *                         on past the field picks up bytes that are not
 *                         'D'; one mode, 640x480-16
 *
 * FreeModeList counts what it frees: a list it did not hand out, or one it
 * gets twice, makes it abort, so that a misbehaving launcher crashes here.
 */
#include <stdlib.h>
#include <string.h>

#include "rmode.h"

#ifndef HOSTILE_DESCRIPTION
#define HOSTILE_DESCRIPTION "Hostile renderer"
#endif

static RMode *handed_out;

static RMode *NewMode(uint32_t width, uint32_t height, uint32_t depth)
{
    RMode *mode = (RMode *)calloc(1, sizeof(RMode));
    if (!mode)
        abort();
    strcpy(mode->m_RenderDLL, "hostile.ren");
    strcpy(mode->m_InternalName, "hostile");
    strcpy(mode->m_Description, HOSTILE_DESCRIPTION);
    mode->m_Width = width;
    mode->m_Height = height;
    mode->m_BitDepth = depth;
    return mode;
}

/* Builds the list from width, height, depth triples. */
__attribute__((unused)) static RMode *FromTriples(const uint32_t *triples, size_t count)
{
    RMode *list = NULL, **tail = &list;
    size_t i;
    for (i = 0; i + 2 < count; i += 3)
    {
        *tail = NewMode(triples[i], triples[i + 1], triples[i + 2]);
        tail = &(*tail)->m_pNext;
    }
    return list;
}

#ifndef HOSTILE_NO_GET
RMode *GetSupportedModes(void)
{
    RMode *list = NULL;
#if defined(HOSTILE_NO_LIST)
    list = NULL;
#elif defined(HOSTILE_MANY_MODES)
    RMode **tail = &list;
    uint32_t i;
    for (i = 0; i < 9999; i++)
    {
        *tail = NewMode(i % 100 + 1, i / 100 + 1, 16);
        tail = &(*tail)->m_pNext;
    }
    *tail = NewMode(800, 600, 32);
#elif defined(HOSTILE_WIDE)
    static const uint32_t modes[] = {70000, 480, 16, 640, 70000, 16, 65536, 65536, 32,
                                     4294967295u, 4294967295u, 4294967295u, 65535, 65535, 16,
                                     800, 600, 16};
    list = FromTriples(modes, sizeof(modes) / sizeof(modes[0]));
#elif defined(HOSTILE_UNTERMINATED)
    static const uint32_t modes[] = {640, 480, 16};
    list = FromTriples(modes, sizeof(modes) / sizeof(modes[0]));
    memset(list->m_RenderDLL, 'R', sizeof(list->m_RenderDLL));
    memset(list->m_InternalName, 'I', sizeof(list->m_InternalName));
    memset(list->m_Description, 'D', sizeof(list->m_Description));
    /* The bytes up to m_pNext: padding, then width, height and depth. */
    memset(list->m_Description + sizeof(list->m_Description), 'P',
           offsetof(RMode, m_Width) - offsetof(RMode, m_Description) - sizeof(list->m_Description));
#else
    static const uint32_t modes[] = {640, 480, 16};
    list = FromTriples(modes, sizeof(modes) / sizeof(modes[0]));
#endif
    if (list && handed_out)
        abort(); /* the earlier list was never given back */
    handed_out = list;
    return list;
}
#endif

#ifndef HOSTILE_NO_FREE
void FreeModeList(RMode *list)
{
    if (!list || list != handed_out)
        abort(); /* not ours, or freed twice */
    handed_out = NULL;
    while (list)
    {
        RMode *next = list->m_pNext;
        free(list);
        list = next;
    }
}
#endif
