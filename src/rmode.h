// SPDX-License-Identifier: MIT
/*
 * Renderer plug-in interface.
 *
 * A renderer plug-in is a shared object named NAME.ren in the game directory.
 * It exports two plain C functions:
 *
 *   RMode *GetSupportedModes(void);  the display modes it can run, as a list
 *                                    linked through m_pNext, or NULL for none;
 *   void FreeModeList(RMode *list);  frees a list that GetSupportedModes made.
 *
 * The launcher calls FreeModeList exactly once for every list it was given,
 * before it closes the plug-in, and reads only m_Description (of the first
 * record), m_Width, m_Height, m_BitDepth and m_pNext.
 *
 * The record layout is binary and shared with plug-ins built elsewhere, so it
 * is fixed to the 32-bit x86 layout with 4-byte alignment; the checks below
 * keep every compiler honest about it.
 */
#ifndef ORVEK_RMODE_H
#define ORVEK_RMODE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)
typedef struct RMode_t
{
    char m_bHardware;          /* non-zero for a hardware renderer */
    char m_RenderDLL[200];     /* the renderer's library file */
    char m_InternalName[100];
    char m_Description[100];   /* shown to the player as the renderer's name */
    uint32_t m_Width;          /* pixels */
    uint32_t m_Height;         /* pixels */
    uint32_t m_BitDepth;       /* bits per pixel */
    struct RMode_t *m_pNext;   /* NULL after the last mode */
} RMode;
#pragma pack(pop)

/* Types of the two entry points, for dlsym. */
typedef RMode *(*GetSupportedModesFunc)(void);
typedef void (*FreeModeListFunc)(RMode *);

/* What a plug-in defines. */
RMode *GetSupportedModes(void);
void FreeModeList(RMode *list);

#ifdef __cplusplus
}
#define RMODE_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define RMODE_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

RMODE_STATIC_ASSERT(offsetof(RMode, m_bHardware) == 0, "m_bHardware at 0");
RMODE_STATIC_ASSERT(offsetof(RMode, m_RenderDLL) == 1, "m_RenderDLL at 1");
RMODE_STATIC_ASSERT(offsetof(RMode, m_InternalName) == 201, "m_InternalName at 201");
RMODE_STATIC_ASSERT(offsetof(RMode, m_Description) == 301, "m_Description at 301");
RMODE_STATIC_ASSERT(offsetof(RMode, m_Width) == 404, "m_Width at 404");
RMODE_STATIC_ASSERT(offsetof(RMode, m_Height) == 408, "m_Height at 408");
RMODE_STATIC_ASSERT(offsetof(RMode, m_BitDepth) == 412, "m_BitDepth at 412");
RMODE_STATIC_ASSERT(offsetof(RMode, m_pNext) == 416, "m_pNext at 416");
RMODE_STATIC_ASSERT(sizeof(RMode) == 416 + sizeof(void *), "420 bytes with 4-byte pointers, 424 with 8-byte ones");

#undef RMODE_STATIC_ASSERT

#endif
