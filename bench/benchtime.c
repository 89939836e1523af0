// SPDX-License-Identifier: MIT
/*
 * benchtime: runs one program and measures it.
 *
 *   benchtime [--map] [--dir DIR] [--out FILE] [--timeout SECONDS] -- PROGRAM ARGS...
 *
 * Without --map it waits for the program to exit and prints
 *
 *   wall_us cpu_us maxrss_kib exit_status
 *
 * where wall_us runs from just before the fork to the reaping of the child,
 * cpu_us is the child's user plus system time and maxrss_kib its peak
 * resident set, both from wait4.
 *
 * With --map it first selects SubstructureNotify on the root window of
 * $DISPLAY, then starts the program and stops the clock at the first
 * MapNotify of a window that is not override-redirect (a toplevel: without a
 * window manager GTK's toplevels are children of the root). It then stops
 * the child with SIGSTOP, reads its CPU time (all threads) and peak resident
 * set at that moment, kills it with SIGKILL and prints
 *
 *   wall_us cpu_us maxrss_kib "WINDOW TITLE"
 *
 * Every wait has a deadline; a child that exits or times out before it maps
 * a window is an error (exit status 1). The child's standard output goes to
 * FILE (default /dev/null), its standard error to this program's.
 */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static long long NowUs(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000 + ts.tv_nsec / 1000;
}

static long long TvUs(struct timeval tv)
{
    return (long long)tv.tv_sec * 1000000 + tv.tv_usec;
}

static pid_t Spawn(const char *dir, const char *out, char **argv)
{
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    if (dir && chdir(dir) != 0)
    {
        perror(dir);
        _exit(127);
    }
    int fd = open(out ? out : "/dev/null", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
    {
        perror(out);
        _exit(127);
    }
    dup2(fd, 1);
    close(fd);
    execv(argv[0], argv);
    perror(argv[0]);
    _exit(127);
}

/* Peak resident set of a live process in KiB, from /proc; -1 if unknown. */
static long PeakRss(pid_t pid)
{
    char path[64], line[256];
    long kib = -1;
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *file = fopen(path, "r");
    if (!file)
        return -1;
    while (fgets(line, sizeof line, file))
        if (sscanf(line, "VmHWM: %ld kB", &kib) == 1)
            break;
    fclose(file);
    return kib;
}

static pid_t child;
static volatile sig_atomic_t timed_out;

static void OnAlarm(int sig)
{
    (void)sig;
    timed_out = 1;
    if (child > 0)
        kill(child, SIGKILL);
}

static int RunToExit(const char *dir, const char *out, int timeout, char **argv)
{
    struct sigaction sa;
    memset(&sa, 0, sizeof sa);
    sa.sa_handler = OnAlarm;
    sigaction(SIGALRM, &sa, NULL);

    long long start = NowUs();
    child = Spawn(dir, out, argv);
    if (child < 0)
    {
        perror("fork");
        return 1;
    }
    alarm((unsigned)timeout);
    int status;
    struct rusage ru;
    pid_t got;
    while ((got = wait4(child, &status, 0, &ru)) < 0 && errno == EINTR)
        ;
    long long end = NowUs();
    alarm(0);
    if (got != child || timed_out)
    {
        fprintf(stderr, "benchtime: %s did not finish within %d s\n", argv[0], timeout);
        return 1;
    }
    printf("%lld %lld %ld %d\n", end - start, TvUs(ru.ru_utime) + TvUs(ru.ru_stime), ru.ru_maxrss,
           WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    return 0;
}

static void EndChild(void)
{
    kill(child, SIGKILL);
    while (waitpid(child, NULL, 0) < 0 && errno == EINTR)
        ;
}

static int RunToMap(const char *dir, const char *out, int timeout, char **argv)
{
    Display *display = XOpenDisplay(NULL);
    if (!display)
    {
        fprintf(stderr, "benchtime: cannot open display\n");
        return 1;
    }
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    long long start = NowUs(), deadline = start + (long long)timeout * 1000000;
    child = Spawn(dir, out, argv);
    if (child < 0)
    {
        perror("fork");
        return 1;
    }

    struct pollfd pfd = {ConnectionNumber(display), POLLIN, 0};
    for (;;)
    {
        while (XPending(display))
        {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.event != root || event.xmap.override_redirect)
                continue;
            long long mapped = NowUs();
            kill(child, SIGSTOP);
            /* The stop is asynchronous: wait until the child is stopped, so
               the CPU clock read below is the one at the map. */
            int status;
            waitpid(child, &status, WUNTRACED);
            clockid_t clock;
            struct timespec cpu = {0, 0};
            if (clock_getcpuclockid(child, &clock) == 0)
                clock_gettime(clock, &cpu);
            long rss = PeakRss(child);

            char *title = NULL;
            XFetchName(display, event.xmap.window, &title);
            printf("%lld %lld %ld \"%s\"\n", mapped - start,
                   (long long)cpu.tv_sec * 1000000 + cpu.tv_nsec / 1000, rss, title ? title : "");
            if (title)
                XFree(title);
            EndChild();
            XCloseDisplay(display);
            return 0;
        }
        int status;
        if (waitpid(child, &status, WNOHANG) == child)
        {
            fprintf(stderr, "benchtime: %s exited before mapping a window\n", argv[0]);
            return 1;
        }
        long long left = deadline - NowUs();
        if (left <= 0)
        {
            fprintf(stderr, "benchtime: %s mapped no window within %d s\n", argv[0], timeout);
            EndChild();
            return 1;
        }
        /* Wakes at once for X events; the slice only bounds how late an
           early exit of the child is noticed. */
        poll(&pfd, 1, left > 50000 ? 50 : (int)(left / 1000) + 1);
    }
}

int main(int argc, char **argv)
{
    int map = 0, timeout = 60, i;
    const char *dir = NULL, *out = NULL;
    for (i = 1; i < argc; i++)
    {
        if (!strcmp(argv[i], "--map"))
            map = 1;
        else if (!strcmp(argv[i], "--dir") && i + 1 < argc)
            dir = argv[++i];
        else if (!strcmp(argv[i], "--out") && i + 1 < argc)
            out = argv[++i];
        else if (!strcmp(argv[i], "--timeout") && i + 1 < argc)
            timeout = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--"))
        {
            i++;
            break;
        }
        else
            break;
    }
    if (i >= argc || timeout <= 0)
    {
        fprintf(stderr, "usage: benchtime [--map] [--dir DIR] [--out FILE] [--timeout S] -- PROGRAM ARGS...\n");
        return 2;
    }
    /* The child's output file is opened after a possible chdir: make it
       absolute relative to here. */
    char outpath[4096];
    if (out && out[0] != '/' && dir)
    {
        char cwd[2048];
        if (!getcwd(cwd, sizeof cwd))
            return 1;
        snprintf(outpath, sizeof outpath, "%s/%s", cwd, out);
        out = outpath;
    }
    fflush(stdout);
    return map ? RunToMap(dir, out, timeout, argv + i) : RunToExit(dir, out, timeout, argv + i);
}
