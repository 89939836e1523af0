#include "fuzz_util.h"

#include <ftw.h>

namespace fuzz {

namespace {

int RemoveEntry(const char *path, const struct stat *, int, struct FTW *)
{
    return remove(path);
}

std::string &Dir()
{
    static std::string dir;
    return dir;
}

void RemoveScratch()
{
    if (!Dir().empty())
        nftw(Dir().c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

} // namespace

const std::string &ScratchDir()
{
    if (Dir().empty())
    {
        const char *tmp = getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/orvek-fuzz-XXXXXX";
        if (mkdtemp(&pattern[0]) == NULL)
        {
            perror("mkdtemp");
            abort();
        }
        Dir() = pattern;
        atexit(RemoveScratch);
    }
    return Dir();
}

void WriteFile(const std::string &path, const void *data, size_t size)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (file == NULL || (size > 0 && fwrite(data, 1, size, file) != size) || fclose(file) != 0)
    {
        perror(path.c_str());
        abort();
    }
}

std::string ReadFile(const std::string &path)
{
    FILE *file = fopen(path.c_str(), "rb");
    if (file == NULL)
        return "<absent>";
    std::string bytes;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, n);
    fclose(file);
    return bytes;
}

void Fail(const char *what, const std::string &expected, const std::string &actual)
{
    fprintf(stderr, "\nFUZZ CHECK FAILED: %s\n  expected: [%s]\n  actual:   [%s]\n", what,
            expected.c_str(), actual.c_str());
    abort();
}

std::vector<Piece> FgetsPieces(const uint8_t *data, size_t size, size_t bufferSize)
{
    std::vector<Piece> pieces;
    size_t pos = 0;
    while (pos < size)
    {
        size_t start = pos;
        bool lineFeed = false;
        while (pos < size && pos - start < bufferSize - 1)
            if (data[pos++] == '\n')
            {
                lineFeed = true;
                break;
            }
        // fgets only notices the end of the file when it wants more bytes
        // and there are none: neither after a line feed nor at the limit.
        bool endOfFile = !lineFeed && pos - start < bufferSize - 1;
        pieces.push_back(Piece{std::string((const char *)data + start, pos - start), endOfFile});
    }
    return pieces;
}

std::string FoldCase(const std::string &text)
{
    std::string folded(text);
    for (char &c : folded)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    return folded;
}

std::string UpToNul(const std::string &bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

} // namespace fuzz
