// The archive page: archives found under custom/ in one list, the ones the
// player wants loaded in the other, and their memory in the INI file and in
// the plain list file "RezList".
#include <glob.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include "inifile.h"
#include "launcher.h"
#include "main.h"
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
static void MoveLists(int add, GtkCList **source, GtkCList **target)
{
    *source = FindDialogList(add ? "CLIST_AvailFiles" : "CLIST_LoadFiles");
    *target = FindDialogList(add ? "CLIST_LoadFiles" : "CLIST_AvailFiles");
}

// GtkCList copies the texts it is given but wants them writable.
static void AppendRow(GtkCList *clist, const char *text)
{
    char copy[REZ_NAME_SIZE];
    snprintf(copy, sizeof copy, "%s", text);
    gchar *row[1] = {copy};
    gtk_clist_append(clist, row);
}

// The text of a row's one column where gtk_clist_get_text would give one,
// else null; `element` is the row's link in the list's row_list.
static const gchar *RowText(GList *element)
{
    GtkCell *cell = &GTK_CLIST_ROW(element)->cell[0];
    return cell->type == GTK_CELL_TEXT ? GTK_CELL_TEXT(*cell)->text : NULL;
}

// The moved archive ends up selected, so the opposite button is ready for it.
static void SelectLastRow(GtkCList *clist)
{
    if (clist->rows > 0)
        SelectRow(clist, clist->rows - 1);
}

// OrvekIniDir joined with "RezList"; 0 when that would not fit `path`.
static int ListFilePath(char *path, size_t size)
{
    if (strlen(OrvekIniDir) + 1 + sizeof kListFile > size)
        return 0;
    strcpy(path, OrvekIniDir);
    AddPath(path, kListFile);
    return 1;
}

void InitRezFiles(void)
{
    GtkCList *avail = FindDialogList("CLIST_AvailFiles");
    if (!avail)
        return;

    // OrvekDir, a "/" and the pattern always fit twice OrvekDir's size.
    char pathbuffer[2 * ORVEK_PATH_SIZE];
    snprintf(pathbuffer, sizeof pathbuffer, "%s", OrvekDir);
    AddPath(pathbuffer, "custom/*.rez");

    glob_t found;
    memset(&found, 0, sizeof found);
    // glob sorts its result, so the list comes out in name order.
    if (glob(pathbuffer, 0, NULL, &found) == 0)
    {
        for (size_t i = 0; i < found.gl_pathc; i++)
        {
            const char *path = found.gl_pathv[i];
            const char *slash = strrchr(path, '/');
            AppendRow(avail, slash ? slash + 1 : path);
        }
    }
    globfree(&found);
}

void AddRezFileToList(const char *name, int add)
{
    GtkCList *source, *target;
    MoveLists(add, &source, &target);
    if (!source || !target || !name)
        return;

    // The rows are walked in order: gtk_clist_get_text would look each row
    // up from the first one again, which made a search through thousands of
    // archives cost millions of steps.
    int row = 0;
    for (GList *element = source->row_list; element; element = element->next, row++)
    {
        const gchar *text = RowText(element);
        if (!text || strcasecmp(text, name) != 0)
            continue;
        gtk_clist_remove(source, row);
        // The caller's spelling is kept: a list file's letter case survives.
        AppendRow(target, name);
        SelectLastRow(target);
        return;
    }
}

void AddRezEntryToList(int ind, int add)
{
    GtkCList *source, *target;
    MoveLists(add, &source, &target);
    if (!source || !target || ind < 0 || ind >= source->rows)
        return;

    gchar *text = NULL;
    if (!gtk_clist_get_text(source, ind, 0, &text) || !text)
        return;
    // Appending first copies the text while its row still exists; removing
    // the selected source row then reports it unselected, which resets the
    // source's button and row number.
    AppendRow(target, text);
    SelectLastRow(target);
    gtk_clist_remove(source, ind);
}

static void RestoreRezLists(void)
{
    char RezList[ORVEK_PATH_SIZE];
    char LineBuffer[REZ_NAME_SIZE];

    InitRezFiles();

    GetPrivateProfileString(kSection, kAlwaysLoad, "No", LineBuffer, sizeof LineBuffer, Profile);
    SetCheckFromString("CHECK_LoadRez", LineBuffer);
    GtkWidget *check = FindDialogWidget("CHECK_LoadRez");
    if (check && !gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check)))
        return;

    if (!ListFilePath(RezList, sizeof RezList))
        return;
    FILE *file = fopen(RezList, "r");
    if (!file)
        return;
    // A longer line arrives in pieces; each piece is tried as a name and
    // normally matches nothing. Names already moved or no longer present
    // match nothing either, so each archive is loaded at most once.
    while (fgets(LineBuffer, sizeof LineBuffer, file))
    {
        size_t len = strlen(LineBuffer);
        if (len > 0 && LineBuffer[len - 1] == '\n')
            LineBuffer[len - 1] = '\0';
        AddRezFileToList(LineBuffer, 1);
    }
    fclose(file);
}

void LoadRezList(void)
{
    // Thousands of archives may move here. Frozen lists settle their scroll
    // ranges once, when thawed, instead of after every row added or removed;
    // rows, selection and signals are the same either way.
    GtkCList *avail = FindDialogList("CLIST_AvailFiles");
    GtkCList *load = FindDialogList("CLIST_LoadFiles");
    if (avail)
        gtk_clist_freeze(avail);
    if (load)
        gtk_clist_freeze(load);
    RestoreRezLists();
    if (load)
        gtk_clist_thaw(load);
    if (avail)
        gtk_clist_thaw(avail);
}

void SaveRezList(void)
{
    GtkCList *load = FindDialogList("CLIST_LoadFiles");
    GtkWidget *check = FindDialogWidget("CHECK_LoadRez");
    if (!load || !check)
        return;

    int keep = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check));
    WritePrivateProfileString(kSection, kAlwaysLoad, keep ? "Yes" : "No", Profile);
    // Without "AlwaysLoad" the list file keeps what an earlier run chose.
    if (!keep)
        return;

    char path[ORVEK_PATH_SIZE];
    if (!ListFilePath(path, sizeof path))
        return;
    FILE *file = linuxFOpen(path, "w");
    if (!file)
        return;
    // The rows are walked in order: gtk_clist_get_text would look each row
    // up from the first one again.
    for (GList *element = load->row_list; element; element = element->next)
    {
        const gchar *text = RowText(element);
        if (text)
            fprintf(file, "%s\n", text);
    }
    linuxFClose(file);
}
