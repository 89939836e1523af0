// SPDX-License-Identifier: MIT
// The launch sound: a straight copy of the WAV file's samples to the audio
// device, once, with no mixing. A missing file or device costs a line on
// standard error and nothing else.
#include "sound.h"

#include <stdio.h>
#include <string.h>

static SDL_AudioSpec wav_spec;
Uint8 *wav_buffer = NULL;
Uint32 wav_length = 0;
Uint8 *now = NULL;
Uint32 wav_left = 0;
int snd_init_ok = 0;

int SND_Load(const char *filename)
{
    // The loader closes the stream itself, also when the file is no WAV.
    if (SDL_LoadWAV_RW(SDL_RWFromFile(filename, "rb"), 1, &wav_spec, &wav_buffer, &wav_length) == NULL)
    {
        fprintf(stderr, "Error loading %s\n", filename);
        return -1;
    }
    return 0;
}

// Runs on SDL's audio thread, once per device buffer.
void snd_callback(void *, Uint8 *stream, int len)
{
    Uint32 count = (Uint32)len;
    if (count > wav_left)
    {
        // Zero bytes, not the format's silence: the tail after the sound.
        memset(stream, 0, count);
        count = wav_left;
    }
    memcpy(stream, now, count);
    now += count;
    wav_left -= count;
    if (wav_left == 0)
        SDL_PauseAudio(1);
}

void SND_Init(void)
{
    if (SND_Load("orvek.wav") == -1)
        return;

    wav_spec.callback = snd_callback;
    now = wav_buffer;

    // No obtained spec: SDL converts the file's format to the hardware's.
    if (SDL_OpenAudio(&wav_spec, NULL) < 0)
    {
        fprintf(stderr, "SND_Init: Error %s\n", SDL_GetError());
        return;
    }

    // The device is still paused, so the callback cannot see these change.
    wav_left = wav_length;
    SDL_PauseAudio(0);
    snd_init_ok = 1;
}

void SND_Quit(void)
{
    if (snd_init_ok)
        SDL_CloseAudio();
}
