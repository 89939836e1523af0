// SPDX-License-Identifier: MIT
#include "variables.h"

#include <ctype.h>
#include <new>
#include <stdio.h>
#include <string.h>
#include <strings.h>

Pair *HashTable[VAR_HASH_SIZE];

// Records of earlier reads: out of the table, but kept here rather than
// lost, so that they stay valid and are not mistaken for leaked memory.
static Pair *Retired = NULL;

char *VAR_ReadString(char *from, char *to)
{
    size_t len = 0;

    while (isspace((unsigned char)*from))
        from++;
    bool quoted = *from == '"';
    if (quoted)
        from++;

    // No escapes: every character up to the end of the token is copied, and
    // the part of a token beyond 127 characters is passed over.
    for (; *from; from++)
    {
        if (quoted ? *from == '"' : isspace((unsigned char)*from) != 0)
            break;
        if (len < VAR_FIELD_SIZE - 1)
            to[len++] = *from;
    }
    to[len] = '\0';
    if (quoted && *from == '"')
        from++;
    return from;
}

int VAR_ComputeHash(const char *string)
{
    unsigned int hash = 0;

    if (string == NULL)
        return 0;
    for (const char *p = string; *p; p++)
        hash = (hash * 31 + (unsigned int)toupper((unsigned char)*p)) % VAR_HASH_SIZE;
    return (int)hash;
}

int VAR_ReadConfig(const char *configfile)
{
    // A longer line arrives in pieces of 511 characters, each read as a line.
    static char buffer[512];
    static char varname[VAR_FIELD_SIZE];
    static char value[VAR_FIELD_SIZE];

    FILE *fp = configfile ? fopen(configfile, "r") : NULL;
    // Records of an earlier read are dropped, never freed: pointers handed
    // out by VAR_Lookup stay valid for the whole run.
    for (int i = 0; i < VAR_HASH_SIZE; i++)
    {
        while (Pair *pair = HashTable[i])
        {
            HashTable[i] = pair->Next;
            pair->Next = Retired;
            Retired = pair;
        }
    }
    if (fp == NULL)
        return -1;

    while (fgets(buffer, sizeof buffer, fp))
    {
        // Only the game's saved-variable lines, which start with the quoted
        // name in the first column; bindings, commands and comments do not.
        if (buffer[0] != '"')
            continue;
        char *rest = VAR_ReadString(buffer, varname);
        VAR_ReadString(rest, value);

        Pair *pair = new (std::nothrow) Pair;
        if (pair == NULL)
        {
            fclose(fp);
            return -1;
        }
        memcpy(pair->Value, value, sizeof pair->Value);
        memcpy(pair->Key, varname, sizeof pair->Key);
        int bucket = VAR_ComputeHash(pair->Key);
        pair->Next = HashTable[bucket];
        HashTable[bucket] = pair;
    }
    fclose(fp);
    return 0;
}

char *VAR_Lookup(const char *variable)
{
    if (variable == NULL)
        return NULL;
    for (Pair *pair = HashTable[VAR_ComputeHash(variable)]; pair; pair = pair->Next)
        if (strcasecmp(pair->Key, variable) == 0)
            return pair->Value;
    return NULL;
}
