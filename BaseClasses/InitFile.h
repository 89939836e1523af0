// SPDX-License-Identifier: MIT
// A write-back cache of INI files: each file is read once into a hash table
// of (section, key) -> value, served from memory afterwards, and rewritten
// whole, sorted, when the cache is flushed or destroyed. Section, key and
// file names are matched without regard to letter case.
#ifndef ORVEK_INITFILE_H
#define ORVEK_INITFILE_H

#include <stdio.h>

#include "CString.h"

// Every INI file is opened and closed through these hooks, which the program
// provides: the launcher reads with plain fopen, and a file opened for
// writing reaches the disk at linuxFClose, whole or not at all (non-zero,
// with the old file kept, when it does not). linuxFOpen gives null, said on
// standard error, for a file that may not be saved.
FILE *linuxFOpen(const char *name, const char *mode);
int linuxFClose(FILE *fp);
// And says, the program's way, that a file is not saved (printf-style, one
// line without its line feed).
void ReportNotSaved(const char *format, ...) __attribute__((format(printf, 1, 2)));

class InitFileHashEntry
{
public:
    InitFileHashEntry *m_pNext; // next entry of the same bucket
    CString m_Section;
    CString m_Keyname;
    CString m_Value;
};

class InitFileHashTable
{
    friend class InitFileEntry; // saving walks the buckets directly

public:
    explicit InitFileHashTable(int nSize);
    ~InitFileHashTable();
    InitFileHashTable(const InitFileHashTable &) = delete;
    InitFileHashTable &operator=(const InitFileHashTable &) = delete;

    // Adds an entry even if an equal one exists; the newest is found first.
    void Insert(const char *pSection, const char *pKeyname, const char *pValue);
    // The value of the newest matching entry, replaced first by `pNewVal`
    // when that is not null; null when there is no such entry.
    char *Find(const char *pSection, const char *pKeyname, const char *pNewVal);

private:
    unsigned long Hash(const char *pKey1, const char *pKey2);

    InitFileHashEntry **m_pHashBuckets;
    int m_nSize;
    int m_nElements;
};

// One cached file.
class InitFileEntry
{
public:
    InitFileEntry();
    ~InitFileEntry(); // drops the table without saving it
    InitFileEntry(const InitFileEntry &) = delete;
    InitFileEntry &operator=(const InitFileEntry &) = delete;

    // 1 when the whole file was read; 0 when it cannot be opened or holds a
    // line without "=" (the entries before that line stay in the table).
    int Load(const char *pFilename, int nHashSize);
    // Rewrites the file from the table; an empty table leaves it alone. A
    // file whose loading failed on a line is first copied to NAME.bak.
    void Save();

    InitFileEntry *m_pNext;
    CString m_Filename;
    InitFileHashTable *m_pHashTable;

private:
    void NoteUnreadableLine(int lineNumber, const char *line);

    CString m_Unreadable; // "line N (text)" where loading failed, else empty
};

// One row of a file being saved.
class SortEntry
{
public:
    CString m_Section;
    CString m_Key;
    CString m_Value;
};

// qsort comparison of two pointers to SortEntry rows: section, then key,
// both case-blind.
int SortFunc(const void *aa, const void *bb);

class InitFile
{
public:
    explicit InitFile(int nSize); // buckets per file table
    ~InitFile();                  // saves every cached file
    InitFile(const InitFile &) = delete;
    InitFile &operator=(const InitFile &) = delete;

    // Copies at most nSize - 1 characters of the value (or of lpDefault
    // when the key is missing, "" when that is null), always terminated;
    // returns the number of characters copied.
    unsigned long GetPrivateProfileString(const char *lpAppName, const char *lpKeyName,
                                          const char *lpDefault, char *lpReturnedString,
                                          unsigned long nSize, const char *lpFileName);
    // Sets the key in the cache only; always 1. A null value changes
    // nothing: an existing key keeps its value and a missing one stays
    // missing.
    int WritePrivateProfileString(const char *lpAppName, const char *lpKeyName,
                                  const char *lpStringName, const char *lpFileName);
    void Flush();

private:
    InitFileEntry *FindFile(const char *lpFileName);
    InitFileEntry *LoadFile(const char *lpFileName, bool keepUnreadable);

    InitFileEntry *m_pHead;
    int m_nSize;
};

#endif
