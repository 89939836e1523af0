#include "inifile.h"

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

FILE *linuxFOpen(const char *name, const char *mode)
{
    return fopen(name, mode);
}
