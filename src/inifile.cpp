// The profile calls on the one INI cache, and how the launcher's files reach
// the disk: written whole to a temporary file beside the old one, then
// renamed over it, so that no reader ever sees a cut, empty or mixed file.
#include "inifile.h"

#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

InitFile myInit(97);

unsigned long GetPrivateProfileString(const char *lpAppName, const char *lpKeyName,
                                      const char *lpDefault, char *lpReturnedString,
                                      unsigned long nSize, const char *lpFileName)
{
    return myInit.GetPrivateProfileString(lpAppName, lpKeyName, lpDefault, lpReturnedString,
                                          nSize, lpFileName);
}

int WritePrivateProfileString(const char *lpAppName, const char *lpKeyName,
                              const char *lpStringName, const char *lpFileName)
{
    return myInit.WritePrivateProfileString(lpAppName, lpKeyName, lpStringName, lpFileName);
}

void ProfileFlush(void)
{
    myInit.Flush();
}

// A file being written: its temporary file and the file it will replace.
struct Replacement
{
    FILE *fp;
    char name[PATH_MAX];   // as the caller named it, for messages
    char target[PATH_MAX]; // the file replaced: the end of any symbolic links
    char temp[PATH_MAX];
};

// The launcher writes one file at a time; a few more slots cost nothing.
static Replacement replacements[4];

static void ReportSaveError(const char *name, int error)
{
    fprintf(stderr, "Error saving %s: %s\n", name, strerror(error));
}

// Follows `name` through symbolic links to the file they end at, so that a
// link stays a link and what it points to is replaced. 0, or -1 with errno.
static int ResolveLinks(const char *name, char *target, size_t size)
{
    if ((size_t)snprintf(target, size, "%s", name) >= size)
        return errno = ENAMETOOLONG, -1;
    for (int hops = 0; hops < 40; hops++)
    {
        char link[PATH_MAX];
        ssize_t length = readlink(target, link, sizeof link - 1);
        if (length < 0)
            return errno == EINVAL || errno == ENOENT ? 0 : -1;
        link[length] = '\0';
        // A relative link is relative to the folder that holds it.
        const char *slash = strrchr(target, '/');
        int folder = link[0] == '/' || !slash ? 0 : (int)(slash - target + 1);
        char joined[PATH_MAX];
        if ((size_t)snprintf(joined, sizeof joined, "%.*s%s", folder, target, link) >= sizeof joined ||
            (size_t)snprintf(target, size, "%s", joined) >= size)
            return errno = ENAMETOOLONG, -1;
    }
    return errno = ELOOP, -1;
}

static FILE *OpenReplacement(Replacement *r, const char *name)
{
    snprintf(r->name, sizeof r->name, "%s", name);
    if (ResolveLinks(name, r->target, sizeof r->target) != 0 ||
        (size_t)snprintf(r->temp, sizeof r->temp, "%s.XXXXXX", r->target) >= sizeof r->temp)
        return NULL;
    int fd = mkstemp(r->temp);
    if (fd < 0)
        return NULL;
    // The new file gets the old one's permissions, or those fopen would give.
    struct stat old;
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, stat(r->target, &old) == 0 ? old.st_mode & 07777 : 0666 & ~mask);
    r->fp = fdopen(fd, "w");
    if (!r->fp)
    {
        int error = errno;
        close(fd);
        unlink(r->temp);
        errno = error;
    }
    return r->fp;
}

FILE *linuxFOpen(const char *name, const char *mode)
{
    if (mode[0] != 'w')
        return fopen(name, mode);
    for (Replacement &r : replacements)
    {
        if (r.fp)
            continue;
        FILE *fp = OpenReplacement(&r, name);
        if (!fp)
            ReportSaveError(name, errno);
        return fp;
    }
    ReportSaveError(name, EMFILE);
    return NULL;
}

int linuxFClose(FILE *fp)
{
    Replacement *r = NULL;
    for (Replacement &slot : replacements)
        if (slot.fp == fp)
            r = &slot;
    if (!r)
        return fclose(fp);

    // Only a complete file, safely on the disk, replaces the old one.
    int error = 0;
    if (fflush(fp) != 0 || ferror(fp) || fsync(fileno(fp)) != 0)
        error = errno ? errno : EIO;
    if (fclose(fp) != 0 && !error)
        error = errno;
    if (!error && rename(r->temp, r->target) != 0)
        error = errno;
    r->fp = NULL;
    if (!error)
        return 0;
    unlink(r->temp);
    ReportSaveError(r->name, error);
    return EOF;
}
