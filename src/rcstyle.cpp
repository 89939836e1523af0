// SPDX-License-Identifier: MIT
// GTK resource files to CSS. What the launcher's look needs of such a file:
//   style "name" [= "parent"] { bg[STATE] = "#rrggbb"  fg[..]  base[..]
//                               text[..]  font_name = "Sans Bold 18" }
//   widget "WIN_Main*NAME" style "name"
// Every "widget" line becomes a CSS class with the style's rules; RC_Apply
// hands each class to the widgets whose path matches the line's pattern.
// bg is a widget's background, fg its text, base the background of text
// boxes and lists (and of the check boxes' squares) and text their text.
#include "rcstyle.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

enum Kind { BG, FG, BASE, TEXT, KIND_COUNT };
enum State { NORMAL, ACTIVE, PRELIGHT, SELECTED, INSENSITIVE, STATE_COUNT };

const char *const kKinds[KIND_COUNT] = {"bg", "fg", "base", "text"};
const char *const kStates[STATE_COUNT] = {"NORMAL", "ACTIVE", "PRELIGHT", "SELECTED", "INSENSITIVE"};
const char *const kPseudo[STATE_COUNT] = {"", ":active", ":hover", ":selected", ":disabled"};

struct Style
{
    std::string name;
    std::string colors[KIND_COUNT][STATE_COUNT]; // CSS colours; empty when unset
    std::string font;                            // CSS font declarations
};

struct Rule
{
    std::string pattern;
    std::string cssClass;
};

std::vector<Style> styles;
std::vector<Rule> rules;

// The CSS selectors that one colour of a style sets, with "%1$s" for the
// class and "%2$s" for the state's pseudo-class.
const char *const kSelectors[KIND_COUNT] = {
    // Labels draw no background of their own; notebooks draw their tab row
    // and page in nodes of their own.
    ".%1$s%2$s:not(label), notebook.%1$s%2$s > header, notebook.%1$s%2$s > stack",
    // A notebook's tabs take its text colour, in which the keyboard focus
    // is drawn on them.
    ".%1$s%2$s, notebook.%1$s%2$s > header > tabs > tab",
    "entry.%1$s%2$s, spinbutton.%1$s%2$s, treeview.%1$s%2$s, .%1$s%2$s check, .%1$s%2$s radio",
    // A spin button draws its number, its - and its + in nodes of their own.
    ("entry.%1$s%2$s, spinbutton.%1$s%2$s, spinbutton.%1$s%2$s > entry, spinbutton.%1$s%2$s > button, "
     "treeview.%1$s%2$s, .%1$s%2$s check, .%1$s%2$s radio"),
};

// What is skipped, by line. A "{" that is never closed is only found at the
// end of the file, after the lines it swallowed: the warnings are given once
// the file is read, in the order of its lines.
typedef std::vector<std::pair<guint, std::string>> Lines;
Lines warnings;

void Skipped(guint line, const std::string &what)
{
    warnings.emplace_back(line, what);
}

// Each line that the "{" of line `open`, never closed, took with it.
void Swallowed(const Lines &lines, guint open)
{
    for (const auto &item : lines)
        Skipped(item.first, item.second + " (the { of line " + std::to_string(open) + " is never closed)");
}

std::string Text(GScanner *scanner)
{
    switch (scanner->token)
    {
    case G_TOKEN_STRING: return scanner->value.v_string;
    case G_TOKEN_IDENTIFIER: return scanner->value.v_identifier;
    default: return std::string(1, (char)scanner->token);
    }
}

// Passes over the rest of something not understood: up to the end of the
// line it started on, with any braces opened there (or on the next line)
// closed again. Names it in one warning, and each further line that a
// brace never closed takes along in one more.
void SkipItem(GScanner *scanner, guint line, const std::string &what)
{
    Skipped(line, what);
    std::vector<guint> open; // the lines of the braces open, outermost first
    Lines inside;            // the first word of each later line inside them
    for (;;)
    {
        GTokenType next = g_scanner_peek_next_token(scanner);
        if (next == G_TOKEN_EOF)
        {
            if (!open.empty())
                Swallowed(inside, open.front());
            return;
        }
        if (open.empty() && (next == G_TOKEN_RIGHT_CURLY || (scanner->next_line != line && next != G_TOKEN_LEFT_CURLY)))
            return;
        g_scanner_get_next_token(scanner);
        if (!open.empty() && scanner->line != line)
            inside.emplace_back(scanner->line, Text(scanner));
        if (next == G_TOKEN_LEFT_CURLY)
            open.push_back(scanner->line);
        else if (next == G_TOKEN_RIGHT_CURLY)
            open.pop_back();
        if (open.empty())
            inside.clear();
        line = scanner->line;
    }
}

bool Expect(GScanner *scanner, GTokenType token)
{
    return g_scanner_get_next_token(scanner) == token;
}

int Find(const char *const *names, int count, const std::string &name)
{
    for (int i = 0; i < count; i++)
        if (name == names[i])
            return i;
    return -1;
}

// A colour: "#rgb", "#rrggbb", a name, or { r, g, b } in 0 to 1.
bool ReadColor(GScanner *scanner, std::string &css)
{
    GdkRGBA rgba = {0, 0, 0, 1};
    GTokenType token = g_scanner_get_next_token(scanner);
    if (token == G_TOKEN_STRING)
    {
        if (!gdk_rgba_parse(&rgba, scanner->value.v_string))
            return false;
    }
    else if (token == G_TOKEN_LEFT_CURLY)
    {
        double *parts[3] = {&rgba.red, &rgba.green, &rgba.blue};
        for (int i = 0; i < 3; i++)
        {
            if ((i > 0 && !Expect(scanner, G_TOKEN_COMMA)) || !Expect(scanner, G_TOKEN_FLOAT))
                return false;
            *parts[i] = CLAMP(scanner->value.v_float, 0.0, 1.0);
        }
        if (!Expect(scanner, G_TOKEN_RIGHT_CURLY))
            return false;
    }
    else
    {
        return false;
    }
    gchar *text = gdk_rgba_to_string(&rgba);
    css = text;
    g_free(text);
    return true;
}

// A text as a CSS string. A font name in the file, a string, may hold any
// byte but a NUL, also quotes and line feeds: those and the other control
// characters are escaped, as CSS allows none of them as they are.
std::string CssString(const char *text)
{
    std::string css = "\"";
    for (const unsigned char *c = (const unsigned char *)text; *c; c++)
    {
        if (*c < 0x20 || *c == 0x7f)
        {
            char escape[8];
            snprintf(escape, sizeof escape, "\\%x ", *c);
            css += escape;
            continue;
        }
        if (*c == '"' || *c == '\\')
            css += '\\';
        css += (char)*c;
    }
    return css + "\"";
}

// A Pango font name such as "Sans Bold 18" as CSS declarations.
std::string FontDeclarations(const char *name)
{
    PangoFontDescription *font = pango_font_description_from_string(name);
    PangoFontMask set = pango_font_description_get_set_fields(font);
    std::string css;
    if (set & PANGO_FONT_MASK_FAMILY)
        css += " font-family: " + CssString(pango_font_description_get_family(font)) + ";";
    if (set & PANGO_FONT_MASK_STYLE)
    {
        const char *const kSlants[] = {"normal", "oblique", "italic"};
        css += std::string(" font-style: ") + kSlants[pango_font_description_get_style(font)] + ";";
    }
    // GTK's CSS knows only the nine weights from 100 to 900 in hundreds;
    // Pango has more, such as book (380) and ultraheavy (1000).
    if (set & PANGO_FONT_MASK_WEIGHT)
    {
        int hundreds = CLAMP((pango_font_description_get_weight(font) + 50) / 100, 1, 9);
        css += " font-weight: " + std::to_string(hundreds * 100) + ";";
    }
    if (set & PANGO_FONT_MASK_SIZE)
        css += " font-size: " + std::to_string(pango_font_description_get_size(font) / PANGO_SCALE) +
               (pango_font_description_get_size_is_absolute(font) ? "px;" : "pt;");
    pango_font_description_free(font);
    return css;
}

// One line of a style's block; false when it is skipped. `item` is its
// line and its first word.
bool ReadStyleItem(GScanner *scanner, Style &style, std::pair<guint, std::string> &item)
{
    g_scanner_get_next_token(scanner);
    guint line = scanner->line;
    std::string name = Text(scanner);
    item = {line, name};
    int kind = Find(kKinds, KIND_COUNT, name);
    if (kind >= 0)
    {
        int state = -1;
        std::string color;
        if (Expect(scanner, G_TOKEN_LEFT_BRACE) && Expect(scanner, G_TOKEN_IDENTIFIER))
            state = Find(kStates, STATE_COUNT, scanner->value.v_identifier);
        if (state >= 0 && Expect(scanner, G_TOKEN_RIGHT_BRACE) && Expect(scanner, G_TOKEN_EQUAL_SIGN) &&
            ReadColor(scanner, color))
        {
            style.colors[kind][state] = color;
            return true;
        }
    }
    else if (name == "font_name")
    {
        if (Expect(scanner, G_TOKEN_EQUAL_SIGN) && Expect(scanner, G_TOKEN_STRING))
        {
            style.font = FontDeclarations(scanner->value.v_string);
            return true;
        }
    }
    SkipItem(scanner, line, name);
    return false;
}

Style *FindStyle(const std::string &name)
{
    // A later definition of a name replaces the earlier one.
    for (auto style = styles.rbegin(); style != styles.rend(); ++style)
        if (style->name == name)
            return &*style;
    return NULL;
}

// style "name" [= "parent"] { ... }
bool ReadStyle(GScanner *scanner)
{
    if (!Expect(scanner, G_TOKEN_STRING))
        return false;
    Style style;
    style.name = scanner->value.v_string;
    if (g_scanner_peek_next_token(scanner) == G_TOKEN_EQUAL_SIGN)
    {
        g_scanner_get_next_token(scanner);
        Style *parent = Expect(scanner, G_TOKEN_STRING) ? FindStyle(scanner->value.v_string) : NULL;
        if (!parent)
            return false;
        Style copy = *parent;
        copy.name = style.name;
        style = copy;
    }
    if (!Expect(scanner, G_TOKEN_LEFT_CURLY))
        return false;
    guint open = scanner->line;
    Lines read; // its items so far, lost if its block never ends
    for (;;)
    {
        GTokenType next = g_scanner_peek_next_token(scanner);
        if (next == G_TOKEN_EOF)
        {
            Swallowed(read, open);
            return false;
        }
        if (next == G_TOKEN_RIGHT_CURLY)
            break;
        std::pair<guint, std::string> item;
        if (ReadStyleItem(scanner, style, item))
            read.push_back(item);
    }
    g_scanner_get_next_token(scanner);
    styles.push_back(style);
    return true;
}

std::string Rules(const Style &style, const std::string &cssClass)
{
    const char *const kProperty[KIND_COUNT] = {"background-color", "color", "background-color", "color"};
    std::string css;
    for (int kind = 0; kind < KIND_COUNT; kind++)
        for (int state = 0; state < STATE_COUNT; state++)
        {
            const std::string &color = style.colors[kind][state];
            if (color.empty())
                continue;
            gchar *selectors = g_strdup_printf(kSelectors[kind], cssClass.c_str(), kPseudo[state]);
            css += std::string(selectors) + " { " + kProperty[kind] + ": " + color + ";" +
                   (kind == BG || kind == BASE ? " background-image: none;" : "") + " }\n";
            g_free(selectors);
        }
    // A notebook's tabs: the current one in the NORMAL colour, the others
    // in the ACTIVE one, as such files have always meant them.
    const char *const kTabs[2] = {":checked", ":not(:checked)"};
    for (int i = 0; i < 2; i++)
        if (!style.colors[BG][i == 0 ? NORMAL : ACTIVE].empty())
            css += "notebook." + cssClass + " > header > tabs > tab" + kTabs[i] + " { background-color: " +
                   style.colors[BG][i == 0 ? NORMAL : ACTIVE] + "; background-image: none; }\n";
    // The lines of frames and of the notebook in a lighter shade of the
    // background, as such files have always had them etched.
    if (!style.colors[BG][NORMAL].empty())
        css += "frame." + cssClass + " > border, notebook." + cssClass + ", notebook." + cssClass +
               " > header { border-color: shade(" + style.colors[BG][NORMAL] + ", 1.3); }\n";
    if (!style.font.empty())
        css += "." + cssClass + " {" + style.font + " }\n";
    return css;
}

// widget "pattern" style "name"
bool ReadWidget(GScanner *scanner, std::string &css)
{
    if (!Expect(scanner, G_TOKEN_STRING))
        return false;
    std::string pattern = scanner->value.v_string;
    if (!Expect(scanner, G_TOKEN_IDENTIFIER) || strcmp(scanner->value.v_identifier, "style") != 0 ||
        !Expect(scanner, G_TOKEN_STRING))
        return false;
    const Style *style = FindStyle(scanner->value.v_string);
    if (!style)
        return false;
    Rule rule = {pattern, "orvek-rc-" + std::to_string(rules.size() + 1)};
    css += Rules(*style, rule.cssClass);
    rules.push_back(rule);
    return true;
}

void ApplyTo(GtkWidget *widget, const std::string &path);

void ApplyToChild(GtkWidget *child, gpointer path)
{
    ApplyTo(child, *(const std::string *)path + "." + gtk_widget_get_name(child));
}

void ApplyTo(GtkWidget *widget, const std::string &path)
{
    GtkStyleContext *context = gtk_widget_get_style_context(widget);
    for (const Rule &rule : rules)
        if (g_pattern_match_simple(rule.pattern.c_str(), path.c_str()))
            gtk_style_context_add_class(context, rule.cssClass.c_str());
    if (GTK_IS_CONTAINER(widget))
        gtk_container_forall(GTK_CONTAINER(widget), ApplyToChild, (gpointer)&path);
}

}  // namespace

gchar *RC_Translate(const char *filename, const gchar *text, gsize length)
{
    styles.clear();
    rules.clear();
    GScanner *scanner = g_scanner_new(NULL);
    scanner->config->cset_identifier_nth = (gchar *)(G_CSET_a_2_z G_CSET_A_2_Z "_-:0123456789");
    scanner->config->scan_identifier_1char = TRUE;
    scanner->config->int_2_float = TRUE;
    g_scanner_input_text(scanner, text, (guint)length);

    std::string css;
    while (g_scanner_peek_next_token(scanner) != G_TOKEN_EOF)
    {
        g_scanner_get_next_token(scanner);
        guint line = scanner->line;
        std::string word = Text(scanner);
        bool read = scanner->token == G_TOKEN_IDENTIFIER &&
                    (word == "style" ? ReadStyle(scanner) : word == "widget" ? ReadWidget(scanner, css) : false);
        if (!read)
            SkipItem(scanner, line, word);
    }
    g_scanner_destroy(scanner);

    std::stable_sort(warnings.begin(), warnings.end(),
                     [](const Lines::value_type &a, const Lines::value_type &b) { return a.first < b.first; });
    for (const auto &warning : warnings)
        g_warning("%s: line %u: skipped %s", filename, warning.first, warning.second.c_str());
    warnings.clear();
    return g_strdup(css.c_str());
}

void RC_Parse(const char *filename)
{
    gchar *text = NULL;
    gsize length = 0;
    if (!g_file_get_contents(filename, &text, &length, NULL))
        return;
    gchar *css = RC_Translate(filename, text, length);
    g_free(text);
    GtkCssProvider *provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css, -1, NULL);
    g_free(css);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

void RC_Apply(GtkWidget *window)
{
    ApplyTo(window, gtk_widget_get_name(window));
}
