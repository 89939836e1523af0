// SPDX-License-Identifier: MIT
// Console key capture: a 400x20 SDL window over the dialog asks for the key
// and grabs the keyboard until one key is released in it. The game wants
// SDL key symbols, so the key is taken from SDL rather than from GTK.
#include "ckey.h"

#include "ckeyplace.h"
#include "ckeyprompt.h"
#include "language.h"
#include "main.h"

#include <SDL.h>
#include <stdio.h>

static const int kWidth = 400, kHeight = 20;
static const char kPrompt[] = N_("Console Key (ESC to cancel)?");

static SDL_Surface *screen = NULL;

int GetCKey(void)
{
    int result = -1;
    int done = 0;
    SDL_Event event;

    CKEY_CentreOn(WIN_Main, kWidth, kHeight);
    screen = SDL_SetVideoMode(kWidth, kHeight, 0, 0);
    if (screen == NULL)
    {
        // Standard output: the message then stands ahead of the command line.
        printf("SDL Window open failed: %s\n", SDL_GetError());
        return SDLK_CARET;
    }

    // The hint goes to the X server ahead of the title, so that whoever
    // finds the window by its title finds it transient already.
    CKEY_MakeTransientFor(WIN_Main);
    SDL_WM_SetCaption(_(kPrompt), "console");
    CKEY_DrawPrompt(screen, WIN_Main, _(kPrompt));
    SDL_WM_GrabInput(SDL_GRAB_ON);

    // A key counts on release, so one already held down when the window
    // opened still counts. The queue is drained before done is looked at:
    // of the releases queued together the last one other than Escape wins.
    while (!done)
    {
        while (SDL_PollEvent(&event))
        {
            if (event.type == SDL_KEYUP)
            {
                if (event.key.keysym.sym != SDLK_ESCAPE)
                    result = event.key.keysym.sym;
                done = 1;
            }
            else if (event.type == SDL_QUIT)
            {
                done = 1;
            }
        }
    }

    SDL_WM_GrabInput(SDL_GRAB_OFF);

    // Closing the window means shutting SDL down, audio included; bring
    // video back so that the next capture can open a window again.
    SDL_Quit();
    SDL_Init(SDL_INIT_VIDEO);
    RestoreTerminationSignals();

    return result;
}
