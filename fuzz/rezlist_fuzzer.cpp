// The archive list file "RezList" on arbitrary bytes, read by the real
// archive page of the real dialog (it needs an X display: scripts/fuzz.sh
// runs this target under a private Xvfb). The game directory holds a fixed
// set of archives, among them names of 254 and 255 bytes, blanks, bytes
// above 127 and glob characters.
//
// After each restore the two lists must be exactly what the rules give:
// the file read in lines of at most 255 characters, one trailing line feed
// removed, each line moving the first still available archive of that name
// (letter case ignored) to the end of the load list, spelled as the line
// spells it. The selected-row numbers must name existing rows. Saving and
// restoring again must give the same load list, and the saved file must
// hold exactly its rows.
#include <gtk/gtk.h>
#include <stddef.h>
#include <stdint.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_util.h"
#include "inifile.h"
#include "interface.h"
#include "launcher.h"
#include "main.h"
#include "support.h"

namespace {

const size_t kLineBuffer = 256; // LoadRezList's line buffer

std::vector<std::string> gArchives; // as the search finds them, in its order
GtkCList *gAvail, *gLoad;

std::vector<std::string> Rows(GtkCList *clist)
{
    std::vector<std::string> rows;
    for (int row = 0; row < clist->rows; row++)
    {
        gchar *text = NULL;
        if (!gtk_clist_get_text(clist, row, 0, &text) || text == NULL)
            fuzz::Fail("row without text", "text", "none");
        rows.push_back(text);
    }
    return rows;
}

std::string Joined(const std::vector<std::string> &rows)
{
    std::string text;
    for (const std::string &row : rows)
        text += row + "\n";
    return text;
}

// A fresh start as at launch: empty lists, nothing selected (clearing a list
// does not report its selected row unselected, so the numbers are reset).
void Restore()
{
    gtk_clist_clear(gAvail);
    gtk_clist_clear(gLoad);
    AvailRow = LoadRow = -1;
    LoadRezList();
}

void ExpectRows(const char *what, GtkCList *clist, const std::vector<std::string> &rows)
{
    FUZZ_EXPECT_EQ(what, Joined(rows), Joined(Rows(clist)));
}

void ExpectRowNumbers()
{
    FUZZ_EXPECT("AvailRow names a row", AvailRow >= -1 && AvailRow < gAvail->rows);
    FUZZ_EXPECT("LoadRow names a row", LoadRow >= -1 && LoadRow < gLoad->rows);
}

void Touch(const std::string &path)
{
    fuzz::WriteFile(path, "", 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    if (!gtk_init_check(argc, argv))
    {
        fprintf(stderr, "fuzz_rezlist needs an X display (scripts/fuzz.sh starts Xvfb)\n");
        exit(1);
    }
    const std::string &dir = fuzz::ScratchDir();
    std::string custom = dir + "/custom";
    if (dir.size() > 200 || mkdir(custom.c_str(), 0755) != 0)
        abort();
    std::vector<std::string> names = {
        "a.rez", "A.REZ.rez", "b.rez", "with blank.rez", "caf\xc3\xa9.rez", "[x]*?.rez",
        std::string(250, 'L') + ".rez", std::string(251, 'M') + ".rez",
    };
    for (const std::string &name : names)
        Touch(custom + "/" + name);
    Touch(custom + "/notes.txt");
    Touch(custom + "/upper.REZ");
    mkdir((custom + "/folder.rez").c_str(), 0755); // the search finds it too
    names.push_back("folder.rez");
    // The "C" locale of this process makes the search's order plain byte order.
    std::sort(names.begin(), names.end());
    gArchives = names;

    add_pixmap_directory(ORVEK_SOURCE_DIR "/pixmaps");
    snprintf(OrvekDir, sizeof OrvekDir, "%s", dir.c_str());
    snprintf(OrvekIniDir, sizeof OrvekIniDir, "%s", dir.c_str());
    snprintf(Profile, sizeof Profile, "%s/OrvekLauncher.ini", dir.c_str());
    WIN_Main = create_WIN_Main();
    gAvail = GTK_CLIST(lookup_widget(WIN_Main, "CLIST_AvailFiles"));
    gLoad = GTK_CLIST(lookup_widget(WIN_Main, "CLIST_LoadFiles"));

    // Only the archives appear, without their directory, in search order.
    WritePrivateProfileString("RezFiles", "AlwaysLoad", "No", Profile);
    Restore();
    ExpectRows("archives found", gAvail, gArchives);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string listFile = fuzz::ScratchDir() + "/RezList";
    // Now and then the list is not to be loaded at all.
    bool alwaysLoad = size % 7 != 3;
    WritePrivateProfileString("RezFiles", "AlwaysLoad", alwaysLoad ? "Yes" : "No", Profile);

    std::vector<std::string> avail = gArchives, load;
    if (alwaysLoad)
        for (const fuzz::Piece &piece : fuzz::FgetsPieces(data, size, kLineBuffer))
        {
            std::string name = fuzz::UpToNul(piece.bytes);
            if (!name.empty() && name.back() == '\n')
                name.pop_back();
            for (auto it = avail.begin(); it != avail.end(); ++it)
                if (fuzz::FoldCase(*it) == fuzz::FoldCase(name))
                {
                    avail.erase(it);
                    load.push_back(name);
                    break;
                }
        }

    fuzz::WriteFile(listFile, data, size);
    Restore();
    ExpectRows("available after restore", gAvail, avail);
    ExpectRows("to load after restore", gLoad, load);
    ExpectRowNumbers();

    SaveRezList();
    if (!alwaysLoad)
    {
        FUZZ_EXPECT_EQ("list file kept when not loading",
                       std::string((const char *)data, size), fuzz::ReadFile(listFile));
        return 0;
    }
    FUZZ_EXPECT_EQ("list file saved", Joined(load), fuzz::ReadFile(listFile));
    Restore();
    ExpectRows("available after save and restore", gAvail, avail);
    ExpectRows("to load after save and restore", gLoad, load);
    ExpectRowNumbers();
    return 0;
}
