// SPDX-License-Identifier: MIT
// The launcher's dialog, described as tables and built by one loop: every
// widget is named, registered on the window under its name (so that
// lookup_widget and resource files find it), shown, then placed.
#include "interface.h"

#include <string.h>

#include "callbacks.h"
#include "clist.h"
#include "language.h"
#include "rcstyle.h"
#include "support.h"

namespace {

enum Kind
{
    VBOX, HOMOGENEOUS_VBOX, HBOX, LABEL, NOTEBOOK, PIXMAP, FRAME, CHECK,
    VPANED, SCROLLED, CLIST, SPIN, ENTRY, BUTTON, TABLE, BUTTONBOX
};

// How a widget sits in its parent.
enum Place
{
    PACK,    // gtk_box_pack_start with the row's expand, fill and padding
    ADD,     // gtk_container_add (also adds notebook pages, in order)
    PANE1,   // upper pane: does not grow, may shrink
    PANE2,   // lower pane: grows and may shrink
    CELL,    // a cell of table2, see kCells
    TAB,     // tab label of the notebook page named as parent
    COLUMN   // column widget of the list named as parent
};

enum Flags
{
    EXPAND = 1 << 0,
    FILL = 1 << 1,
    ACTIVE = 1 << 2,        // check button starts ticked
    INSENSITIVE = 1 << 3,
    READ_ONLY = 1 << 4,     // entry cannot be typed into
    NO_SHADOW = 1 << 5,     // frame drawn without a border
    CAN_DEFAULT = 1 << 6,
    UNDERLINED = 1 << 7,    // text holds "_x": shown underlined, Alt+x clicks
    BROWSE = 1 << 8,        // list always keeps one row selected
};

struct WidgetRow
{
    const char *name;
    const char *parent;
    Kind kind;
    const char *text;  // label, frame title, entry text or image file; may be null
    Place place;
    int flags = 0;
    int padding = 0;  // PACK only
};

const char kWarning[] =
    N_("WARNING: Some of the advanced options may cause the game to run \n"
       "worse (or not at all) on your particular system configuration. ");
const char kChannelNote[] =
    N_("Note: Virtual channels are mixed in real-time and require CPU power. "
       "Setting this value too high might have severe impact on performance, "
       "but setting this too low might result in choppy sound.");

// Depth first, children in packing order; a page's tab label follows its content.
const WidgetRow kWidgets[] = {
    {"vbox1", "WIN_Main", VBOX, NULL, ADD},
    {"LAB_Title", "vbox1", LABEL, "Orvek  Travendar", PACK, 0, 5},
    {"notebook1", "vbox1", NOTEBOOK, NULL, PACK, EXPAND | FILL},
    // Page 0: title picture.
    {"vbox2", "notebook1", VBOX, NULL, ADD},
    {"pixmap3", "vbox2", PIXMAP, "orvek.xpm", PACK, EXPAND | FILL},
    {"frame1", "vbox2", FRAME, NULL, PACK, EXPAND | NO_SHADOW},
    {"hbox1", "frame1", HBOX, NULL, ADD},
    {"CHECK_Popup", "hbox1", CHECK, N_("Always pop up this dialog when starting"), PACK, EXPAND | ACTIVE},
    {"label2", "vbox2", LABEL, N_("Title"), TAB},
    // Page 1: renderer and resolution.
    {"vbox3", "notebook1", VBOX, NULL, ADD},
    {"frame4", "vbox3", FRAME, N_("Renderer and Resolution"), PACK, EXPAND | FILL},
    {"vbox13", "frame4", VBOX, NULL, ADD},
    {"vpaned1", "vbox13", VPANED, NULL, PACK, EXPAND | FILL},
    {"irgendeinwidget", "vpaned1", SCROLLED, NULL, PANE1},
    {"CLIST_Renderer", "irgendeinwidget", CLIST, NULL, ADD, BROWSE},
    {"label15", "CLIST_Renderer", LABEL, "label15", COLUMN},
    {"scrolledwindow4", "vpaned1", SCROLLED, NULL, PANE2},
    {"CLIST_Resolutions", "scrolledwindow4", CLIST, NULL, ADD, BROWSE},
    {"label16", "CLIST_Resolutions", LABEL, "label16", COLUMN},
    // TRANSLATORS: Alt+F ticks it in every language: underline the F of your
    // text ("_f" will do), or end it with " (_F)" where it has none.
    {"CHECK_Fullscreen", "vbox3", CHECK, N_("Run _Fullscreen by default"), PACK, UNDERLINED | ACTIVE},
    {"label3", "vbox3", LABEL, N_("Display"), TAB},
    // Page 2: sound.
    {"frame9", "notebook1", FRAME, NULL, ADD, NO_SHADOW},
    {"vbox15", "frame9", VBOX, NULL, ADD},
    {"CHECK_LowQuality", "vbox15", CHECK, N_("Low sound quality"), PACK, 0, 6},
    {"frame10", "vbox15", FRAME, N_("Virtual channels"), PACK, FILL},
    {"vbox16", "frame10", VBOX, NULL, ADD},
    {"label19", "vbox16", LABEL, N_("Number of virtual channels to mix"), PACK},
    {"SPIN_Channels", "vbox16", SPIN, NULL, PACK, 0, 3},
    {"label20", "vbox16", LABEL, kChannelNote, PACK},
    {"label4", "frame9", LABEL, N_("Sound"), TAB},
    // Page 3: engine switches, console key and free command-line text.
    {"vbox6", "notebook1", VBOX, NULL, ADD},
    {"LAB_WARN", "vbox6", LABEL, kWarning, PACK},
    {"hbox5", "vbox6", HBOX, NULL, PACK, EXPAND | FILL},
    {"frame5", "hbox5", FRAME, N_("Disable"), PACK, FILL},
    {"vbox7", "frame5", VBOX, NULL, ADD},
    {"CHECK_DisableSound", "vbox7", CHECK, N_("Disable Sound"), PACK},
    {"CHECK_DisableMusic", "vbox7", CHECK, N_("Disable Music"), PACK},
    {"CHECK_DisableMovies", "vbox7", CHECK, N_("Disable Movies"), PACK},
    {"CHECK_DisableLightmap", "vbox7", CHECK, N_("Disable Light Mapping"), PACK},
    {"CHECK_DisableFog", "vbox7", CHECK, N_("Disable Fog"), PACK, INSENSITIVE},
    {"CHECK_LineSystems", "vbox7", CHECK, N_("Disable Line Systems"), PACK},
    {"CHECK_ModelFullbright", "vbox7", CHECK, N_("Disable Model Fullbrights"), PACK},
    {"vbox8", "hbox5", VBOX, NULL, PACK, EXPAND | FILL},
    {"frame6", "vbox8", FRAME, N_("Enable"), PACK, EXPAND | FILL},
    {"vbox9", "frame6", VBOX, NULL, ADD},
    {"CHECK_PolyGap", "vbox9", CHECK, N_("Enable Poly gap fixing (slower)"), PACK},
    {"CHECK_SinglePass", "vbox9", CHECK, N_("Enable Single Pass Multitexturing\n(if available)"), PACK},
    {"CHECK_MovieDouble", "vbox9", CHECK, N_("Enable pixel doubling for movies"), PACK},
    {"frame11", "vbox8", FRAME, N_("Console Key"), PACK, EXPAND | FILL},
    {"hbox7", "frame11", HBOX, NULL, ADD},
    {"STR_ConsoleKey", "hbox7", ENTRY, "^", PACK, EXPAND | FILL | READ_ONLY},
    {"BUT_ConsoleKey", "hbox7", BUTTON, N_("Choose..."), PACK, 0, 5},
    {"frame7", "vbox8", FRAME, N_("Restore"), PACK, EXPAND | FILL},
    {"CHECK_FactoryDefault", "frame7", CHECK, N_("Restore Factory default settings"), ADD},
    {"frame8", "vbox6", FRAME, N_("Command Line"), PACK, EXPAND | FILL},
    {"vbox10", "frame8", VBOX, NULL, ADD},
    {"STR_CommandLine", "vbox10", ENTRY, NULL, PACK},
    {"CHECK_CommandlineValid", "vbox10", CHECK, N_("Always specify these command-line parameters"), PACK},
    {"label5", "vbox6", LABEL, N_("Advanced"), TAB},
    // Page 4: resource archives.
    {"vbox11", "notebook1", VBOX, NULL, ADD},
    {"table2", "vbox11", TABLE, NULL, PACK, EXPAND | FILL},
    {"label11", "table2", LABEL, N_("Available REZ files"), CELL},
    {"label12", "table2", LABEL, N_("REZ files to load"), CELL},
    {"vbox12", "table2", HOMOGENEOUS_VBOX, NULL, CELL},
    {"BUT_Add", "vbox12", BUTTON, N_("Add >"), PACK, INSENSITIVE},
    {"BUT_Rem", "vbox12", BUTTON, N_("< Remove"), PACK, INSENSITIVE},
    {"scrolledwindow1", "table2", SCROLLED, NULL, CELL},
    {"CLIST_AvailFiles", "scrolledwindow1", CLIST, NULL, ADD},
    {"label13", "CLIST_AvailFiles", LABEL, "label13", COLUMN},
    {"scrolledwindow2", "table2", SCROLLED, NULL, CELL},
    {"CLIST_LoadFiles", "scrolledwindow2", CLIST, NULL, ADD},
    {"label14", "CLIST_LoadFiles", LABEL, "label14", COLUMN},
    {"hbox6", "vbox11", HBOX, NULL, PACK},
    {"CHECK_LoadRez", "hbox6", CHECK, N_("Always load these REZ files"), PACK},
    {"label6", "vbox11", LABEL, N_("Customize"), TAB},
    // The three ways out.
    {"hbuttonbox1", "vbox1", BUTTONBOX, NULL, PACK, FILL},
    // TRANSLATORS: Alt+L and L click it in every language: underline an L
    // of your text, or end it with " (_L)" where it has none.
    {"BUT_Run", "hbuttonbox1", BUTTON, N_("_Launch Game"), ADD, UNDERLINED | CAN_DEFAULT},
    // TRANSLATORS: Alt+M and M, as with "_Launch Game".
    {"BUT_Multi", "hbuttonbox1", BUTTON, N_("_Multiplayer Game"), ADD, UNDERLINED | CAN_DEFAULT},
    // TRANSLATORS: Alt+C and C, as with "_Launch Game".
    {"BUT_Cancel", "hbuttonbox1", BUTTON, N_("_Cancel"), ADD, UNDERLINED | CAN_DEFAULT},
};

const int kKeepJustify = -1;
const int kWrapChars = 55;

struct LabelStyle
{
    const char *name;
    int justify;  // a GtkJustification, or kKeepJustify
    gboolean wrap;
    gfloat xalign, yalign;
};

const LabelStyle kLabelStyles[] = {
    {"label19", GTK_JUSTIFY_LEFT, FALSE, 0.03f, 0.5f},
    {"label20", GTK_JUSTIFY_FILL, TRUE, 0.2f, 0.5f},
    {"LAB_WARN", kKeepJustify, FALSE, 0.0f, 0.0f},
    {"label5", GTK_JUSTIFY_FILL, TRUE, 0.0f, 0.04f},
};

struct Cell
{
    const char *name;
    guint left, right, top, bottom;
    int xoptions, yoptions;
    guint xpadding, ypadding;
};

// Attach options as a table cell takes them: expanding takes a share of
// the extra room, filling spreads the widget over its cell (it is centred
// otherwise); padding is the room kept free on both sides.
enum { CELL_EXPAND = 1 << 0, CELL_FILL = 1 << 1 };
const int kGrow = CELL_EXPAND | CELL_FILL;
const Cell kCells[] = {
    {"label11", 0, 1, 0, 1, 0, 0, 0, 0},
    {"label12", 2, 3, 0, 1, 0, 0, 0, 0},
    {"vbox12", 1, 2, 1, 2, kGrow, 0, 5, 0},
    {"scrolledwindow1", 0, 1, 1, 2, kGrow, kGrow, 0, 0},
    {"scrolledwindow2", 2, 3, 1, 2, kGrow, CELL_FILL, 0, 0},
};

// Shortcuts without a modifier: the plain letters of the three push buttons
// beside their Alt ones, and Escape, which cancels as in every dialog.
struct PlainKey
{
    const char *name;
    guint key;
};

const PlainKey kPlainKeys[] = {
    {"BUT_Run", GDK_KEY_L},
    {"BUT_Multi", GDK_KEY_M},
    {"BUT_Cancel", GDK_KEY_C},
    {"BUT_Cancel", GDK_KEY_Escape},
};

struct Tooltip
{
    const char *name;
    const char *text;
};

const Tooltip kTooltips[] = {
    {"BUT_ConsoleKey", N_("Choose the key that opens the in-game console")},
};

// What a screen reader calls the controls that show no text of their own:
// the text of the label that names them on screen (for a frame, its
// title), linked both ways, or else a name of their own. The two display
// lists have no label each: the frame's title names the pair, and with it
// the divider between them, which the keyboard can move too.
struct AccessibleName
{
    const char *name;
    const char *label;  // the widget whose text names it, or null
    const char *text;   // the name otherwise
};

const AccessibleName kAccessibleNames[] = {
    {"notebook1", NULL, N_("Settings")},
    {"pixmap3", NULL, "Orvek"},
    {"vpaned1", "frame4", NULL},
    {"CLIST_Renderer", NULL, N_("Renderer")},
    {"CLIST_Resolutions", NULL, N_("Resolution")},
    {"SPIN_Channels", "label19", NULL},
    {"STR_ConsoleKey", "frame11", NULL},
    {"STR_CommandLine", "frame8", NULL},
    {"CLIST_AvailFiles", "label11", NULL},
    {"CLIST_LoadFiles", "label12", NULL},
};

struct Connection
{
    const char *name;
    const char *signal;
    GCallback handler;
};

const Connection kConnections[] = {
    {"WIN_Main", "delete_event", G_CALLBACK(on_WIN_Main_delete_event)},
    {"WIN_Main", "destroy_event", G_CALLBACK(on_WIN_Main_destroy_event)},
    {"CLIST_Renderer", "select_row", G_CALLBACK(on_CLIST_Renderer_select_row)},
    {"CLIST_Renderer", "unselect_row", G_CALLBACK(on_CLIST_Renderer_select_row)},
    {"CLIST_Resolutions", "select_row", G_CALLBACK(on_CLIST_Resolutions_select_row)},
    {"BUT_ConsoleKey", "clicked", G_CALLBACK(on_BUT_ConsoleKey_clicked)},
    {"BUT_Add", "clicked", G_CALLBACK(on_BUT_Add_clicked)},
    {"BUT_Rem", "clicked", G_CALLBACK(on_BUT_Rem_clicked)},
    {"CLIST_AvailFiles", "select_row", G_CALLBACK(on_CLIST_AvailFiles_select_row)},
    {"CLIST_AvailFiles", "unselect_row", G_CALLBACK(on_CLIST_AvailFiles_unselect_row)},
    {"CLIST_LoadFiles", "select_row", G_CALLBACK(on_CLIST_LoadFiles_select_row)},
    {"CLIST_LoadFiles", "unselect_row", G_CALLBACK(on_CLIST_LoadFiles_unselect_row)},
    {"BUT_Run", "clicked", G_CALLBACK(on_BUT_Run_clicked)},
    {"BUT_Multi", "clicked", G_CALLBACK(on_BUT_Multi_clicked)},
    {"BUT_Cancel", "clicked", G_CALLBACK(on_BUT_Cancel_clicked)},
    {"WIN_Main", "key_press_event", G_CALLBACK(on_WIN_Main_key_press_event)},
    {"CHECK_Fullscreen", "can_activate_accel", G_CALLBACK(on_CHECK_Fullscreen_can_activate_accel)},
    {"STR_CommandLine", "insert_text", G_CALLBACK(on_STR_CommandLine_insert_text)},
};

template <typename Row, size_t N>
const Row *FindRow(const Row (&table)[N], const char *name)
{
    for (const Row &row : table)
        if (strcmp(row.name, name) == 0)
            return &row;
    return NULL;
}

GtkWidget *Named(GtkWidget *window, const char *name)
{
    return GTK_WIDGET(g_object_get_data(G_OBJECT(window), name));
}

// The window's data list keeps one reference per widget, dropped with the window.
void RegisterWidget(GtkWidget *window, GtkWidget *widget, const char *name)
{
    gtk_widget_set_name(widget, name);
    g_object_set_data_full(G_OBJECT(window), name, g_object_ref(widget), g_object_unref);
    gtk_widget_show(widget);
}

// The text a row shows, in the player's language; a row without one has none.
const char *Translated(const char *text)
{
    return text ? _(text) : NULL;
}

// A label text with "_" before one letter: shown without the "_" and with
// that letter underlined (a translation without one is shown as it is).
void ShowUnderlined(GtkLabel *label, const char *text)
{
    const char *mark = strchr(text, '_');
    if (!mark)
    {
        gtk_label_set_text(label, text);
        return;
    }
    gchar *shown = g_strdup_printf("%.*s%s", (int)(mark - text), text, mark + 1);
    // The pattern has a blank for each character before the letter.
    gchar *pattern = g_strdup_printf("%*s_", (int)g_utf8_strlen(text, mark - text), "");
    gtk_label_set_text(label, shown);
    gtk_label_set_pattern(label, pattern);
    g_free(shown);
    g_free(pattern);
}

// The key of the letter after "_" in the English text: Alt with it clicks
// in every language, whichever letter a translation shows underlined.
guint UnderlinedKey(const char *text)
{
    return gdk_keyval_to_lower(gdk_unicode_to_keyval(g_utf8_get_char(strchr(text, '_') + 1)));
}

GtkWidget *Construct(GtkWidget *window, const WidgetRow &row)
{
    switch (row.kind)
    {
    case VBOX: return gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    case HOMOGENEOUS_VBOX:
    {
        GtkWidget *box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        gtk_box_set_homogeneous(GTK_BOX(box), TRUE);
        return box;
    }
    case HBOX: return gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    case LABEL: return gtk_label_new(Translated(row.text));
    case NOTEBOOK: return gtk_notebook_new();
    case PIXMAP: return create_pixmap(window, row.text);
    case FRAME: return gtk_frame_new(Translated(row.text));
    case CHECK: return gtk_check_button_new_with_label(row.flags & UNDERLINED ? "" : _(row.text));
    case VPANED: return gtk_paned_new(GTK_ORIENTATION_VERTICAL);
    case SCROLLED: return gtk_scrolled_window_new(NULL, NULL);
    case CLIST: return ListNew((row.flags & BROWSE) != 0);
    case SPIN:
    {
        // 4 to 32 voices. GTK caps a value at upper minus page size, so the
        // page size is 0 to keep 32 reachable (and spare GTK's warning).
        GtkAdjustment *adjustment = gtk_adjustment_new(16, 4, 32, 1, 10, 0);
        return gtk_spin_button_new(adjustment, 1, 0);
    }
    case ENTRY: return gtk_entry_new();
    case BUTTON: return gtk_button_new_with_label(row.flags & UNDERLINED ? "" : _(row.text));
    case TABLE: return gtk_grid_new();
    case BUTTONBOX: return gtk_button_box_new(GTK_ORIENTATION_HORIZONTAL);
    }
    return NULL;
}

// A table cell: the grid's own expanding and alignment say what the cell's
// attach options and padding said.
void Attach(GtkWidget *grid, GtkWidget *widget, const Cell &cell)
{
    gtk_grid_attach(GTK_GRID(grid), widget, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top);
    gtk_widget_set_hexpand(widget, (cell.xoptions & CELL_EXPAND) != 0);
    gtk_widget_set_vexpand(widget, (cell.yoptions & CELL_EXPAND) != 0);
    gtk_widget_set_halign(widget, cell.xoptions & CELL_FILL ? GTK_ALIGN_FILL : GTK_ALIGN_CENTER);
    gtk_widget_set_valign(widget, cell.yoptions & CELL_FILL ? GTK_ALIGN_FILL : GTK_ALIGN_CENTER);
    gtk_widget_set_margin_start(widget, cell.xpadding);
    gtk_widget_set_margin_end(widget, cell.xpadding);
    gtk_widget_set_margin_top(widget, cell.ypadding);
    gtk_widget_set_margin_bottom(widget, cell.ypadding);
}

void Place(GtkWidget *window, GtkWidget *widget, const WidgetRow &row)
{
    GtkWidget *parent = Named(window, row.parent);
    switch (row.place)
    {
    case PACK:
        gtk_box_pack_start(GTK_BOX(parent), widget, (row.flags & EXPAND) != 0, (row.flags & FILL) != 0,
                           row.padding);
        break;
    case ADD: gtk_container_add(GTK_CONTAINER(parent), widget); break;
    case PANE1: gtk_paned_pack1(GTK_PANED(parent), widget, FALSE, TRUE); break;
    case PANE2: gtk_paned_pack2(GTK_PANED(parent), widget, TRUE, TRUE); break;
    case CELL: Attach(parent, widget, *FindRow(kCells, row.name)); break;
    case TAB: gtk_notebook_set_tab_label(GTK_NOTEBOOK(gtk_widget_get_parent(parent)), parent, widget); break;
    case COLUMN: ListSetColumnWidget(parent, widget); break;
    }
}

// The widget's accessible name: the label's text with the relations between
// the two, or the row's own text.
void NameForScreenReaders(GtkWidget *window, const AccessibleName &row)
{
    AtkObject *accessible = gtk_widget_get_accessible(Named(window, row.name));
    if (!row.label)
    {
        atk_object_set_name(accessible, _(row.text));
        return;
    }
    GtkWidget *label = Named(window, row.label);
    if (GTK_IS_FRAME(label))
        label = gtk_frame_get_label_widget(GTK_FRAME(label));
    AtkObject *labelling = gtk_widget_get_accessible(label);
    atk_object_set_name(accessible, gtk_label_get_text(GTK_LABEL(label)));
    atk_object_add_relationship(accessible, ATK_RELATION_LABELLED_BY, labelling);
    atk_object_add_relationship(labelling, ATK_RELATION_LABEL_FOR, accessible);
}

void SetProperties(GtkWidget *widget, const WidgetRow &row, GtkAccelGroup *accel_group)
{
    switch (row.kind)
    {
    case NOTEBOOK: gtk_notebook_set_tab_pos(GTK_NOTEBOOK(widget), GTK_POS_RIGHT); break;
    case FRAME:
        if (row.flags & NO_SHADOW)
            gtk_frame_set_shadow_type(GTK_FRAME(widget), GTK_SHADOW_NONE);
        break;
    case SCROLLED:
        gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(widget), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
        // The list inside always takes the focus: the scroller never gets
        // it, and a screen reader should not offer it as a control.
        gtk_widget_set_can_focus(widget, FALSE);
        // The lists sit sunken in the page, as they always have.
        gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(widget), GTK_SHADOW_IN);
        break;
    case SPIN: gtk_spin_button_set_numeric(GTK_SPIN_BUTTON(widget), TRUE); break;
    case ENTRY:
        if (row.flags & READ_ONLY)
            gtk_editable_set_editable(GTK_EDITABLE(widget), FALSE);
        if (row.text)
            gtk_entry_set_text(GTK_ENTRY(widget), row.text);
        break;
    case LABEL:
        if (const LabelStyle *style = FindRow(kLabelStyles, row.name))
        {
            if (style->justify != kKeepJustify)
                gtk_label_set_justify(GTK_LABEL(widget), (GtkJustification)style->justify);
            if (style->wrap)
            {
                // Wrapped lines as long as a sentence, not as the window.
                gtk_label_set_line_wrap(GTK_LABEL(widget), TRUE);
                gtk_label_set_max_width_chars(GTK_LABEL(widget), kWrapChars);
            }
            gtk_label_set_xalign(GTK_LABEL(widget), style->xalign);
            gtk_label_set_yalign(GTK_LABEL(widget), style->yalign);
        }
        break;
    default: break;
    }
    if (row.flags & INSENSITIVE)
        gtk_widget_set_sensitive(widget, FALSE);
    if (row.flags & ACTIVE)
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), TRUE);
    if (const Tooltip *tip = FindRow(kTooltips, row.name))
        gtk_widget_set_tooltip_text(widget, _(tip->text));
    if (row.flags & CAN_DEFAULT)
        gtk_widget_set_can_default(widget, TRUE);
    for (const PlainKey &plain : kPlainKeys)
        if (strcmp(plain.name, row.name) == 0)
            gtk_widget_add_accelerator(widget, "clicked", accel_group, plain.key, (GdkModifierType)0,
                                       GTK_ACCEL_VISIBLE);
}

}  // namespace

GtkWidget *create_WIN_Main(void)
{
    GtkAccelGroup *accel_group = gtk_accel_group_new();

    GtkWidget *window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_set_name(window, "WIN_Main");
    g_object_set_data(G_OBJECT(window), "WIN_Main", window);
    gtk_window_set_title(GTK_WINDOW(window), "Orvek");

    for (const WidgetRow &row : kWidgets)
    {
        GtkWidget *widget = Construct(window, row);
        if (row.flags & UNDERLINED)
        {
            // Alt with the underlined letter clicks the button.
            ShowUnderlined(GTK_LABEL(gtk_bin_get_child(GTK_BIN(widget))), _(row.text));
            gtk_widget_add_accelerator(widget, "clicked", accel_group, UnderlinedKey(row.text), GDK_MOD1_MASK,
                                       (GtkAccelFlags)0);
        }
        RegisterWidget(window, widget, row.name);
        Place(window, widget, row);
        SetProperties(widget, row, accel_group);
    }

    for (const AccessibleName &row : kAccessibleNames)
        NameForScreenReaders(window, row);

    for (const Connection &connection : kConnections)
        g_signal_connect(Named(window, connection.name), connection.signal, connection.handler, NULL);

    gtk_window_add_accel_group(GTK_WINDOW(window), accel_group);
    g_object_unref(accel_group);
    // The game's resource file styles the widgets by their names.
    RC_Apply(window);
    return window;
}
