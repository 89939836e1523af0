// SPDX-License-Identifier: MIT
#include "CString.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

char CString::buffer[10240];

CString::CString() : string(NULL)
{
}

CString::CString(const char *text) : string(NULL)
{
    copy(text);
}

CString::CString(const CString &other) : string(NULL)
{
    copy(other.string);
}

CString::~CString()
{
    delete[] string;
}

CString &CString::operator=(const CString &other)
{
    copy(other.string);
    return *this;
}

CString &CString::operator=(const char *text)
{
    copy(text);
    return *this;
}

CString &CString::operator+=(const char *text)
{
    const char *head = string ? string : "";
    const char *tail = text ? text : "";
    size_t headLen = strlen(head);
    size_t tailLen = strlen(tail);
    char *joined = new char[headLen + tailLen + 1];

    memcpy(joined, head, headLen);
    memcpy(joined + headLen, tail, tailLen + 1);
    delete[] string;
    string = joined;
    return *this;
}

int CString::IsEmpty() const
{
    return string == NULL || string[0] == '\0';
}

void CString::Empty()
{
    delete[] string;
    string = NULL;
}

void CString::Format(const char *format, ...)
{
    va_list args;

    va_start(args, format);
    int written = vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    // An encoding error leaves the buffer undefined; take it as no output.
    if (written < 0)
        buffer[0] = '\0';
    copy(buffer);
}

CString::operator char *() const
{
    return string;
}

void CString::copy(const char *text)
{
    if (text == NULL)
        return;
    // The new copy is made before the old text goes, so that a string can
    // be assigned its own text.
    size_t len = strlen(text);
    char *fresh = new char[len + 1];
    memcpy(fresh, text, len + 1);
    delete[] string;
    string = fresh;
}

CStringList::CStringList() : NumStrings(0)
{
}

CStringList::~CStringList()
{
    RemoveAll();
}

void CStringList::AddTail(const char *text)
{
    if (NumStrings >= (int32_t)(sizeof strings / sizeof strings[0]))
        return;
    strings[NumStrings++] = new CString(text);
}

void CStringList::AddTail(const CString &text)
{
    AddTail((const char *)text);
}

POSITION CStringList::GetHeadPosition() const
{
    return NumStrings > 0 ? 1 : 0;
}

int CStringList::GetCount() const
{
    return NumStrings;
}

CString CStringList::GetNext(POSITION &pos) const
{
    if (pos < 1 || pos > NumStrings)
    {
        pos = 0;
        return CString();
    }
    CString result(*strings[pos - 1]);
    pos = pos < NumStrings ? pos + 1 : 0;
    return result;
}

void CStringList::RemoveAll()
{
    for (int32_t i = 0; i < NumStrings; i++)
        delete strings[i];
    NumStrings = 0;
}
