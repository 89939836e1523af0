// SPDX-License-Identifier: MIT
/* Faults that the memory check must catch, one per argument, to show that
   its options and suppressions still let real errors through: "leak" loses
   a GLib allocation, "read" and "write" go one byte past a heap block, and
   "uninit" branches on memory never written. Without an argument it does
   nothing wrong. */
#include <glib.h>
#include <stdlib.h>

int main(int argc, char **argv)
{
    const char fault = argc > 1 ? argv[1][0] : ' ';
    char *block = malloc(16);
    volatile char sink = 0;
    if (fault == 'l')
        sink = g_strdup("lost")[0];
    else if (fault == 'r')
        sink = block[16];
    else if (fault == 'w')
        block[16] = 'x';
    else if (fault == 'u' && block[3] > 0)
        sink = 1;
    free(block);
    return sink & 0;
}
