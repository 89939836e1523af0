// SPDX-License-Identifier: MIT
// The archive page: archives found under custom/ in one list, the ones the
// player wants loaded in the other, and their memory in the INI file and in
// the plain list file "RezList".
#include <ctype.h>
#include <glob.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "clist.h"
#include "inifile.h"
#include "launcher.h"
#include "main.h"
#include "savefile.h"
#include "settings.h"
#include "support.h"

int AvailRow = -1;
int LoadRow = -1;

// Room for one archive name or one line of the list file, terminator included.
#define REZ_NAME_SIZE 256

static const char kSection[] = "RezFiles";
static const char kAlwaysLoad[] = "AlwaysLoad";
static const char kListFile[] = "RezList";

// Lists in the direction of a move: "add" takes from the available archives.
static void MoveLists(int add, GtkWidget **source, GtkWidget **target)
{
    *source = FindDialogWidget(add ? "CLIST_AvailFiles" : "CLIST_LoadFiles");
    *target = FindDialogWidget(add ? "CLIST_LoadFiles" : "CLIST_AvailFiles");
}

// The moved archive ends up selected, so the opposite button is ready for it.
static void SelectLastRow(GtkWidget *clist)
{
    ListSelectRow(clist, ListRows(clist) - 1);
}

// OrvekIniDir joined with "RezList" (OrvekIniDir is the short "." that
// OrvekLauncher.ini's path is made from too).
static void ListFilePath(char path[ORVEK_PATH_SIZE])
{
    strcpy(path, OrvekIniDir);
    AddPath(path, kListFile);
}

// The archives under custom/, in the order glob sorts them (name order),
// each without its directory.
static std::vector<std::string> InitRezFiles(void)
{
    // OrvekDir, a "/" and the pattern always fit twice OrvekDir's size.
    char pathbuffer[2 * ORVEK_PATH_SIZE];
    snprintf(pathbuffer, sizeof pathbuffer, "%s", OrvekDir);
    AddPath(pathbuffer, "custom/*.rez");

    std::vector<std::string> names;
    glob_t found; // glob fills it in, also when it finds nothing
    if (glob(pathbuffer, 0, NULL, &found) == 0)
    {
        names.reserve(found.gl_pathc);
        for (size_t i = 0; i < found.gl_pathc; i++)
        {
            const char *path = found.gl_pathv[i];
            const char *slash = strrchr(path, '/');
            names.push_back(slash ? slash + 1 : path);
        }
    }
    globfree(&found);
    return names;
}

void AddRezEntryToList(int ind, int add)
{
    GtkWidget *source, *target;
    MoveLists(add, &source, &target);
    if (!source || !target)
        return;
    gchar *text = ListText(source, ind);
    // Appending first copies the text while its row still exists; removing
    // the selected source row then reports it unselected, which resets the
    // source's button and row number.
    ListAppend(target, text);
    g_free(text);
    SelectLastRow(target);
    ListRemove(source, ind);
}

// Moves the archives that the list file names, in its order, from the
// archives found (`names`) to the end of the load list: each name takes the
// first archive of that name not yet taken, letter case ignored, and keeps
// its own spelling; a name that finds none (gone, or moved already) is
// skipped. `moved` marks the archives taken. Thousands of names are moved in
// one pass, not one by one: an index of the names finds each, since
// searching, cutting and reselecting a list per name grows with the square
// of its length; and no archive enters the available list only to leave it
// again. The lists end exactly as moving the names one by one leaves them.
static void MoveListedArchives(FILE *file, const std::vector<std::string> &names, std::vector<bool> &moved,
                               GtkWidget *load)
{
    // The lists compare names as strcasecmp does: byte by byte, each folded
    // by tolower of the current locale.
    auto folded = [](const char *name) {
        std::string key(name);
        for (char &c : key)
            c = (char)tolower((unsigned char)c);
        return key;
    };
    // The index: each name's first row, and from each row the next one of
    // the same name, chained back to front.
    const size_t kNone = SIZE_MAX;
    std::unordered_map<std::string, size_t> first;
    std::vector<size_t> next(names.size(), kNone);
    for (size_t row = names.size(); row-- > 0;)
    {
        auto slot = first.emplace(folded(names[row].c_str()), row);
        if (!slot.second)
        {
            next[row] = slot.first->second;
            slot.first->second = row;
        }
    }

    // A longer line arrives in pieces; each piece is tried as a name and
    // normally matches nothing.
    char LineBuffer[REZ_NAME_SIZE];
    while (fgets(LineBuffer, sizeof LineBuffer, file))
    {
        size_t len = strlen(LineBuffer);
        if (len > 0 && LineBuffer[len - 1] == '\n')
            LineBuffer[len - 1] = '\0';
        auto slot = first.find(folded(LineBuffer));
        if (slot == first.end() || slot->second == kNone)
            continue;
        moved[slot->second] = true;
        slot->second = next[slot->second];
        ListAppend(load, LineBuffer);
    }
}

// Fills the available list with the archives found, less those that the
// list file moves to the load list when "AlwaysLoad" is on. The last
// archive moved ends up selected, as if it had been added last.
static void RestoreRezLists(GtkWidget *avail, GtkWidget *load)
{
    char RezList[ORVEK_PATH_SIZE];
    char LineBuffer[REZ_NAME_SIZE];

    std::vector<std::string> names = InitRezFiles();
    std::vector<bool> moved(names.size());

    GetPrivateProfileString(kSection, kAlwaysLoad, "No", LineBuffer, sizeof LineBuffer, Profile);
    SetCheckFromString("CHECK_LoadRez", LineBuffer);
    GtkWidget *check = FindDialogWidget("CHECK_LoadRez");
    bool restore = !check || gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check));
    ListFilePath(RezList);
    FILE *file = restore ? fopen(RezList, "r") : NULL;
    if (file)
    {
        MoveListedArchives(file, names, moved, load);
        fclose(file);
    }

    for (size_t row = 0; row < names.size(); row++)
        if (!moved[row])
            ListAppend(avail, names[row].c_str());
    if (std::find(moved.begin(), moved.end(), true) != moved.end())
        SelectLastRow(load);
}

void LoadRezList(void)
{
    // Thousands of archives may move here. Frozen lists settle their scroll
    // ranges once, when thawed, instead of after every row added or removed;
    // rows, selection and signals are the same either way.
    GtkWidget *avail = FindDialogWidget("CLIST_AvailFiles");
    GtkWidget *load = FindDialogWidget("CLIST_LoadFiles");
    if (!avail || !load)
        return;
    ListFreeze(avail);
    ListFreeze(load);
    RestoreRezLists(avail, load);
    ListThaw(load);
    ListThaw(avail);
}

void SaveRezList(void)
{
    GtkWidget *load = FindDialogWidget("CLIST_LoadFiles");
    GtkWidget *check = FindDialogWidget("CHECK_LoadRez");
    if (!load || !check)
        return;

    int keep = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check));
    WritePrivateProfileString(kSection, kAlwaysLoad, keep ? "Yes" : "No", Profile);
    // Without "AlwaysLoad" the list file keeps what an earlier run chose.
    if (!keep)
        return;

    char path[ORVEK_PATH_SIZE];
    ListFilePath(path);
    FILE *file = linuxFOpen(path, "w");
    if (!file)
        return;
    for (gint row = 0, rows = ListRows(load); row < rows; row++)
    {
        gchar *text = ListText(load, row);
        fprintf(file, "%s\n", text);
        g_free(text);
    }
    linuxFClose(file);
}
