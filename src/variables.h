// SPDX-License-Identifier: MIT
// The game's saved console variables, read once from its autoexec.cfg and
// looked up by name without regard to letter case.
#ifndef ORVEK_VARIABLES_H
#define ORVEK_VARIABLES_H

#define VAR_HASH_SIZE 101
#define VAR_FIELD_SIZE 128 // name or value: 127 characters and the terminator

typedef struct Pair_t
{
    char Key[VAR_FIELD_SIZE];   // as spelled in the file
    char Value[VAR_FIELD_SIZE]; // the text, unconverted
    struct Pair_t *Next;        // same bucket, older record
} Pair;

// Bucket chains, newest record first; records live until the process ends.
extern Pair *HashTable[VAR_HASH_SIZE];

// Empties the table, then reads every line that starts with a double quote:
// a name and a value, each quoted or bare. 0 when the file was read to its
// end; -1 when it cannot be opened or a record cannot be allocated.
int VAR_ReadConfig(const char *configfile);
// The value of the last line that set `variable`, or null.
char *VAR_Lookup(const char *variable);
// Bucket of a name, 0 to 100, the same whatever its letter case.
int VAR_ComputeHash(const char *string);
// Reads one token (skipping whitespace first; quoted up to the next double
// quote, else up to whitespace) into `to`, which must hold VAR_FIELD_SIZE
// chars: a longer token keeps its first 127 characters. Returns the read
// position just behind the whole token.
char *VAR_ReadString(char *from, char *to);

#endif
