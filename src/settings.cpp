// SPDX-License-Identifier: MIT
// The launcher's remembered choices. The dialog's widgets hold them while the
// launcher runs; this module moves them between the widgets and the INI file
// (and takes the sound quality from the game's own configuration).
#include "settings.h"

#include <SDL.h>
#include <gtk/gtk.h>
#include <stdio.h>
#include <stdlib.h>
#include <strings.h>

#include "inifile.h"
#include "main.h"
#include "support.h"
#include "variables.h"

// Where ReadAdvancedCheck receives its value.
static char buffer[256];

// Room for the values of the other rows.
#define VALUE_SIZE 512

// Only "no", "off" and "0" mean false, so a value typed by hand in any other
// way (even "false") still turns a box on.
static int IsTrueText(const char *string)
{
    return !(strcasecmp(string, "no") == 0 || strcasecmp(string, "off") == 0 ||
             strcasecmp(string, "0") == 0);
}

static const char *YesNo(int check) { return check ? "Yes" : "No"; }

int GetCheck(const char *s)
{
    GtkWidget *widget = FindDialogWidget(s);
    if (!widget)
        return -1;
    return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget)) ? 1 : 0;
}

void SetCheckFromString(const char *check, const char *string)
{
    GtkWidget *widget = FindDialogWidget(check);
    if (!widget)
        return;
    int on = IsTrueText(string ? string : "");
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), on);
    // The pop-up choice is hidden in the dialog; its box only carries the
    // value from the INI file back to it, and decides this run on the way.
    if (strcasecmp(check, "CHECK_Popup") == 0)
        Popup = on;
}

// Where an entry keeps text it was given that is not UTF-8.
static const char kOriginalBytes[] = "orvek-original-bytes";

// The player changed the box: from now on its own text counts.
static void ForgetOriginalBytes(GtkEditable *editable, gpointer)
{
    g_object_set_data(G_OBJECT(editable), kOriginalBytes, NULL);
    g_signal_handlers_disconnect_by_func(editable, (gpointer)ForgetOriginalBytes, NULL);
}

// A text box holds UTF-8 only. Other text (from a Latin-1 INI file, say) is
// shown read as Latin-1, every byte a character, and the box's text in
// Latin-1 again is its value until the player edits it: the original
// bytes, as far as the box kept them.
void SetEntryString(const char *s, const char *string)
{
    GtkWidget *widget = FindDialogWidget(s);
    if (!widget)
        return;
    string = string ? string : "";
    if (g_utf8_validate(string, -1, NULL))
    {
        gtk_entry_set_text(GTK_ENTRY(widget), string);
        return;
    }
    gchar *shown = g_convert(string, -1, "UTF-8", "ISO-8859-1", NULL, NULL, NULL);
    gtk_entry_set_text(GTK_ENTRY(widget), shown);
    g_free(shown);
    gchar *bytes = g_convert(gtk_entry_get_text(GTK_ENTRY(widget)), -1, "ISO-8859-1", "UTF-8", NULL, NULL, NULL);
    g_object_set_data_full(G_OBJECT(widget), kOriginalBytes, bytes, g_free);
    g_signal_connect(widget, "changed", G_CALLBACK(ForgetOriginalBytes), NULL);
}

const char *GetEntryString(const char *s)
{
    GtkWidget *widget = FindDialogWidget(s);
    if (!widget)
        return NULL;
    const char *bytes = (const char *)g_object_get_data(G_OBJECT(widget), kOriginalBytes);
    return bytes ? bytes : gtk_entry_get_text(GTK_ENTRY(widget));
}

float GetSpin(const char *s)
{
    GtkWidget *widget = FindDialogWidget(s);
    return widget ? (float)gtk_spin_button_get_value(GTK_SPIN_BUTTON(widget)) : 0.0f;
}

void SetSpinFromString(const char *spin, const char *string)
{
    GtkWidget *widget = FindDialogWidget(spin);
    if (!widget)
        return;
    // The adjustment keeps the value within the voices the game can mix.
    float value = (float)strtod(string ? string : "", NULL);
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(widget), value);
}

// A box of section "Advanced" by name and key. The table below reads and
// writes its boxes of that section the same way, as rows of their own.
void ReadAdvancedCheck(const char *check, const char *profile)
{
    GetPrivateProfileString("Advanced", profile, "No", buffer, sizeof buffer, Profile);
    SetCheckFromString(check, buffer);
}

void WriteAdvancedCheck(const char *check, const char *profile)
{
    // A missing box reads as -1 and is therefore stored as "Yes".
    WritePrivateProfileString("Advanced", profile, YesNo(GetCheck(check) != 0), Profile);
}

void SetConsoleKey(int key)
{
    const char *name = SDL_GetKeyName((SDLKey)key);
    GtkWidget *widget = FindDialogWidget("STR_ConsoleKey");
    if (!widget)
        return;
    // The entry shows the key's name; the number itself rides along as the
    // entry's user data, so the dialog is the one store of the choice.
    gtk_entry_set_text(GTK_ENTRY(widget), name);
    g_object_set_data(G_OBJECT(widget), "user_data", GINT_TO_POINTER(key));
}

int GetConsoleKey(void)
{
    GtkWidget *widget = FindDialogWidget("STR_ConsoleKey");
    if (!widget)
        return DEFAULT_CONSOLE_KEY;
    return GPOINTER_TO_INT(g_object_get_data(G_OBJECT(widget), "user_data"));
}

// --- The table of remembered choices ----------------------------------------

enum SettingKind
{
    SETTING_CHECK,      // "Yes"/"No" into a check box
    SETTING_SPIN,       // a number into a spin button
    SETTING_CONSOLEKEY, // an SDL key symbol into the console key entry
    SETTING_GAMEVAR,    // a box derived from the game's "Sound16Bit"; never stored
    SETTING_TEXT,       // free text into an entry
};

struct Setting
{
    const char *section;
    const char *key;
    const char *byDefault;
    const char *widget;
    SettingKind kind;
};

// In the order ReadSettings applies them.
static const Setting kSettings[] = {
    {"OrvekLauncher", "AlwaysPopup", "No", "CHECK_Popup", SETTING_CHECK},
    {"Sound", "NumVoices", "16", "SPIN_Channels", SETTING_SPIN},
    {"Display", "Fullscreen", "Yes", "CHECK_Fullscreen", SETTING_CHECK},
    {"Advanced", "ConsoleKey", "291", "STR_ConsoleKey", SETTING_CONSOLEKEY},
    {NULL, "Sound16Bit", NULL, "CHECK_LowQuality", SETTING_GAMEVAR},
    {"Advanced", "DisableSound", "No", "CHECK_DisableSound", SETTING_CHECK},
    {"Advanced", "DisableMusic", "No", "CHECK_DisableMusic", SETTING_CHECK},
    {"Advanced", "DisableMovies", "No", "CHECK_DisableMovies", SETTING_CHECK},
    {"Advanced", "DisableLightMapping", "No", "CHECK_DisableLightmap", SETTING_CHECK},
    {"Advanced", "DisableLineSystems", "No", "CHECK_LineSystems", SETTING_CHECK},
    {"Advanced", "DisableModelFullbrights", "No", "CHECK_ModelFullbright", SETTING_CHECK},
    {"Advanced", "EnablePolygapFixing", "No", "CHECK_PolyGap", SETTING_CHECK},
    {"Advanced", "EnableSinglePass", "No", "CHECK_SinglePass", SETTING_CHECK},
    {"Advanced", "EnableMoviePixelDouble", "No", "CHECK_MovieDouble", SETTING_CHECK},
    {"Advanced", "UseCommandLine", "No", "CHECK_CommandlineValid", SETTING_CHECK},
    {"Advanced", "CommandLine", "", "STR_CommandLine", SETTING_TEXT},
};

enum { SETTING_COUNT = sizeof kSettings / sizeof kSettings[0] };
static_assert(SETTING_COUNT == 16, "sixteen remembered choices");

// Low quality means the game last ran with 8-bit sound: "Sound16Bit" set to
// something that reads as 0. An unset variable means the game's default,
// 16-bit sound.
static const char *LowQualityFromGame(const char *variable)
{
    const char *value = VAR_Lookup(variable);
    return YesNo(value && strtod(value, NULL) == 0.0);
}

static void ApplySetting(const Setting &row)
{
    char value[VALUE_SIZE];

    if (row.kind == SETTING_GAMEVAR)
    {
        SetCheckFromString(row.widget, LowQualityFromGame(row.key));
        return;
    }

    GetPrivateProfileString(row.section, row.key, row.byDefault, value, sizeof value, Profile);
    switch (row.kind)
    {
    case SETTING_CHECK:
        SetCheckFromString(row.widget, value);
        break;
    case SETTING_SPIN:
        SetSpinFromString(row.widget, value);
        break;
    case SETTING_CONSOLEKEY:
        // Text without digits reads as key 0, which SDL names like any other.
        SetConsoleKey((int)strtol(value, NULL, 10));
        break;
    case SETTING_TEXT:
        SetEntryString(row.widget, value);
        break;
    default:
        break;
    }
}

static void StoreSetting(const Setting &row)
{
    char value[256];
    const char *text = value;

    switch (row.kind)
    {
    case SETTING_CHECK:
        // A missing box reads as -1 and is therefore stored as "Yes".
        text = YesNo(GetCheck(row.widget) != 0);
        break;
    case SETTING_SPIN:
        snprintf(value, sizeof value, "%f", GetSpin(row.widget));
        break;
    case SETTING_CONSOLEKEY:
        snprintf(value, sizeof value, "%d", GetConsoleKey());
        break;
    case SETTING_TEXT:
        // The free text is remembered only while its box is ticked. Without
        // its entry there is no text to remember: an empty one is stored.
        text = "";
        if (GetCheck("CHECK_CommandlineValid") != 0)
        {
            const char *entry = GetEntryString(row.widget);
            text = entry ? entry : "";
        }
        break;
    case SETTING_GAMEVAR:
        return;
    }
    WritePrivateProfileString(row.section, row.key, text, Profile);
}

void ReadSettings(void)
{
    for (const Setting &row : kSettings)
        ApplySetting(row);
}

// The file is written sorted by section and key, so the order in which the
// choices go into it changes nothing; the derived sound quality is skipped.
void WriteSettings(void)
{
    for (const Setting &row : kSettings)
        StoreSetting(row);
}
