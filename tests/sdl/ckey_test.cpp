// Console key capture in its own SDL window, driven by real X key events
// (xdotool) and by events queued ahead of the capture.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <SDL.h>
#include <stdio.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "capture.h"
#include "ckey.h"

namespace {

const char kCaption[] = "Console Key (ESC to cancel)?";

// In the launcher GTK keeps a connection to the X server open all along.
// Without one an X server resets when its last client leaves, refusing new
// clients meanwhile, and the capture's restart of SDL video could hit that.
class XConnection : public ::testing::Environment
{
public:
    void SetUp() override { gtk_init_check(nullptr, nullptr); }
};
::testing::Environment *const x_connection = ::testing::AddGlobalTestEnvironment(new XConnection);

// Closes a capture that waits too long, as a player closing its window
// would, so that a lost key fails the test instead of hanging it.
class Watchdog
{
public:
    explicit Watchdog(int seconds) : thread_([this, seconds] { Run(seconds); }) {}
    ~Watchdog() { Stop(); }

    void Stop()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopped_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }

    bool Fired() const { return fired_; }

private:
    void Run(int seconds)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (wake_.wait_for(lock, std::chrono::seconds(seconds), [this] { return stopped_; }))
            return;
        fired_ = true;
        SDL_Event quit = {};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopped_ = false;
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

// GetCKey, failing the test when it has to be stopped.
int Capture()
{
    Watchdog watchdog(15);
    const int key = GetCKey();
    watchdog.Stop();
    EXPECT_FALSE(watchdog.Fired()) << "the capture took no key in time";
    return key;
}

// Shell output of COMMAND, run alongside the capture.
class Driver
{
public:
    explicit Driver(std::string command)
        : thread_([this, command] {
              FILE *pipe = popen(command.c_str(), "r");
              if (!pipe)
                  return;
              char chunk[256];
              size_t got;
              while ((got = fread(chunk, 1, sizeof(chunk), pipe)) > 0)
                  output_.append(chunk, got);
              pclose(pipe);
          })
    {
    }
    ~Driver() { Output(); }

    const std::string &Output()
    {
        if (thread_.joinable())
            thread_.join();
        return output_;
    }

private:
    std::string output_;
    std::thread thread_;
};

// Waits for the capture window, prints its title and size, then presses and
// releases KEY in it.
std::string TypeInto(const char *key)
{
    return std::string("id=$(timeout 10 xdotool search --sync --name '^Console Key' | head -n 1); ") +
           "[ -n \"$id\" ] || exit 1; xdotool getwindowname \"$id\"; " +
           "xdotool getwindowgeometry \"$id\" | sed -n 's/^ *Geometry: //p'; " +
           "xdotool key --window \"$id\" " + key + " 2>/dev/null";
}

bool CaptureWindowGone()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (system("xdotool search --name '^Console Key' >/dev/null 2>&1") == 0)
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

class CKeyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(getenv("DISPLAY"), nullptr) << "needs an X display";
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }
};

TEST_F(CKeyTest, TakesTheKeyReleasedInItsWindowOnEveryCapture)
{
    const struct
    {
        const char *typed;
        int expected;
    } cases[] = {
        {"a", SDLK_a},
        {"F5", SDLK_F5},  // a second capture works like the first
        {"Escape", -1},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.typed);
        Driver driver(TypeInto(c.typed));
        EXPECT_EQ(Capture(), c.expected);
        EXPECT_EQ(driver.Output(), std::string(kCaption) + "\n400x20\n");
        EXPECT_TRUE(CaptureWindowGone());
        // Closing the window shut SDL down, the launch sound's audio with
        // it, and brought only video back for the next capture.
        EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
        EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    }
}

SDL_Event Event(Uint8 type, SDLKey key = SDLK_UNKNOWN)
{
    SDL_Event event = {};
    event.type = type;
    event.key.keysym.sym = key;
    return event;
}

TEST_F(CKeyTest, DrainsEverythingQueuedWithTheFirstReleaseAndKeepsTheLastKey)
{
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
        EXPECT_EQ(Capture(), c.expected);
    }
}

TEST_F(CKeyTest, WithoutAWindowTheCaretStandsInAndTheReasonGoesToStandardOutput)
{
    SDL_Quit();
    const char *driver = getenv("SDL_VIDEODRIVER");
    const std::string saved = driver ? driver : "";
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);

    int key = 0;
    const std::string out = CaptureFd(1, [&] { key = GetCKey(); });

    if (driver)
        setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_VIDEODRIVER");

    EXPECT_EQ(key, SDLK_CARET);
    const std::string prefix = "SDL Window open failed: ";
    ASSERT_GT(out.size(), prefix.size() + 1);
    EXPECT_EQ(out.compare(0, prefix.size(), prefix), 0) << out;
    EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line: " << out;
}

}  // namespace
