// SPDX-License-Identifier: MIT
// The INI reader and writer on arbitrary bytes, straight from memory: the
// engine opens and closes every file through linuxFOpen and linuxFClose,
// which here serve the input for reading and a sink for writing. The
// sanitizers are the checks.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include "InitFile.h"

static const uint8_t *input;
static size_t inputSize;

FILE *linuxFOpen(const char *, const char *mode)
{
    if (mode[0] == 'r' && inputSize > 0)
        return fmemopen((void *)input, inputSize, "r");
    return fopen("/dev/null", mode);
}

int linuxFClose(FILE *fp)
{
    return fclose(fp);
}

// Nor is a file not saved reported. Defined here, it keeps the launcher's
// own saving, which defines the two above as well, out of the link.
void ReportNotSaved(const char *, ...)
{
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    input = data;
    inputSize = size;
    InitFile ini(97);
    char value[512];
    ini.GetPrivateProfileString("Sound", "NumVoices", "16", value, sizeof value, "OrvekLauncher.ini");
    ini.GetPrivateProfileString("", "", NULL, value, 3, "OrvekLauncher.ini");
    ini.WritePrivateProfileString("Advanced", "ConsoleKey", "291", "OrvekLauncher.ini");
    return 0;  // the destructor saves the file
}
