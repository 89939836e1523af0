// SPDX-License-Identifier: MIT
// The launch sound: orvek.wav from the game directory, played once while
// the dialog is up.
#ifndef ORVEK_SOUND_H
#define ORVEK_SOUND_H

#include <SDL.h>

// Shared with the audio thread without a lock: the main thread sets them
// only while the device is paused, the callback alone touches them after.
extern Uint8 *wav_buffer;   // the file's samples; never freed
extern Uint32 wav_length;   // bytes in wav_buffer
extern Uint8 *now;          // next byte for the device
extern Uint32 wav_left;     // bytes not yet handed to the device
extern int snd_init_ok;     // 1 once the device is open and playing

int SND_Load(const char *filename);
void snd_callback(void *udata, Uint8 *stream, int len);
void SND_Init(void);
void SND_Quit(void);

#endif
