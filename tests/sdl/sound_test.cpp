// The launch sound, heard through SDL's disk audio driver, which writes
// every buffer the device plays into a file.
#include <gtest/gtest.h>
#include <SDL.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "capture.h"
#include "sound.h"

namespace fs = std::filesystem;

namespace {

// Unsigned 8-bit samples never 0 (the zero fill) nor 128 (the silence of a
// paused 8-bit device), so that each kind of byte shows where it came from.
std::string Samples(size_t count)
{
    std::string samples;
    for (size_t i = 0; i < count; ++i)
        samples += char(i % 126 + 1);
    return samples;
}

void PutLE(std::string &to, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        to += char(value >> (8 * i) & 0xFF);
}

// A mono 8-bit PCM WAV file.
void WriteWav(const fs::path &path, const std::string &samples)
{
    std::string wav = "RIFF";
    PutLE(wav, 36 + samples.size(), 4);
    wav += "WAVEfmt ";
    PutLE(wav, 16, 4);
    PutLE(wav, 1, 2);     // PCM
    PutLE(wav, 1, 2);     // mono
    PutLE(wav, 8000, 4);  // samples per second
    PutLE(wav, 8000, 4);  // bytes per second
    PutLE(wav, 1, 2);     // bytes per frame
    PutLE(wav, 8, 2);     // bits per sample
    wav += "data";
    PutLE(wav, samples.size(), 4);
    std::ofstream(path, std::ios::binary) << wav << samples;
}

std::string ReadFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Whether bytes FROM up to END (or the end of TEXT) all equal BYTE.
bool AllBytes(const std::string &text, size_t from, size_t end, char byte)
{
    end = std::min(end, text.size());
    return from >= end || text.find_first_not_of(byte, from) >= end;
}

// The sound is loaded from the working directory, so each case gets a
// game directory of its own to work in.
class SoundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/orvek-sound-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        previous_ = fs::current_path();
        fs::current_path(dir_);
    }

    void TearDown() override
    {
        SND_Quit();
        SDL_Quit();
        // The launcher keeps the samples for its one run; the cases load
        // them again and again, so each gives back what it loaded.
        SDL_FreeWAV(wav_buffer);
        wav_buffer = NULL;
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }

    // Opens the audio subsystem on the disk driver writing into RAW.
    void OpenDiskAudio(const fs::path &raw)
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    }

    fs::path dir_, previous_;
};

// Bytes of one device buffer for orvek.wav as SDL's loader describes it.
size_t DeviceBufferBytes()
{
    SDL_AudioSpec spec;
    Uint8 *buffer;
    Uint32 length;
    if (!SDL_LoadWAV("orvek.wav", &spec, &buffer, &length))
        return 0;
    SDL_FreeWAV(buffer);
    return size_t(spec.samples) * spec.channels * (spec.format & 0xFF) / 8;
}

// Where the sound starts: the device may play whole buffers of silence
// between its opening and SND_Init starting it.
size_t SoundStart(const std::string &played, size_t buffer)
{
    size_t start = 0;
    while (start + buffer <= played.size() && AllBytes(played, start, start + buffer, '\x80'))
        start += buffer;
    return start;
}

TEST_F(SoundTest, PlaysTheSamplesOnceThenZeroBytesToTheEndOfTheirLastBuffer)
{
    WriteWav("orvek.wav", Samples(1));
    const size_t buffer = DeviceBufferBytes();
    ASSERT_GT(buffer, 1000u);

    const struct
    {
        const char *name;
        size_t length;
    } cases[] = {
        {"shorter than one buffer", 1000},
        {"across buffers", buffer + 1500},
        {"a whole number of buffers", 2 * buffer},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string samples = Samples(c.length);
        const size_t padded = (c.length + buffer - 1) / buffer * buffer;
        const fs::path raw = dir_ / (std::to_string(c.length) + ".raw");
        WriteWav("orvek.wav", samples);
        OpenDiskAudio(raw);

        // The disk driver announces itself on standard error; the sound
        // itself must have nothing to report.
        const std::string errors = CaptureFd(2, [] { SND_Init(); });
        EXPECT_EQ(errors.find("Error"), std::string::npos) << errors;

        // Wait for a whole buffer of the paused device's silence after the
        // sound: then it has ended.
        std::string played;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        do
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            played = ReadFile(raw);
        } while (played.size() < SoundStart(played, buffer) + padded + buffer &&
                 std::chrono::steady_clock::now() < deadline);
        SND_Quit();
        SDL_Quit();
        SDL_FreeWAV(wav_buffer);
        wav_buffer = NULL;
        played = ReadFile(raw);

        const size_t start = SoundStart(played, buffer);
        ASSERT_GE(played.size(), start + padded + buffer) << "the sound did not end in time";
        EXPECT_EQ(played.substr(start, c.length), samples);
        EXPECT_TRUE(AllBytes(played, start + c.length, start + padded, '\0'))
            << "the tail of the last buffer must be zero bytes";
        EXPECT_TRUE(AllBytes(played, start + padded, std::string::npos, '\x80'))
            << "after the sound the device must stay paused, and nothing zero-filled follows";
        EXPECT_EQ(wav_left, 0u);
    }
}

TEST_F(SoundTest, AFileThatCannotBeLoadedIsReportedOnceAndOpensNoDevice)
{
    const struct
    {
        const char *name;
        const char *content;  // null: no file
    } cases[] = {
        {"missing", nullptr},
        {"not a WAV file", "RIFF\x10\0\0\0WAVEjunk and more junk"},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.name);
        fs::remove("orvek.wav");
        if (c.content)
            std::ofstream("orvek.wav", std::ios::binary) << c.content;
        const fs::path raw = dir_ / "unused.raw";
        OpenDiskAudio(raw);

        EXPECT_EQ(CaptureFd(2, [] { SND_Init(); }), "Error loading orvek.wav\n");
        EXPECT_FALSE(fs::exists(raw)) << "no device may be opened";
        SDL_Quit();
    }

    int result = 0;
    EXPECT_EQ(CaptureFd(2, [&] { result = SND_Load("no/such/dir/x.wav"); }),
              "Error loading no/such/dir/x.wav\n");
    EXPECT_EQ(result, -1);
}

TEST_F(SoundTest, AnAudioDeviceThatCannotBeOpenedIsReportedWithSDLsReason)
{
    WriteWav("orvek.wav", Samples(100));
    // Audio left uninitialised: opening the device has to bring up a driver
    // that does not exist.
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);

    const std::string errors = CaptureFd(2, [] { SND_Init(); });
    const std::string prefix = "SND_Init: Error ";
    ASSERT_GT(errors.size(), prefix.size() + 1);
    EXPECT_EQ(errors.compare(0, prefix.size(), prefix), 0) << errors;
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << "one line: " << errors;
}

}  // namespace
