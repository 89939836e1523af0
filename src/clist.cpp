// SPDX-License-Identifier: MIT
// One-column lists on a tree view over a list store. The list keeps the
// selected row itself and reports each change through its own two signals;
// the tree view's selection only shows it, always the list's row. In browse
// mode whatever the player does to the view's selection is turned into the
// same two signals, and a click reports its row even when it is selected
// already. Otherwise the player's keys move only the cursor, and space or a
// click toggles the row they are on, which a tree view would not do by
// itself: a click when the button is released over the row it was pressed
// on, and a double click ends with its row selected.
// A row's text is kept as given, bytes and all; a name that is not UTF-8 is
// shown as GLib shows file names.
#include "clist.h"

enum { COLUMN_TEXT, COLUMN_DATA };
enum { SELECT_ROW, UNSELECT_ROW, SIGNAL_COUNT };

struct OrvekList
{
    GtkTreeView parent;
    GtkListStore *store;
    gboolean browse;
    gint selected;  // -1 for none
    gboolean frozen; // between ListFreeze and ListThaw
    gboolean quiet; // the list itself is changing the view's selection
    gint pressed;   // outside browse mode: the row a click began on, -1 for none
};

struct OrvekListClass
{
    GtkTreeViewClass parent_class;
};

G_DEFINE_TYPE(OrvekList, orvek_list, GTK_TYPE_TREE_VIEW)

static guint signals[SIGNAL_COUNT];

#define ORVEK_LIST(widget) G_TYPE_CHECK_INSTANCE_CAST((widget), orvek_list_get_type(), OrvekList)

static void orvek_list_dispose(GObject *object)
{
    g_clear_object(&ORVEK_LIST(object)->store);
    G_OBJECT_CLASS(orvek_list_parent_class)->dispose(object);
}

static void orvek_list_class_init(OrvekListClass *klass)
{
    G_OBJECT_CLASS(klass)->dispose = orvek_list_dispose;
    const char *names[SIGNAL_COUNT] = {"select_row", "unselect_row"};
    for (int i = 0; i < SIGNAL_COUNT; i++)
        signals[i] = g_signal_new(names[i], G_TYPE_FROM_CLASS(klass), G_SIGNAL_RUN_FIRST, 0, NULL, NULL, NULL,
                                  G_TYPE_NONE, 3, G_TYPE_INT, G_TYPE_INT, G_TYPE_POINTER);
}

static void orvek_list_init(OrvekList *list)
{
    list->selected = -1;
    list->pressed = -1;
}

static GtkTreeModel *Model(OrvekList *list)
{
    return GTK_TREE_MODEL(list->store);
}

// The callers name rows that exist.
static GtkTreeIter RowIter(OrvekList *list, gint row)
{
    GtkTreeIter iter;
    gtk_tree_model_iter_nth_child(Model(list), &iter, NULL, row);
    return iter;
}

// Makes `row` the selected one, reporting the old row unselected first.
static void MoveSelection(OrvekList *list, gint row)
{
    gint old = list->selected;
    if (old != -1 && old != row)
    {
        list->selected = -1;
        g_signal_emit(list, signals[UNSELECT_ROW], 0, old, 0, NULL);
    }
    list->selected = row;
    if (row != -1)
        g_signal_emit(list, signals[SELECT_ROW], 0, row, 0, NULL);
}

// Shows the selected row in the view and puts the keyboard's cursor on it.
// Setting the cursor selects its row too, except while Ctrl is held in a
// key that the view is handling: the row is selected outright.
static void ShowSelection(OrvekList *list)
{
    if (list->frozen)
        return;
    GtkTreeSelection *selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(list));
    list->quiet = TRUE;
    if (list->selected == -1)
    {
        gtk_tree_selection_unselect_all(selection);
    }
    else
    {
        GtkTreePath *path = gtk_tree_path_new_from_indices(list->selected, -1);
        gtk_tree_view_set_cursor(GTK_TREE_VIEW(list), path, NULL, FALSE);
        gtk_tree_selection_select_path(selection, path);
        gtk_tree_path_free(path);
    }
    list->quiet = FALSE;
}

// Selects `row`, or unselects it when it is the selected one.
static void ToggleRow(OrvekList *list, gint row)
{
    MoveSelection(list, row == list->selected ? -1 : row);
    ShowSelection(list);
}

// Outside browse mode only the list itself changes the view's selection.
static gboolean OnlyTheList(GtkTreeSelection *, GtkTreeModel *, GtkTreePath *, gboolean, gpointer data)
{
    return ORVEK_LIST(data)->quiet;
}

// The row under a point of the list's window, or -1.
static gint RowAt(OrvekList *list, gdouble x, gdouble y)
{
    GtkTreePath *path;
    if (!gtk_tree_view_get_path_at_pos(GTK_TREE_VIEW(list), (gint)x, (gint)y, &path, NULL, NULL, NULL))
        return -1;
    gint row = gtk_tree_path_get_indices(path)[0];
    gtk_tree_path_free(path);
    return row;
}

// Returning FALSE, the view still takes the focus and moves its cursor.
static gboolean OnButtonPress(GtkWidget *widget, GdkEventButton *event, gpointer)
{
    OrvekList *list = ORVEK_LIST(widget);
    gint row = event->button == GDK_BUTTON_PRIMARY ? RowAt(list, event->x, event->y) : -1;
    if (row == -1)
        return FALSE;
    if (list->browse)
    {
        if (event->type == GDK_BUTTON_PRESS)
            ListSelectRow(widget, row);
    }
    else if (event->type == GDK_BUTTON_PRESS)
    {
        list->pressed = row;
    }
    else // the second press of a double click
    {
        list->pressed = -1;
        ListSelectRow(widget, row);
    }
    return FALSE;
}

static gboolean OnButtonRelease(GtkWidget *widget, GdkEventButton *event, gpointer)
{
    OrvekList *list = ORVEK_LIST(widget);
    gint pressed = list->pressed;
    if (event->button != GDK_BUTTON_PRIMARY)
        return FALSE;
    list->pressed = -1;
    if (pressed != -1 && RowAt(list, event->x, event->y) == pressed)
        ToggleRow(list, pressed);
    return FALSE;
}

static gboolean IsSpace(guint keyval)
{
    return keyval == GDK_KEY_space || keyval == GDK_KEY_KP_Space;
}

// Ctrl+Page Up and Ctrl+Page Down turn the notebook's pages wherever the
// keyboard is, so a list leaves them to the notebook it lies in rather than
// paging itself. Outside browse mode space toggles the cursor's row.
static gboolean OnKeyPress(GtkWidget *widget, GdkEventKey *event, gpointer)
{
    OrvekList *list = ORVEK_LIST(widget);
    GtkWidget *notebook;
    GtkTreePath *path;
    if ((event->keyval == GDK_KEY_Page_Up || event->keyval == GDK_KEY_Page_Down) &&
        (event->state & GDK_CONTROL_MASK) && (notebook = gtk_widget_get_ancestor(widget, GTK_TYPE_NOTEBOOK)))
        return gtk_bindings_activate_event(G_OBJECT(notebook), event);
    if (list->browse || !IsSpace(event->keyval))
        return FALSE;
    gtk_tree_view_get_cursor(GTK_TREE_VIEW(widget), &path, NULL);
    if (!path)
        return FALSE;
    ToggleRow(list, gtk_tree_path_get_indices(path)[0]);
    gtk_tree_path_free(path);
    return TRUE;
}

// The player changed the view's selection.
static void OnSelectionChanged(GtkTreeSelection *selection, gpointer data)
{
    OrvekList *list = ORVEK_LIST(data);
    if (list->quiet)
        return;
    GtkTreeModel *model;
    GtkTreeIter iter;
    gint row = -1;
    if (gtk_tree_selection_get_selected(selection, &model, &iter))
    {
        GtkTreePath *path = gtk_tree_model_get_path(model, &iter);
        row = gtk_tree_path_get_indices(path)[0];
        gtk_tree_path_free(path);
    }
    if (row != list->selected)
        MoveSelection(list, row);
}

// The player moved the view's cursor. A browse list selects the row the
// cursor is on, also when Ctrl held with a moving key moves only the cursor
// of a tree view.
static void OnCursorChanged(GtkTreeView *view, gpointer)
{
    OrvekList *list = ORVEK_LIST(view);
    GtkTreePath *path;
    if (list->quiet)
        return;
    gtk_tree_view_get_cursor(view, &path, NULL);
    gint row = gtk_tree_path_get_indices(path)[0];
    gtk_tree_path_free(path);
    if (row != list->selected)
        ListSelectRow(GTK_WIDGET(view), row);
}

// The row's text as the player sees it: archive names are file names, which
// need not be UTF-8, and are shown as GLib shows such a name.
static void ShowText(GtkTreeViewColumn *, GtkCellRenderer *cell, GtkTreeModel *model, GtkTreeIter *iter, gpointer)
{
    gchar *text;
    gtk_tree_model_get(model, iter, COLUMN_TEXT, &text, -1);
    if (!g_utf8_validate(text, -1, NULL))
    {
        gchar *shown = g_filename_display_name(text);
        g_free(text);
        text = shown;
    }
    g_object_set(cell, "text", text, NULL);
    g_free(text);
}

GtkWidget *ListNew(gboolean browse)
{
    OrvekList *list = ORVEK_LIST(g_object_new(orvek_list_get_type(), NULL));
    GtkTreeView *view = GTK_TREE_VIEW(list);
    list->browse = browse;
    list->store = gtk_list_store_new(2, G_TYPE_STRING, G_TYPE_POINTER);
    gtk_tree_view_set_model(view, Model(list));

    GtkTreeViewColumn *column = gtk_tree_view_column_new();
    GtkCellRenderer *cell = gtk_cell_renderer_text_new();
    gtk_tree_view_column_pack_start(column, cell, TRUE);
    gtk_tree_view_column_set_cell_data_func(column, cell, ShowText, NULL, NULL);
    gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
    gtk_tree_view_column_set_fixed_width(column, 80);
    gtk_tree_view_column_set_expand(column, TRUE);
    gtk_tree_view_append_column(view, column);
    gtk_tree_view_set_fixed_height_mode(view, TRUE);
    gtk_tree_view_set_headers_visible(view, FALSE);
    gtk_tree_view_set_enable_search(view, FALSE);

    GtkTreeSelection *selection = gtk_tree_view_get_selection(view);
    if (browse)
    {
        gtk_tree_selection_set_mode(selection, GTK_SELECTION_BROWSE);
        g_signal_connect(selection, "changed", G_CALLBACK(OnSelectionChanged), list);
        g_signal_connect(view, "cursor-changed", G_CALLBACK(OnCursorChanged), NULL);
    }
    else
    {
        gtk_tree_selection_set_select_function(selection, OnlyTheList, list, NULL);
        g_signal_connect(view, "button-release-event", G_CALLBACK(OnButtonRelease), NULL);
    }
    g_signal_connect(view, "button-press-event", G_CALLBACK(OnButtonPress), NULL);
    g_signal_connect(view, "key-press-event", G_CALLBACK(OnKeyPress), NULL);
    return GTK_WIDGET(list);
}

void ListSetColumnWidget(GtkWidget *list, GtkWidget *widget)
{
    gtk_tree_view_column_set_widget(gtk_tree_view_get_column(GTK_TREE_VIEW(list), 0), widget);
}

gint ListAppend(GtkWidget *widget, const gchar *text)
{
    OrvekList *list = ORVEK_LIST(widget);
    gtk_list_store_insert_with_values(list->store, NULL, -1, COLUMN_TEXT, text, COLUMN_DATA, NULL, -1);
    gint row = ListRows(widget) - 1;
    if (list->browse && list->selected == -1)
        ListSelectRow(widget, row);
    return row;
}

void ListRemove(GtkWidget *widget, gint row)
{
    OrvekList *list = ORVEK_LIST(widget);
    GtkTreeIter iter = RowIter(list, row);
    if (row == list->selected)
        MoveSelection(list, -1);
    else if (row < list->selected)
        list->selected--;
    // The view moves its cursor off a removed row and selects the next one;
    // it shows the list's selection again, none after the selected row.
    list->quiet = TRUE;
    gtk_list_store_remove(list->store, &iter);
    list->quiet = FALSE;
    ShowSelection(list);
}

void ListClear(GtkWidget *widget)
{
    OrvekList *list = ORVEK_LIST(widget);
    list->quiet = TRUE;
    gtk_list_store_clear(list->store);
    list->quiet = FALSE;
    list->selected = -1;
}

gint ListRows(GtkWidget *list)
{
    return gtk_tree_model_iter_n_children(Model(ORVEK_LIST(list)), NULL);
}

gchar *ListText(GtkWidget *widget, gint row)
{
    OrvekList *list = ORVEK_LIST(widget);
    GtkTreeIter iter = RowIter(list, row);
    gchar *text;
    gtk_tree_model_get(Model(list), &iter, COLUMN_TEXT, &text, -1);
    return text;
}

void ListSetRowData(GtkWidget *widget, gint row, gpointer data)
{
    OrvekList *list = ORVEK_LIST(widget);
    GtkTreeIter iter = RowIter(list, row);
    gtk_list_store_set(list->store, &iter, COLUMN_DATA, data, -1);
}

gpointer ListRowData(GtkWidget *widget, gint row)
{
    OrvekList *list = ORVEK_LIST(widget);
    GtkTreeIter iter = RowIter(list, row);
    gpointer data;
    gtk_tree_model_get(Model(list), &iter, COLUMN_DATA, &data, -1);
    return data;
}

void ListSelectRow(GtkWidget *widget, gint row)
{
    OrvekList *list = ORVEK_LIST(widget);
    MoveSelection(list, row);
    ShowSelection(list);
}

// A frozen list has no model in its view: a list store without a view takes
// each row at the cost of the store alone.
void ListFreeze(GtkWidget *widget)
{
    OrvekList *list = ORVEK_LIST(widget);
    list->frozen = TRUE;
    list->quiet = TRUE;
    gtk_tree_view_set_model(GTK_TREE_VIEW(list), NULL);
    list->quiet = FALSE;
}

void ListThaw(GtkWidget *widget)
{
    OrvekList *list = ORVEK_LIST(widget);
    list->frozen = FALSE;
    list->quiet = TRUE;
    gtk_tree_view_set_model(GTK_TREE_VIEW(list), Model(list));
    list->quiet = FALSE;
    ShowSelection(list);
}
