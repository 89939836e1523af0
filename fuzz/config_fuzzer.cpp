// SPDX-License-Identifier: MIT
// The reader of the game's autoexec.cfg on arbitrary bytes, read from a file
// that lives in memory. The sanitizers are the checks.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <sys/mman.h>
#include <unistd.h>

#include "variables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int fd = memfd_create("autoexec.cfg", 0);
    static char path[64];
    snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != (ssize_t)size)
        __builtin_trap();

    // The reader keeps the records of earlier reads on purpose; a fuzzing run
    // would pile them up, so they are freed here.
    for (Pair *&head : HashTable)
        while (Pair *pair = head)
        {
            head = pair->Next;
            delete pair;
        }
    VAR_ReadConfig(path);
    VAR_Lookup("RenderDll");
    VAR_Lookup("SCREENWIDTH");
    return 0;
}
