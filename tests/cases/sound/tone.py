#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""tone.py FRAMES [s16]: a WAV file of FRAMES unsigned 8-bit mono frames at
8 kHz, or with s16 of 16-bit stereo frames at 44.1 kHz (the format SDL 2
plays without converting). No sample is silence or a zero byte, so that
zero fill and silence stand out after them."""
import sys
import wave

frames, wide = int(sys.argv[1]), sys.argv[2:] == ["s16"]
channels, width, rate = (2, 2, 44100) if wide else (1, 1, 8000)
with wave.open(sys.stdout.buffer, "wb") as out:
    out.setparams((channels, width, rate, frames, "NONE", ""))
    out.writeframes(bytes(i % 126 + 1 for i in range(frames * channels * width)))
