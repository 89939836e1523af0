// SPDX-License-Identifier: MIT
#include "InitFile.h"

#include <ctype.h>
#include <errno.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

// Callers outside the launcher may pass null names; they mean "".
static const char *OrEmpty(const char *text)
{
    return text ? text : "";
}

InitFileHashTable::InitFileHashTable(int nSize)
    : m_nSize(nSize > 0 ? nSize : 1), m_nElements(0)
{
    m_pHashBuckets = new InitFileHashEntry *[m_nSize];
    for (int i = 0; i < m_nSize; i++)
        m_pHashBuckets[i] = NULL;
}

InitFileHashTable::~InitFileHashTable()
{
    for (int i = 0; i < m_nSize; i++)
    {
        InitFileHashEntry *entry = m_pHashBuckets[i];
        while (entry)
        {
            InitFileHashEntry *next = entry->m_pNext;
            delete entry;
            entry = next;
        }
    }
    delete[] m_pHashBuckets;
}

// The running sum of the upper-cased bytes of section and key, reduced after
// every byte; upper-casing keeps names that differ only in case together.
unsigned long InitFileHashTable::Hash(const char *pKey1, const char *pKey2)
{
    const char *keys[2] = {OrEmpty(pKey1), OrEmpty(pKey2)};
    uint32_t v = 0;

    for (const char *key : keys)
        for (const char *p = key; *p; p++)
        {
            // Bytes above 127 count as negative, as a signed char would.
            signed char upper = (signed char)toupper((unsigned char)*p);
            v = (v + (uint32_t)(int32_t)upper) % (uint32_t)m_nSize;
        }
    return v;
}

void InitFileHashTable::Insert(const char *pSection, const char *pKeyname, const char *pValue)
{
    unsigned long bucket = Hash(pSection, pKeyname);
    InitFileHashEntry *entry = new InitFileHashEntry;

    entry->m_Section = OrEmpty(pSection);
    entry->m_Keyname = OrEmpty(pKeyname);
    entry->m_Value = OrEmpty(pValue);
    entry->m_pNext = m_pHashBuckets[bucket];
    m_pHashBuckets[bucket] = entry;
    m_nElements++;
}

char *InitFileHashTable::Find(const char *pSection, const char *pKeyname, const char *pNewVal)
{
    pSection = OrEmpty(pSection);
    pKeyname = OrEmpty(pKeyname);
    for (InitFileHashEntry *entry = m_pHashBuckets[Hash(pSection, pKeyname)]; entry;
         entry = entry->m_pNext)
    {
        if (strcasecmp(entry->m_Section, pSection) == 0 &&
            strcasecmp(entry->m_Keyname, pKeyname) == 0)
        {
            if (pNewVal)
                entry->m_Value = pNewVal;
            return entry->m_Value;
        }
    }
    return NULL;
}

InitFileEntry::InitFileEntry() : m_pNext(NULL), m_pHashTable(NULL)
{
}

InitFileEntry::~InitFileEntry()
{
    delete m_pHashTable;
}

// fgets into a cleared buffer, so that a line feed anywhere in the buffer
// was read by this call, even behind a NUL byte that ends the line's text
// early: the line still counts as a line.
static char *ReadPiece(char *buffer, size_t size, FILE *fp)
{
    memset(buffer, 0, size);
    return fgets(buffer, (int)size, fp);
}

int InitFileEntry::Load(const char *pFilename, int nHashSize)
{
    // Lines are read in pieces of at most 511 characters; each piece is
    // parsed as a line of its own.
    static char sBuffer[512];
    static char sCurrentSection[512];
    static char sKey[61]; // keys keep their first 60 characters
    static char sValue[512];

    m_Filename = pFilename;
    delete m_pHashTable;
    m_pHashTable = new InitFileHashTable(nHashSize);

    m_Unreadable.Empty();
    FILE *fp = pFilename ? linuxFOpen(pFilename, "r") : NULL;
    if (fp == NULL)
        return 0;

    sCurrentSection[0] = '\0'; // keys before the first header
    int lineNumber = 1;
    // A NUL byte inside a line simply ends that line's text here.
    for (; ReadPiece(sBuffer, sizeof sBuffer, fp); lineNumber += memchr(sBuffer, '\n', sizeof sBuffer) != NULL)
    {
        size_t lineLen = strlen(sBuffer);
        // Short lines are skipped before a missing line feed is supplied, so
        // that a last line such as "x=" is skipped like any other short one.
        if (lineLen < 3)
            continue;
        // A last line that lacks its line feed is read as if it had one.
        if (sBuffer[lineLen - 1] != '\n' && lineLen < sizeof sBuffer - 1 && feof(fp))
        {
            sBuffer[lineLen++] = '\n';
            sBuffer[lineLen] = '\0';
        }

        if (sBuffer[0] == '[')
        {
            const char *name = sBuffer + 1;
            const char *end = strchr(name, ']');
            if (end == NULL)
            {
                // A header that lost its "]" is closed by the end of its
                // line, just as a value is.
                end = name + strlen(name);
                if (end > name && end[-1] == '\n')
                    end--;
            }
            size_t len = end - name;
            memcpy(sCurrentSection, name, len);
            sCurrentSection[len] = '\0';
            continue;
        }

        const char *p = sBuffer + strspn(sBuffer, " \t");
        // Blank, also as a last line without a line feed.
        if (*p == '\n' || *p == '\0')
            continue;

        size_t keyLen = strcspn(p, " =");
        size_t kept = keyLen < sizeof sKey - 1 ? keyLen : sizeof sKey - 1;
        memcpy(sKey, p, kept);
        sKey[kept] = '\0';

        // There are no comments: a line without "=" means the file is not
        // one of ours, and it is not read any further.
        const char *equals = strchr(p + keyLen, '=');
        if (equals == NULL)
        {
            linuxFClose(fp);
            NoteUnreadableLine(lineNumber, sBuffer);
            return 0;
        }

        // One blank after "=" belongs to the layout, any more to the value.
        // A last line that ends at "=" or at that blank has the empty value.
        const char *value = equals + 1;
        if (*value == ' ' || *value == '\t')
            value++;
        size_t len = strlen(value);
        if (len > sizeof sValue - 2)
            len = sizeof sValue - 2;
        memcpy(sValue, value, len);
        if (len > 0 && sValue[len - 1] == '\n')
            len--;
        sValue[len] = '\0';

        m_pHashTable->Insert(sCurrentSection, sKey, sValue);
    }
    linuxFClose(fp);
    return 1;
}

// Remembers where the file stopped being readable, shown to the player when
// the file is replaced: the line's number and the start of its text, with
// control characters shown as "?" so that the message stays one line.
void InitFileEntry::NoteUnreadableLine(int lineNumber, const char *line)
{
    char shown[61];
    size_t length = strcspn(line, "\n");
    if (length > sizeof shown - 1)
        length = sizeof shown - 1;
    for (size_t i = 0; i < length; i++)
        shown[i] = (unsigned char)line[i] < 0x20 || line[i] == 0x7f ? '?' : line[i];
    shown[length] = '\0';
    m_Unreadable.Format("line %d (%s)", lineNumber, shown);
}

// Whether the file may be opened for writing, as the kernel decides it
// (permissions, read-only mounts, immutable files); when not, standard error
// says why.
static bool MayWrite(const char *pFilename)
{
    int fd = open(pFilename, O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
    {
        ReportNotSaved("Error saving %s: %s", pFilename, strerror(errno));
        return false;
    }
    close(fd);
    return true;
}

// An earlier copy is kept one generation back, as pCopyName plus ".1",
// rather than overwritten; false, said on standard error, when it cannot be.
// A folder of the copy's name is left where it is: no copy can be written
// there, and saving it says so.
static bool KeepOlderCopy(const char *pCopyName)
{
    struct stat older;
    if (lstat(pCopyName, &older) != 0 || S_ISDIR(older.st_mode))
        return true;
    CString olderName(pCopyName);
    olderName += ".1";
    if (rename(pCopyName, olderName) == 0)
        return true;
    ReportNotSaved("Error saving %s: %s", (const char *)olderName, strerror(errno));
    return false;
}

// Copies the file's bytes to pCopyName, which gets the file's mode, and its
// owner and group where the process may give them, so that the copy shows
// nobody what the file did not; false when that could not be done
// completely.
static bool KeepCopy(const char *pFilename, const char *pCopyName)
{
    FILE *from = linuxFOpen(pFilename, "r");
    if (from == NULL)
        return false;
    struct stat original;
    bool ready = fstat(fileno(from), &original) == 0 && KeepOlderCopy(pCopyName);
    FILE *to = ready ? linuxFOpen(pCopyName, "w") : NULL;
    bool copied = to != NULL;
    // Before the first byte is written; the owner only where allowed.
    bool made = copied && (fchown(fileno(to), original.st_uid, original.st_gid) == 0 || errno == EPERM) &&
                fchmod(fileno(to), original.st_mode & 07777) == 0;
    char chunk[4096];
    size_t n;
    while (copied && (n = fread(chunk, 1, sizeof chunk, from)) > 0)
        copied = fwrite(chunk, 1, n, to) == n;
    copied = copied && !ferror(from);
    linuxFClose(from);
    if (to && linuxFClose(to) != 0)
        copied = false;
    return copied && made;
}

int SortFunc(const void *aa, const void *bb)
{
    const SortEntry *a = *(const SortEntry *const *)aa;
    const SortEntry *b = *(const SortEntry *const *)bb;

    int order = strcasecmp(a->m_Section, b->m_Section);
    if (order == 0)
        order = strcasecmp(a->m_Key, b->m_Key);
    // Equal rows lie in one bucket chain, newest first, and the rows array
    // follows the chains; reversing that order writes them as they were
    // read, so the value that wins a lookup now also wins the next read.
    if (order == 0 && a != b)
        order = a < b ? 1 : -1;
    return order;
}

void InitFileEntry::Save()
{
    if (m_pHashTable == NULL || m_pHashTable->m_nElements <= 0 || m_Filename.IsEmpty())
        return;

    // A file that could not be read is the player's own work: its bytes are
    // kept beside it before the settings replace it, or it is not replaced.
    // One that may not be replaced anyway keeps the copies it has.
    CString copyName(m_Filename);
    copyName += ".bak";
    if (!m_Unreadable.IsEmpty() && !MayWrite(m_Filename))
        return;
    if (!m_Unreadable.IsEmpty() && !KeepCopy(m_Filename, copyName))
    {
        ReportNotSaved("%s: %s cannot be read and no copy could be kept; it is left as it is",
                       (const char *)m_Filename, (const char *)m_Unreadable);
        return;
    }

    int count = m_pHashTable->m_nElements;
    SortEntry *rows = new SortEntry[count];
    // qsort moves its elements as raw bytes, which only plain data
    // survives; the rows stay put and pointers to them are sorted.
    SortEntry **sorted = new SortEntry *[count];
    int n = 0;

    for (int b = 0; b < m_pHashTable->m_nSize; b++)
        for (InitFileHashEntry *entry = m_pHashTable->m_pHashBuckets[b]; entry && n < count;
             entry = entry->m_pNext)
        {
            rows[n].m_Section = entry->m_Section;
            rows[n].m_Key = entry->m_Keyname;
            rows[n].m_Value = entry->m_Value;
            sorted[n] = &rows[n];
            n++;
        }
    qsort(sorted, n, sizeof *sorted, SortFunc);

    FILE *fp = linuxFOpen(m_Filename, "w");
    if (fp)
    {
        // The header in effect is remembered as the row that opened it, so
        // section names of any length are written and compared whole.
        const SortEntry *header = sorted[0];
        fprintf(fp, "[%s]\n\n", (const char *)header->m_Section);
        for (int i = 0; i < n; i++)
        {
            if (strcasecmp(sorted[i]->m_Section, header->m_Section) != 0)
            {
                header = sorted[i];
                fprintf(fp, "\n[%s]\n\n", (const char *)header->m_Section);
            }
            fprintf(fp, "\t%s = %s\n", (const char *)sorted[i]->m_Key,
                    (const char *)sorted[i]->m_Value);
        }
        // Said once the file is replaced: when it is not, the line that says
        // why is the one that counts.
        if (linuxFClose(fp) == 0 && !m_Unreadable.IsEmpty())
        {
            fprintf(stderr, "%s: %s cannot be read; the file is kept as %s and replaced\n",
                    (const char *)m_Filename, (const char *)m_Unreadable, (const char *)copyName);
            m_Unreadable.Empty();
        }
    }
    delete[] sorted;
    delete[] rows;
}

InitFile::InitFile(int nSize) : m_pHead(NULL), m_nSize(nSize)
{
}

InitFile::~InitFile()
{
    while (m_pHead)
    {
        InitFileEntry *next = m_pHead->m_pNext;
        m_pHead->Save();
        delete m_pHead;
        m_pHead = next;
    }
}

InitFileEntry *InitFile::FindFile(const char *lpFileName)
{
    for (InitFileEntry *entry = m_pHead; entry; entry = entry->m_pNext)
        if (strcasecmp(entry->m_Filename, lpFileName) == 0)
            return entry;
    return NULL;
}

// Reads a file into a new entry at the head of the list. A file that cannot
// be read stays uncached, so the next read tries again, unless a write is
// about to start it afresh: then it is cached with an empty table and its
// old contents are replaced at the next save.
InitFileEntry *InitFile::LoadFile(const char *lpFileName, bool keepUnreadable)
{
    InitFileEntry *entry = new InitFileEntry;

    if (!entry->Load(lpFileName, m_nSize))
    {
        if (!keepUnreadable)
        {
            delete entry;
            return NULL;
        }
        delete entry->m_pHashTable;
        entry->m_pHashTable = new InitFileHashTable(m_nSize);
    }
    entry->m_pNext = m_pHead;
    m_pHead = entry;
    return entry;
}

unsigned long InitFile::GetPrivateProfileString(const char *lpAppName, const char *lpKeyName,
                                                const char *lpDefault, char *lpReturnedString,
                                                unsigned long nSize, const char *lpFileName)
{
    if (lpReturnedString == NULL || nSize == 0)
        return 0;

    const char *value = NULL;
    if (lpFileName)
    {
        InitFileEntry *file = FindFile(lpFileName);
        if (file == NULL)
            file = LoadFile(lpFileName, false);
        if (file)
            value = file->m_pHashTable->Find(lpAppName, lpKeyName, NULL);
    }
    if (value == NULL)
        value = lpDefault ? lpDefault : "";

    size_t len = strlen(value);
    if (len > nSize - 1)
        len = nSize - 1;
    // The default may be the caller's own buffer.
    memmove(lpReturnedString, value, len);
    lpReturnedString[len] = '\0';
    return len;
}

int InitFile::WritePrivateProfileString(const char *lpAppName, const char *lpKeyName,
                                        const char *lpStringName, const char *lpFileName)
{
    if (lpFileName == NULL)
        return 1;

    InitFileEntry *file = FindFile(lpFileName);
    if (file == NULL)
        file = LoadFile(lpFileName, true);
    if (file->m_pHashTable->Find(lpAppName, lpKeyName, lpStringName) == NULL && lpStringName)
        file->m_pHashTable->Insert(lpAppName, lpKeyName, lpStringName);
    return 1;
}

void InitFile::Flush()
{
    for (InitFileEntry *entry = m_pHead; entry; entry = entry->m_pNext)
        entry->Save();
}
