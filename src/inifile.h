// SPDX-License-Identifier: MIT
// The launcher's settings store: the profile calls, with the argument order
// of their Windows namesakes, on one write-back cache of INI files that
// reaches the disk when the process ends normally.
#ifndef ORVEK_INIFILE_H
#define ORVEK_INIFILE_H

#include <stdio.h>

#include "InitFile.h"

// Every file read or written through the calls below; destroyed after main
// returns, which saves each cached file.
extern InitFile myInit;

// Copies at most nSize - 1 characters of the key's value (or of lpDefault,
// "" when that is null) into lpReturnedString and terminates it; returns the
// number of characters copied.
unsigned long GetPrivateProfileString(const char *lpAppName, const char *lpKeyName,
                                      const char *lpDefault, char *lpReturnedString,
                                      unsigned long nSize, const char *lpFileName);
// Sets the key in the cache, not on disk; always 1.
int WritePrivateProfileString(const char *lpAppName, const char *lpKeyName,
                              const char *lpStringName, const char *lpFileName);
// Saves every cached file now; they stay cached.
void ProfileFlush(void);

#endif
