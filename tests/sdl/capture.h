// Helpers shared by the SDL suites.
#ifndef ORVEK_TESTS_SDL_CAPTURE_H
#define ORVEK_TESTS_SDL_CAPTURE_H

#include <stdio.h>
#include <unistd.h>

#include <string>

// What BODY writes to file descriptor FD (stdout or stderr), stdio buffers
// included.
template <typename Body>
std::string CaptureFd(int fd, Body body)
{
    fflush(nullptr);
    FILE *sink = tmpfile();
    if (!sink)
        return "<no temporary file>";
    int saved = dup(fd);
    dup2(fileno(sink), fd);
    body();
    fflush(nullptr);
    dup2(saved, fd);
    close(saved);

    std::string text;
    char chunk[512];
    size_t got;
    rewind(sink);
    while ((got = fread(chunk, 1, sizeof(chunk), sink)) > 0)
        text.append(chunk, got);
    fclose(sink);
    return text;
}

#endif
