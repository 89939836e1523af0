// CString::Format at and beyond the bounds of its shared 10240-char scratch
// buffer. Texts, field widths and precisions come from the input; every
// result must equal what the C library formats for the same arguments, cut
// to the 10239 characters the buffer holds, and the string must own an
// exact copy of it. AddressSanitizer watches the buffer's edges.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

#include "CString.h"
#include "fuzz_util.h"

namespace {

const size_t kLimit = 10239; // characters Format keeps

// What the C library makes of the same format and arguments, whole.
template <typename... Args> std::string Reference(const char *format, Args... args)
{
    int length = snprintf(nullptr, 0, format, args...);
    if (length < 0)
        return std::string();
    std::vector<char> text(length + 1);
    snprintf(text.data(), text.size(), format, args...);
    return std::string(text.data(), length);
}

void Expect(const char *what, const CString &string, const std::string &whole)
{
    const char *text = string;
    FUZZ_EXPECT(what, text != nullptr);
    FUZZ_EXPECT_EQ(what, whole.substr(0, kLimit), text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    // Widths and precisions around and far beyond the buffer.
    int width = input.ConsumeIntegralInRange<int>(-25000, 25000);
    int precision = input.ConsumeIntegralInRange<int>(-1, 25000);
    int number = input.ConsumeIntegral<int>();
    int repeat = input.ConsumeIntegralInRange<int>(0, 12000);
    std::string text = fuzz::UpToNul(input.ConsumeRandomLengthString(30000));
    std::string tail = fuzz::UpToNul(input.ConsumeRemainingBytesAsString());
    // Long texts without a long input: the short text repeated.
    std::string grown;
    for (int i = 0; i < repeat && grown.size() < 24000; i++)
        grown += text.empty() ? "x" : text;

    CString string;
    string.Format("%s", text.c_str());
    Expect("%s", string, Reference("%s", text.c_str()));

    string.Format("%s", grown.c_str());
    Expect("%s of a grown text", string, Reference("%s", grown.c_str()));

    string.Format("%*s|%d", width, text.c_str(), number);
    Expect("%*s|%d", string, Reference("%*s|%d", width, text.c_str(), number));

    string.Format("%.*s%s", precision, grown.c_str(), tail.c_str());
    Expect("%.*s%s", string, Reference("%.*s%s", precision, grown.c_str(), tail.c_str()));

    string.Format("%s%s%*d", grown.c_str(), grown.c_str(), width, number);
    Expect("%s%s%*d", string, Reference("%s%s%*d", grown.c_str(), grown.c_str(), width, number));

    // Another string's Format must not disturb the first one's copy.
    CString other;
    other.Format("%0*d", width, number);
    Expect("%0*d", other, Reference("%0*d", width, number));
    Expect("first string kept its own copy", string,
           Reference("%s%s%*d", grown.c_str(), grown.c_str(), width, number));

    // The empty result is text, not "no text".
    string.Format("%.0s", text.c_str());
    Expect("empty result", string, "");
    FUZZ_EXPECT("empty result is empty", string.IsEmpty() == 1);
    return 0;
}
