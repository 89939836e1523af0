// SPDX-License-Identifier: MIT
// The owning string of the settings engine, and a small fixed-capacity list
// of such strings.
#ifndef ORVEK_CSTRING_H
#define ORVEK_CSTRING_H

#include <stdint.h>

// Holds one heap copy of its text, exactly as long as the text. "No text"
// (a null pointer) and "the empty text" are different states: both count
// as empty, but only the second converts to "".
class CString
{
public:
    CString();
    CString(const char *text);
    CString(const CString &other);
    ~CString();

    // Assigning a null pointer, or a string without text, keeps the old text.
    CString &operator=(const CString &other);
    CString &operator=(const char *text);
    // Null on either side counts as ""; the result always holds text.
    CString &operator+=(const char *text);

    int IsEmpty() const;
    void Empty();
    // printf-style; output beyond 10239 characters is cut off.
    void Format(const char *format, ...) __attribute__((format(printf, 2, 3)));

    // The text itself (null without text); valid until the next change.
    operator char *() const;

private:
    void copy(const char *text);

    char *string;
    static char buffer[10240]; // Format's scratch space, shared by all strings
};

typedef int32_t POSITION;

// Up to 256 strings; positions count from 1, and 0 means "no more".
class CStringList
{
public:
    CStringList();
    ~CStringList();
    CStringList(const CStringList &) = delete; // owns its strings: no copies
    CStringList &operator=(const CStringList &) = delete;

    // A string beyond the 256th is not stored.
    void AddTail(const char *text);
    void AddTail(const CString &text);
    POSITION GetHeadPosition() const;
    int GetCount() const;
    // The string at `pos`, then `pos` moves on (to 0 after the last one or
    // when `pos` names no string, which then yields a string without text).
    CString GetNext(POSITION &pos) const;
    void RemoveAll();

private:
    CString *strings[256];
    int32_t NumStrings;
};

#endif
