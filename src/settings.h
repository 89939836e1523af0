// SPDX-License-Identifier: MIT
// The launcher's remembered choices: widget accessors by name and the
// table that ties INI keys to the dialog's widgets.
#ifndef ORVEK_SETTINGS_H
#define ORVEK_SETTINGS_H

// SDL's F10, the console key until the player picks another.
#define DEFAULT_CONSOLE_KEY 291

// The longest free command-line text, in bytes: stored as the INI line
// "\tCommandLine = TEXT\n", it must fit the 511 characters the reader takes.
#define COMMANDLINE_TEXT_MAX (511 - (int)sizeof "\tCommandLine = \n" + 1)

int GetCheck(const char *s);
void SetCheckFromString(const char *check, const char *string);
void SetEntryString(const char *s, const char *string);
// The entry's own text (valid until the entry changes), or null.
const char *GetEntryString(const char *s);
float GetSpin(const char *s);
void SetSpinFromString(const char *spin, const char *string);
void ReadAdvancedCheck(const char *check, const char *profile);
void WriteAdvancedCheck(const char *check, const char *profile);
void SetConsoleKey(int key);
int GetConsoleKey(void);
void ReadSettings(void);
void WriteSettings(void);

#endif
