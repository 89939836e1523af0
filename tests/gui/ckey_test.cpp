// SPDX-License-Identifier: MIT
// Console key capture with events already queued when the capture starts:
// everything queued with the first release is consumed, and the last key
// released other than Escape wins. Real key presses are tested end to end.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <SDL.h>

#include <vector>

#include "ckey.h"
#include "main.h"

TEST(ConsoleKey, DrainsEverythingQueuedWithTheFirstReleaseAndKeepsTheLastKey)
{
    // GTK's connection to the X server stays open as in the launcher, so the
    // capture's SDL restart never meets a server that is resetting.
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO), 0) << SDL_GetError();
    // The capture opens over the dialog, as from its button.
    WIN_Main = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_show(WIN_Main);
    const int kPress = 1000, kClose = -2;  // markers beside plain key releases
    const struct { std::vector<int> queued; int expected; } cases[] = {
        {{kPress + SDLK_b, SDLK_a}, SDLK_a},      {{SDLK_a, SDLK_b}, SDLK_b},
        {{SDLK_a, SDLK_ESCAPE}, SDLK_a},          {{SDLK_ESCAPE, SDLK_c}, SDLK_c},
        {{SDLK_ESCAPE}, -1},                      {{kClose}, -1},
        {{kClose, SDLK_d}, SDLK_d},
    };
    for (const auto &c : cases)
    {
        for (int queued : c.queued)
        {
            SDL_Event event = {};
            event.type = queued == kClose ? SDL_QUIT : queued >= kPress ? SDL_KEYDOWN : SDL_KEYUP;
            event.key.keysym.sym = (SDLKey)(queued >= kPress ? queued - kPress : queued);
            ASSERT_EQ(SDL_PushEvent(&event), 0) << SDL_GetError();
        }
        EXPECT_EQ(c.expected, GetCKey()) << "first queued: " << c.queued[0];
        // Each capture ends with SDL shut down and only video brought back.
        EXPECT_EQ(0u, SDL_WasInit(SDL_INIT_AUDIO));
        EXPECT_NE(0u, SDL_WasInit(SDL_INIT_VIDEO));
    }
    SDL_Quit();
    gtk_widget_destroy(WIN_Main);
    WIN_Main = NULL;
}
