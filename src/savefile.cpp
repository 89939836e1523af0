// SPDX-License-Identifier: MIT
// How the launcher's files reach the disk. A save never does worse than
// opening the file for writing in place would have, and never destroys bytes
// it could not read:
// - a file that exists but cannot be read, or that an open for writing would
//   refuse (its permissions, a read-only mount, an immutable file), is left
//   as it is, and so is anything that is not a regular file;
// - otherwise the new bytes go to a temporary file beside the old one, given
//   the old one's owner, group and mode, which is renamed over it once it is
//   whole and on the disk: no reader ever sees a cut, empty or mixed file;
// - where no such temporary file can be made (a folder the player may not
//   write, an owner the player may not give), the file is rewritten in
//   place, and its old bytes are written back when that fails.
// Each file that is not saved gets one line on standard error.
#include "savefile.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <glib.h>
#include <limits.h>
#include <signal.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <string>

// A file being written: where its bytes go when it is closed.
struct Replacement
{
    std::string name;   // as the caller named it, for messages
    std::string target; // the file replaced: the end of any symbolic links
    std::string temp;   // the new file beside it; empty when saving in place
    // Saving in place: the target open for reading and for writing, and the
    // memory stream that collects the new bytes until the file is closed
    // (the two files are open only until the save starts or is refused
    // otherwise).
    int in = -1, out = -1;
    char *bytes = NULL;
    size_t size = 0;
};

static std::map<FILE *, std::unique_ptr<Replacement>> replacements;

// What was not saved during the run, a line each.
static std::string notSaved;

void ReportNotSaved(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    gchar *line = g_strdup_vprintf(format, args);
    va_end(args);
    fprintf(stderr, "%s\n", line);
    notSaved += notSaved.empty() ? line : std::string("\n") + line;
    g_free(line);
}

const char *NotSaved(void)
{
    return notSaved.c_str();
}

static void ReportSaveError(const std::string &name, const std::string &why)
{
    ReportNotSaved("Error saving %s: %s", name.c_str(), why.c_str());
}

// Why a file that cannot be read is not saved: its bytes would be lost.
static std::string Unreadable(int error)
{
    return std::string("it cannot be read (") + strerror(error) + "), so it is left as it is";
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

// The folder part of a path with its last "/" ("" for a bare name), and the
// name after it.
static std::string FolderOf(const std::string &path)
{
    return path.substr(0, path.rfind('/') + 1);
}

static std::string NameOf(const std::string &path)
{
    return path.substr(path.rfind('/') + 1);
}

// Temporary files are named after the file and the process that writes
// them: ".NAME.tmp.PID", hidden and recognisable.
static const char kTempMark[] = ".tmp.";

// A save that never finished (the launcher was killed) leaves its temporary
// file behind; the next save of that file removes every ".NAME….tmp.PID"
// beside it whose process is gone. A launcher still saving keeps its own:
// kill(2) finds it, or is not allowed to signal it. (A launcher in another
// process id namespace looks gone; losing its temporary file only makes its
// rename fail, and the file it saves stays as it was.)
static void RemoveStaleTemporaries(const std::string &target)
{
    std::string folder = FolderOf(target), prefix = "." + NameOf(target);
    DIR *dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == NULL)
        return;
    while (struct dirent *entry = readdir(dir))
    {
        std::string name = entry->d_name;
        size_t mark = name.rfind(kTempMark);
        if (mark == std::string::npos || mark < prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        // Up to 9 digits, which fit a pid_t; none at all read as 0, no process.
        std::string digits = name.substr(mark + sizeof kTempMark - 1);
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != digits.npos)
            continue;
        pid_t pid = (pid_t)atol(digits.c_str());
        if (pid > 0 && pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH)
            unlinkat(dirfd(dir), name.c_str(), 0);
    }
    closedir(dir);
}

// Creates the temporary file beside the target with `mode` as an open would
// give it; -1, with errno, when the folder takes no new file. A file of that
// name can only be left by an earlier process of this process's id: it goes.
static int CreateTemporary(Replacement &r, mode_t mode)
{
    std::string temp = FolderOf(r.target) + "." + NameOf(r.target) + kTempMark + std::to_string(getpid());
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = open(temp.c_str(), flags, mode);
    if (fd < 0 && errno == EEXIST && unlink(temp.c_str()) == 0)
        fd = open(temp.c_str(), flags, mode);
    if (fd >= 0)
        r.temp = temp;
    return fd;
}

static void DropTemporary(Replacement &r, int fd)
{
    close(fd);
    unlink(r.temp.c_str());
    r.temp.clear();
}

// Gives the temporary file the old file's owner, group and mode; false when
// that is not allowed (a player saving a file that belongs to someone else,
// or to a group the player is not in).
static bool MadeLike(int fd, const struct stat &old)
{
    struct stat made;
    if (fstat(fd, &made) != 0)
        return false;
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) && fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    // After fchown, which may clear the set-id bits.
    return fchmod(fd, old.st_mode & 07777) == 0;
}

// A stream on the temporary file; null, with the file gone and the reason
// reported, when there is none.
static FILE *StreamOnTemporary(Replacement &r, int fd)
{
    FILE *fp = fdopen(fd, "w");
    if (fp == NULL)
    {
        ReportSaveError(r.name, strerror(errno));
        DropTemporary(r, fd);
    }
    return fp;
}

// A new file: what an open that creates it would give (owner, group, and
// 0666 less the umask), and no file when the folder takes none.
static FILE *StartNewFile(Replacement &r)
{
    int fd = CreateTemporary(r, 0666);
    if (fd < 0)
    {
        ReportSaveError(r.name, strerror(errno));
        return NULL;
    }
    return StreamOnTemporary(r, fd);
}

// No save: the reason reported, and the files opened for it closed.
static FILE *Refuse(Replacement &r, const std::string &why)
{
    ReportSaveError(r.name, why);
    if (r.in >= 0)
        close(r.in);
    if (r.out >= 0)
        close(r.out);
    return NULL;
}

// An existing file, opened for reading as `in` (-1, with errno, when it
// cannot be): opened for writing as well, which checks it the way the kernel
// checks any open for writing (so root still may, and permissions, access
// lists, read-only mounts and immutable files count), then replaced by a
// temporary file made like it, or else rewritten in place. `in` is closed,
// or kept for the rewrite.
static FILE *StartReplacement(Replacement &r, int in)
{
    if (in < 0)
        return Refuse(r, Unreadable(errno));
    r.in = in;
    struct stat old;
    r.out = open(r.target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (r.out < 0 || fstat(in, &old) != 0)
        return Refuse(r, strerror(errno));
    if (!S_ISREG(old.st_mode))
        return Refuse(r, "it is not a regular file, so it is left as it is");
    int fd = CreateTemporary(r, 0600);
    if (fd >= 0 && MadeLike(fd, old))
    {
        close(r.in);
        close(r.out);
        return StreamOnTemporary(r, fd);
    }
    if (fd >= 0)
        DropTemporary(r, fd);
    FILE *fp = open_memstream(&r.bytes, &r.size);
    return fp ? fp : Refuse(r, strerror(errno));
}

FILE *linuxFOpen(const char *name, const char *mode)
{
    if (mode[0] != 'w')
        return fopen(name, mode);
    std::unique_ptr<Replacement> r(new Replacement);
    r->name = r->target = name;
    if (!ResolveLinks(r->target))
    {
        ReportSaveError(name, strerror(errno));
        return NULL;
    }
    RemoveStaleTemporaries(r->target);
    int in = open(r->target.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    FILE *fp = in < 0 && errno == ENOENT ? StartNewFile(*r) : StartReplacement(*r, in);
    if (fp)
        replacements[fp] = std::move(r);
    return fp;
}

// The rename is made lasting too: without this a power cut could bring the
// old file back. The new file is in place either way, so a failure here
// changes nothing.
static void SyncFolder(const std::string &target)
{
    std::string folder = FolderOf(target);
    int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
    {
        fsync(fd);
        close(fd);
    }
}

// Only a complete file, safely on the disk, replaces the old one.
static int FinishReplacement(Replacement &r, FILE *fp)
{
    int error = 0;
    if (fflush(fp) != 0 || ferror(fp) || fsync(fileno(fp)) != 0)
        error = errno ? errno : EIO;
    if (fclose(fp) != 0 && !error)
        error = errno;
    if (!error && rename(r.temp.c_str(), r.target.c_str()) != 0)
        error = errno;
    if (!error)
    {
        SyncFolder(r.target);
        return 0;
    }
    unlink(r.temp.c_str());
    ReportSaveError(r.name, strerror(error));
    return EOF;
}

// The whole of `bytes` at the start of the file, which then ends there, and
// on the disk; 0, or the error. The bytes are written over the old ones
// before the file is cut to their length, so that writing the old bytes back
// after a failure needs no room that the old file did not have.
static int Overwrite(int fd, const std::string &bytes)
{
    for (size_t done = 0; done < bytes.size();)
    {
        ssize_t n = pwrite(fd, bytes.data() + done, bytes.size() - done, (off_t)done);
        if (n < 0)
            return errno;
        done += (size_t)n;
    }
    return ftruncate(fd, (off_t)bytes.size()) != 0 || fsync(fd) != 0 ? errno : 0;
}

// The bytes of the file as they are now; false, with errno, when they cannot
// all be read.
static bool ReadAll(int fd, std::string &bytes)
{
    char chunk[4096];
    ssize_t n;
    while ((n = pread(fd, chunk, sizeof chunk, (off_t)bytes.size())) > 0)
        bytes.append(chunk, (size_t)n);
    return n == 0;
}

// Rewrites the file in place, under a lock so that launchers ending at once
// write one after the other (without the lock, which a file system may not
// offer, they write all the same). The bytes it holds just before are read
// first and written back if the new ones cannot all be written.
static int FinishInPlace(Replacement &r, FILE *fp)
{
    int error = ferror(fp) ? ENOMEM : 0;
    if (fclose(fp) != 0 && !error)
        error = errno;
    std::string bytes(r.bytes ? r.bytes : "", r.size), old;
    free(r.bytes);
    flock(r.out, LOCK_EX);
    if (error)
        ReportSaveError(r.name, strerror(error));
    else if (!ReadAll(r.in, old))
        ReportSaveError(r.name, Unreadable(error = errno));
    else if ((error = Overwrite(r.out, bytes)) != 0)
    {
        int undo = Overwrite(r.out, old);
        ReportSaveError(r.name, std::string(strerror(error)) +
                                    (undo == 0 ? "; its old contents were written back"
                                               : std::string("; writing its old contents back failed too (") +
                                                     strerror(undo) + ")"));
    }
    close(r.in);
    close(r.out);
    return error ? EOF : 0;
}

int linuxFClose(FILE *fp)
{
    auto found = replacements.find(fp);
    if (found == replacements.end())
        return fclose(fp);
    std::unique_ptr<Replacement> r = std::move(found->second);
    replacements.erase(found);
    return r->temp.empty() ? FinishInPlace(*r, fp) : FinishReplacement(*r, fp);
}
