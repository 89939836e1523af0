// SPDX-License-Identifier: MIT
// The game client's command line, composed from the dialog's state. Every
// segment ends in one space; values go out raw, since whoever runs the line
// splits it like a shell would and the player's own text may rely on that.
#include "commandline.h"

#include <gtk/gtk.h>
#include <stdio.h>
#include <string.h>

#include "launcher.h"
#include "main.h"
#include "settings.h"
#include "support.h"

// A box that is missing counts as off.
int CHECK(const char *name)
{
    return GetCheck(name) == 1;
}

void EmitCommandLineForOrvek(void)
{
    printf("./client -autoconfig autoexec.cfg +savedirectory ./ ");
    CMD_AddRezFiles();
    CMD_AddDisplay();
    CMD_AddSound();
    CMD_AddAdvanced();
    CMD_AddCustom();
}

void CMD_AddRezFiles(void)
{
    // The player's extra archives travel in the RezList file, not here.
    printf("-rez orvekdem.rez ");
}

void CMD_AddDisplay(void)
{
    // Without any plug-in there is no renderer to name; leaving the option
    // out lets the game keep the renderer of its own configuration.
    const char *renderdll = GetRenderDLL();
    if (renderdll)
    {
        const char *slash = strrchr(renderdll, '/');
        printf("+renderdll %s ", slash ? slash + 1 : renderdll);
    }
    printf("+screenwidth %d +screenheight %d ", renderwidth, renderheight);

    // Full screen is the game's default, so only windowed play is asked for.
    if (GetCheck("CHECK_Fullscreen") == 0)
        printf("+windowed 1 ");
}

void CMD_AddSound(void)
{
    printf("+Sound16Bit %d ", CHECK("CHECK_LowQuality") ? 0 : 1);
    GtkWidget *spin = FindDialogWidget("SPIN_Channels");
    if (spin)
        printf("+NumSWVoices %d ", gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(spin)));
}

// The engine switches, in the order the game expects them. The engine's
// variable names differ from the INI keys the same boxes are stored under.
static const struct
{
    const char *check;
    const char *variable;
} kSwitches[] = {
    {"CHECK_DisableSound", "DisableSound"},
    {"CHECK_DisableMusic", "DisableMusic"},
    {"CHECK_DisableMovies", "DisableMovies"},
    {"CHECK_DisableLightmap", "DisableLightmap"},
    {"CHECK_DisableFog", "DisableFog"},
    {"CHECK_LineSystems", "DisableLines"},
    {"CHECK_ModelFullbright", "DisableModelFB"},
    {"CHECK_PolyGap", "EnableTjuncs"},
    {"CHECK_SinglePass", "EnableMultiTex"},
    {"CHECK_MovieDouble", "DoubleMovies"},
};

void CMD_AddAdvanced(void)
{
    for (const auto &entry : kSwitches)
        if (CHECK(entry.check))
            printf("+%s 1 ", entry.variable);

    printf("-config %s ", CHECK("CHECK_FactoryDefault") ? "defaults.cfg" : "autoexec.cfg");
    printf("-conskey %d ", GetConsoleKey());

    // Written whenever it is there; its box only decides whether it is
    // remembered for the next run.
    const char *custom = GetEntryString("STR_CommandLine");
    if (custom && *custom)
        printf("%s ", custom);
}

void CMD_AddCustom(void)
{
    // The place for options a particular game edition needs at the very end.
}
