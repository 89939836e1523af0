#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""tone.py FRAMES [s16]: a WAV file of FRAMES unsigned 8-bit mono frames at
8 kHz, or with s16 of 16-bit stereo frames at 44.1 kHz (the format SDL 2
plays without converting). No sample is silence or a zero byte, so that
zero fill and silence stand out after them."""
import struct
import sys

frames, wide = int(sys.argv[1]), sys.argv[2:] == ["s16"]
channels, rate, bits = (2, 44100, 16) if wide else (1, 8000, 8)
data = bytes(i % 126 + 1 for i in range(frames * channels * bits // 8))
sys.stdout.buffer.write(b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt " +
                        struct.pack("<IHHIIHH", 16, 1, channels, rate, rate * channels * bits // 8,
                                    channels * bits // 8, bits) + b"data" + struct.pack("<I", len(data)) + data)
