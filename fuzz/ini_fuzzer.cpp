// The INI file reader on arbitrary bytes. Besides the sanitizers' own
// checks, every input is compared with a plain re-statement of the reading
// rules: whether the file counts as readable, and the value each (section,
// key) yields. A readable file that the engine saves must read back to the
// same values whenever every written line fits the reader's line length.
// The lookup through the profile call must stay within the caller's buffer.
#include <stddef.h>
#include <stdint.h>

#include <algorithm>
#include <string>
#include <vector>

#include "InitFile.h"
#include "fuzz_util.h"

namespace {

struct Entry
{
    std::string section, key, value;
};

const size_t kLineBuffer = 512; // the reader's fgets buffer
const size_t kKeyKept = 60;
const size_t kValueKept = 510;

// The reading rules: false when a line has no "=" (the entries before it
// are kept in `entries`).
bool ReadLikeTheRules(const uint8_t *data, size_t size, std::vector<Entry> &entries)
{
    std::string section;
    for (const fuzz::Piece &piece : fuzz::FgetsPieces(data, size, kLineBuffer))
    {
        std::string line = fuzz::UpToNul(piece.bytes);
        // A last line without its line feed reads as if it had one.
        if (!line.empty() && line.back() != '\n' && line.size() < kLineBuffer - 1 && piece.endOfFile)
            line += '\n';
        if (line.size() < 3)
            continue;
        if (line[0] == '[')
        {
            size_t close = line.find(']', 1);
            std::string name = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            if (close == std::string::npos && !name.empty() && name.back() == '\n')
                name.pop_back();
            section = name;
            continue;
        }
        size_t p = line.find_first_not_of(" \t");
        if (p == std::string::npos || line[p] == '\n')
            continue;
        size_t keyEnd = line.find_first_of(" =", p);
        if (keyEnd == std::string::npos)
            keyEnd = line.size();
        std::string key = line.substr(p, std::min(keyEnd - p, kKeyKept));
        size_t equals = line.find('=', keyEnd);
        if (equals == std::string::npos)
            return false;
        size_t v = equals + 1;
        if (v < line.size() && (line[v] == ' ' || line[v] == '\t'))
            v++;
        std::string value = line.substr(v, kValueKept);
        if (!value.empty() && value.back() == '\n')
            value.pop_back();
        entries.push_back(Entry{section, key, value});
    }
    return true;
}

// The value the last of the entries with this section and key gives.
const std::string *Expected(const std::vector<Entry> &entries, const Entry &probe)
{
    std::string section = fuzz::FoldCase(probe.section), key = fuzz::FoldCase(probe.key);
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (fuzz::FoldCase(it->section) == section && fuzz::FoldCase(it->key) == key)
            return &it->value;
    return nullptr;
}

void ExpectLookups(const char *what, InitFileEntry &file, const std::vector<Entry> &entries)
{
    FUZZ_EXPECT(what, file.m_pHashTable != nullptr);
    for (const Entry &entry : entries)
    {
        const char *found =
            file.m_pHashTable->Find(entry.section.c_str(), entry.key.c_str(), nullptr);
        FUZZ_EXPECT(what, found != nullptr);
        FUZZ_EXPECT_EQ(what, *Expected(entries, entry), found);
    }
}

// Every line the engine writes for these entries is read back whole.
bool FitsWhenWritten(const std::vector<Entry> &entries)
{
    for (const Entry &entry : entries)
        if (entry.section.size() + 3 > kLineBuffer - 1 ||
            entry.key.size() + entry.value.size() + 5 > kLineBuffer - 1)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string path = fuzz::ScratchDir() + "/fuzz.ini";

    std::vector<Entry> entries;
    bool readable = ReadLikeTheRules(data, size, entries);

    // The profile call, with a buffer size drawn from the input and guard
    // bytes behind it.
    fuzz::WriteFile(path, data, size);
    {
        InitFile cache(97);
        Entry probe = entries.empty() ? Entry{"S", "K", ""} : entries[size % entries.size()];
        unsigned long nSize = 1 + (size * 7) % 600;
        std::string buffer(nSize + 16, '\xa5');
        unsigned long got = cache.GetPrivateProfileString(probe.section.c_str(), probe.key.c_str(),
                                                          "<default>", &buffer[0], nSize, path.c_str());
        const std::string *value = readable ? Expected(entries, probe) : nullptr;
        std::string want = value ? *value : "<default>";
        want = want.substr(0, nSize - 1);
        FUZZ_EXPECT_EQ("profile lookup length", std::to_string(want.size()), std::to_string(got));
        FUZZ_EXPECT_EQ("profile lookup text", want, buffer.substr(0, got));
        FUZZ_EXPECT("profile lookup terminated", buffer[got] == '\0');
        FUZZ_EXPECT("profile lookup stays in the buffer",
                    buffer.substr(nSize) == std::string(16, '\xa5'));
        cache.WritePrivateProfileString("S", "K", "V", path.c_str());
    }
    // An unreadable file is started afresh by the first write.
    if (!readable)
        FUZZ_EXPECT_EQ("unreadable file replaced", "[S]\n\n\tK = V\n", fuzz::ReadFile(path));

    fuzz::WriteFile(path, data, size);
    InitFileEntry file;
    int loaded = file.Load(path.c_str(), 97);
    FUZZ_EXPECT_EQ("file readable", readable ? "1" : "0", std::to_string(loaded));
    ExpectLookups("lookup after load", file, entries);

    if (!readable || entries.empty())
        return 0;
    file.Save();
    std::string saved = fuzz::ReadFile(path);
    FUZZ_EXPECT("saved file starts with a header", saved.size() > 1 && saved[0] == '[');
    file.Save();
    FUZZ_EXPECT_EQ("saving twice writes the same file", saved, fuzz::ReadFile(path));

    InitFileEntry again;
    int reloaded = again.Load(path.c_str(), 97);
    if (FitsWhenWritten(entries))
    {
        FUZZ_EXPECT_EQ("saved file readable", "1", std::to_string(reloaded));
        ExpectLookups("lookup after save and reload", again, entries);
    }
    return 0;
}
