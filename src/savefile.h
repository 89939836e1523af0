// SPDX-License-Identifier: MIT
// How the launcher opens the files it reads and saves: OrvekLauncher.ini,
// its .bak copy and RezList.
#ifndef ORVEK_SAVEFILE_H
#define ORVEK_SAVEFILE_H

#include <stdio.h>

// Plain fopen for reading. For writing, a stream whose bytes take the file's
// place only at linuxFClose, when they are whole; null, with one line on
// standard error, when the file may not be saved.
FILE *linuxFOpen(const char *name, const char *mode);
// Closes a stream of linuxFOpen: a saved file is then in place, or left as
// it was (non-zero, with one line on standard error).
int linuxFClose(FILE *fp);

// Says on standard error, in one line (printf-style, without its line
// feed), that a file is not saved, and keeps the line for NotSaved.
void ReportNotSaved(const char *format, ...) __attribute__((format(printf, 1, 2)));
// What ReportNotSaved said during the run, a line each; "" while every file
// was saved.
const char *NotSaved(void);

#endif
