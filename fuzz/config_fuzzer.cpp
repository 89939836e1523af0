// The reader of the game's autoexec.cfg on arbitrary bytes. Every input is
// compared with a plain re-statement of the line rules: which lines count,
// how a quoted or bare name and value are read, names and values cut to
// 127 characters, the last line that sets a name winning whatever its
// letter case. Lookups never yield more than the 127 characters a record
// holds, and every name hashes into the table's range, case-blind.
#include <ctype.h>
#include <stddef.h>
#include <stdint.h>

#include <map>
#include <new>
#include <string>
#include <utility>

#include "fuzz_util.h"
#include "variables.h"

namespace {

const size_t kLineBuffer = 512;
const size_t kFieldKept = 127;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One token from `pos`: blanks skipped, then quoted up to the next double
// quote or bare up to whitespace; returns the position behind it.
size_t Token(const std::string &line, size_t pos, std::string &token)
{
    while (pos < line.size() && IsSpace(line[pos]))
        pos++;
    bool quoted = pos < line.size() && line[pos] == '"';
    if (quoted)
        pos++;
    size_t start = pos;
    while (pos < line.size() && !(quoted ? line[pos] == '"' : IsSpace(line[pos])))
        pos++;
    token = line.substr(start, std::min(pos - start, kFieldKept));
    if (quoted && pos < line.size())
        pos++;
    return pos;
}

// Frees what an earlier input read: the reader drops its records without
// freeing them, by design, and they would pile up over a fuzzing run.
void ForgetRecords()
{
    for (Pair *&head : HashTable)
    {
        while (head)
        {
            Pair *next = head->Next;
            delete head;
            head = next;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string path = fuzz::ScratchDir() + "/autoexec.cfg";

    // Folded name -> (name as written last, its value).
    std::map<std::string, std::pair<std::string, std::string>> expected;
    for (const fuzz::Piece &piece : fuzz::FgetsPieces(data, size, kLineBuffer))
    {
        std::string line = fuzz::UpToNul(piece.bytes);
        if (line.empty() || line[0] != '"')
            continue;
        std::string name, value;
        Token(line, Token(line, 0, name), value);
        expected[fuzz::FoldCase(name)] = {name, value};
    }

    ForgetRecords();
    fuzz::WriteFile(path, data, size);
    FUZZ_EXPECT_EQ("config read to its end", "0", std::to_string(VAR_ReadConfig(path.c_str())));

    size_t records = 0;
    for (int bucket = 0; bucket < VAR_HASH_SIZE; bucket++)
        for (Pair *pair = HashTable[bucket]; pair; pair = pair->Next)
        {
            records++;
            FUZZ_EXPECT("record name terminated", memchr(pair->Key, 0, sizeof pair->Key) != nullptr);
            FUZZ_EXPECT("record value terminated",
                        memchr(pair->Value, 0, sizeof pair->Value) != nullptr);
            FUZZ_EXPECT("record in its bucket", VAR_ComputeHash(pair->Key) == bucket);
        }
    FUZZ_EXPECT("no record without a line", records >= expected.size());

    for (const auto &item : expected)
    {
        const std::string &name = item.second.first;
        const char *found = VAR_Lookup(name.c_str());
        FUZZ_EXPECT("variable found", found != nullptr);
        FUZZ_EXPECT_EQ("variable value", item.second.second, found);

        std::string upper(name);
        for (char &c : upper)
            c = (char)toupper((unsigned char)c);
        int hash = VAR_ComputeHash(name.c_str());
        FUZZ_EXPECT("hash in range", hash >= 0 && hash < VAR_HASH_SIZE);
        FUZZ_EXPECT("hash blind to case", hash == VAR_ComputeHash(upper.c_str()));
        const char *foundUpper = VAR_Lookup(upper.c_str());
        FUZZ_EXPECT("lookup blind to case", foundUpper != nullptr);
        FUZZ_EXPECT_EQ("lookup blind to case", item.second.second, foundUpper);
    }
    return 0;
}
