// SPDX-License-Identifier: MIT
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

#include <map>
#include <string>

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
    std::string name;   // as the caller named it, for messages
    std::string target; // the file replaced: the end of any symbolic links
    std::string temp;
};

static std::map<FILE *, Replacement> replacements;

static void ReportSaveError(const std::string &name, int error)
{
    fprintf(stderr, "Error saving %s: %s\n", name.c_str(), strerror(error));
}

// Follows `name` through symbolic links to the file they end at, so that a
// link stays a link and what it points to is replaced. False, with errno,
// when a link cannot be read or the chain does not end.
static bool ResolveLinks(std::string &target)
{
    for (int hops = 0; hops < 40; hops++)
    {
        char link[PATH_MAX];
        ssize_t length = readlink(target.c_str(), link, sizeof link);
        if (length < 0)
            return errno == EINVAL || errno == ENOENT; // not a link, or a new file
        // A relative link is relative to the folder that holds it.
        size_t slash = target.rfind('/');
        size_t folder = link[0] == '/' || slash == std::string::npos ? 0 : slash + 1;
        target = target.substr(0, folder) + std::string(link, length);
    }
    errno = ELOOP;
    return false;
}

FILE *linuxFOpen(const char *name, const char *mode)
{
    if (mode[0] != 'w')
        return fopen(name, mode);
    Replacement r = {name, name, ""};
    int fd = -1;
    if (ResolveLinks(r.target))
    {
        r.temp = r.target + ".XXXXXX";
        fd = mkstemp(&r.temp[0]);
    }
    FILE *fp = fd < 0 ? NULL : fdopen(fd, "w");
    if (!fp)
    {
        ReportSaveError(name, errno);
        if (fd >= 0)
        {
            close(fd);
            unlink(r.temp.c_str());
        }
        return NULL;
    }
    // The new file gets the old one's permissions, or those fopen would give.
    struct stat old;
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, stat(r.target.c_str(), &old) == 0 ? old.st_mode & 07777 : 0666 & ~mask);
    replacements[fp] = r;
    return fp;
}

int linuxFClose(FILE *fp)
{
    auto found = replacements.find(fp);
    if (found == replacements.end())
        return fclose(fp);
    Replacement r = found->second;
    replacements.erase(found);

    // Only a complete file, safely on the disk, replaces the old one.
    int error = 0;
    if (fflush(fp) != 0 || ferror(fp) || fsync(fileno(fp)) != 0)
        error = errno ? errno : EIO;
    if (fclose(fp) != 0 && !error)
        error = errno;
    if (!error && rename(r.temp.c_str(), r.target.c_str()) != 0)
        error = errno;
    if (!error)
        return 0;
    unlink(r.temp.c_str());
    ReportSaveError(r.name, error);
    return EOF;
}
