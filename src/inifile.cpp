// SPDX-License-Identifier: MIT
// The profile calls on the one INI cache, which reaches the disk through
// the launcher's safe saving (savefile.cpp) when the process ends.
#include "inifile.h"

#include <stdlib.h>

#include "message.h"

// Registered before the cache is made, the word on what could not be saved
// comes after the cache's own saves, the last of the run.
[[maybe_unused]] static const int kTellNotSaved = atexit(MSG_TellNotSaved);
InitFile myInit(97);

unsigned long GetPrivateProfileString(const char *lpAppName, const char *lpKeyName,
                                      const char *lpDefault, char *lpReturnedString,
                                      unsigned long nSize, const char *lpFileName)
{
    return myInit.GetPrivateProfileString(lpAppName, lpKeyName, lpDefault, lpReturnedString,
                                          nSize, lpFileName);
}

int WritePrivateProfileString(const char *lpAppName, const char *lpKeyName,
                              const char *lpStringName, const char *lpFileName)
{
    return myInit.WritePrivateProfileString(lpAppName, lpKeyName, lpStringName, lpFileName);
}

void ProfileFlush(void)
{
    myInit.Flush();
}
