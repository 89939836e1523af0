// Helpers shared by the fuzz targets: a private scratch directory that is
// removed at exit, file writing, a failure that libFuzzer records as a
// crash, and the case-blind comparison of the launcher's name matching.
#ifndef ORVEK_FUZZ_UTIL_H
#define ORVEK_FUZZ_UTIL_H

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <stdint.h>

#include <string>
#include <vector>

namespace fuzz {

// A directory of our own under $TMPDIR (or /tmp), made once per process.
const std::string &ScratchDir();

// Replaces `path` with exactly these bytes; aborts when that fails, since a
// half-written input would make every check meaningless.
void WriteFile(const std::string &path, const void *data, size_t size);

// The whole file, or "<absent>" when it cannot be opened.
std::string ReadFile(const std::string &path);

// Reports a broken expectation and aborts, which libFuzzer keeps as a crash
// input together with this message.
[[noreturn]] void Fail(const char *what, const std::string &expected, const std::string &actual);

#define FUZZ_EXPECT_EQ(what, expected, actual)                                                     \
    do                                                                                             \
    {                                                                                              \
        const std::string fuzz_e_(expected), fuzz_a_(actual);                                      \
        if (fuzz_e_ != fuzz_a_)                                                                    \
            ::fuzz::Fail(what, fuzz_e_, fuzz_a_);                                                  \
    } while (0)

#define FUZZ_EXPECT(what, condition)                                                               \
    do                                                                                             \
    {                                                                                              \
        if (!(condition))                                                                          \
            ::fuzz::Fail(what, "true", "false: " #condition);                                      \
    } while (0)

// What successive fgets calls with a buffer of `bufferSize` chars return
// for a file of these bytes: pieces of at most bufferSize - 1 bytes, each
// ending after a line feed or where the limit or the end of the file came.
struct Piece
{
    std::string bytes;   // as read, NUL bytes included
    bool endOfFile;      // the read stopped because the file ended (feof set)
};
std::vector<Piece> FgetsPieces(const uint8_t *data, size_t size, size_t bufferSize);

// Letter case folded for A to Z only, as strcasecmp does in the "C" and
// "POSIX" locales that the launcher's comparisons run under.
std::string FoldCase(const std::string &text);

// The text of a C string held in `bytes`: everything before the first NUL.
std::string UpToNul(const std::string &bytes);

} // namespace fuzz

#endif
