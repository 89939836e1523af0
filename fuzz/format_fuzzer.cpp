// SPDX-License-Identifier: MIT
// CString::Format at and beyond the bounds of its shared 10240-char scratch
// buffer: texts, field widths and precisions come from the input, and the
// result must be what the C library formats, cut to 10239 characters.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <fuzzer/FuzzedDataProvider.h>
#include <string>

#include "CString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    int width = input.ConsumeIntegralInRange<int>(-12000, 12000);
    int precision = input.ConsumeIntegralInRange<int>(-1, 12000);
    size_t repeat = input.ConsumeIntegralInRange<size_t>(1, 12000);
    std::string text = input.ConsumeRemainingBytesAsString().c_str(), grown;
    while (repeat-- > 0 && grown.size() < 12000)
        grown += text.empty() ? "x" : text;

    static char whole[40000];
    CString string;
    string.Format("%*.*s|%s", width, precision, grown.c_str(), text.c_str());
    snprintf(whole, sizeof whole, "%*.*s|%s", width, precision, grown.c_str(), text.c_str());
    const char *formatted = string;
    if (!formatted || strncmp(formatted, whole, 10239) != 0 || strlen(formatted) != strnlen(whole, 10239))
        __builtin_trap();
    return 0;
}
