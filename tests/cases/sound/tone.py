#!/usr/bin/env python3
"""tone.py N: a WAV file of N unsigned 8-bit mono samples at 8 kHz, none of
them 0 or 128, so that zero fill and silence stand out after them."""
import struct
import sys

n = int(sys.argv[1])
sys.stdout.buffer.write(b"RIFF" + struct.pack("<I", 36 + n) + b"WAVEfmt " +
                        struct.pack("<IHHIIHH", 16, 1, 1, 8000, 8000, 1, 8) + b"data" +
                        struct.pack("<I", n) + bytes(i % 126 + 1 for i in range(n)))
