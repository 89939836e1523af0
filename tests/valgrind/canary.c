/*
 * Faults that the memory check must catch, one per argument, to show that
 * its options and suppressions still let real errors through:
 *   leak         a GLib allocation lost by this program's own code
 *   read, write  one byte past the end of a heap block
 *   uninit       a branch on memory that was never written
 * Without an argument it does nothing wrong.
 */
#include <glib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char **argv)
{
    const char *fault = argc > 1 ? argv[1] : "";
    volatile char sink = 0;

    if (strcmp(fault, "leak") == 0)
    {
        char *lost = g_strdup("lost by the program itself");
        sink = lost[0];
        lost = NULL;
    }
    else if (strcmp(fault, "read") == 0 || strcmp(fault, "write") == 0)
    {
        char *block = malloc(16);
        if (fault[0] == 'r')
            sink = block[16];
        else
            block[16] = 'x';
        free(block);
    }
    else if (strcmp(fault, "uninit") == 0)
    {
        int *block = malloc(sizeof *block);
        if (*block > 0)
            sink = 1;
        free(block);
    }
    printf("%d\n", sink);
    return 0;
}
