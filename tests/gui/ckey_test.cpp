// Console key capture with events already queued when the capture starts:
// everything queued with the first release is consumed, and the last key
// released wins. Real key presses are tested end to end.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <SDL.h>

#include <vector>

#include "ckey.h"

namespace {

// GTK keeps a connection to the X server open in the launcher; without one
// the capture's SDL restart could meet a server that is resetting.
class XConnection : public ::testing::Environment
{
public:
    void SetUp() override { gtk_init_check(nullptr, nullptr); }
};
::testing::Environment *const x_connection = ::testing::AddGlobalTestEnvironment(new XConnection);

SDL_Event Event(Uint8 type, SDLKey key = SDLK_UNKNOWN)
{
    SDL_Event event = {};
    event.type = type;
    event.key.keysym.sym = key;
    return event;
}

TEST(ConsoleKey, DrainsEverythingQueuedWithTheFirstReleaseAndKeepsTheLastKey)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO), 0) << SDL_GetError();
    const struct
    {
        const char *name;
        std::vector<SDL_Event> queued;
        int expected;
    } cases[] = {
        {"a press does not count", {Event(SDL_KEYDOWN, SDLK_b), Event(SDL_KEYUP, SDLK_a)}, SDLK_a},
        {"two keys: the second", {Event(SDL_KEYUP, SDLK_a), Event(SDL_KEYUP, SDLK_b)}, SDLK_b},
        {"a key then Escape: the key", {Event(SDL_KEYUP, SDLK_a), Event(SDL_KEYUP, SDLK_ESCAPE)}, SDLK_a},
        {"Escape then a key: the key", {Event(SDL_KEYUP, SDLK_ESCAPE), Event(SDL_KEYUP, SDLK_c)}, SDLK_c},
        {"Escape alone", {Event(SDL_KEYUP, SDLK_ESCAPE)}, -1},
        {"window closed", {Event(SDL_QUIT)}, -1},
        {"window closed, then a key", {Event(SDL_QUIT), Event(SDL_KEYUP, SDLK_d)}, SDLK_d},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.name);
        for (SDL_Event event : c.queued)
            ASSERT_EQ(SDL_PushEvent(&event), 0) << SDL_GetError();
        EXPECT_EQ(GetCKey(), c.expected);
        // Each capture ends with SDL shut down and only video brought back.
        EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
        EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    }
    SDL_Quit();
}

}  // namespace
