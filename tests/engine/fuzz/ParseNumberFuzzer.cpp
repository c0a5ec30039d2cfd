// Any text typed or pasted as a value: what ParseNumber reads must be what the C library's
// strtod reads from it (apart from the hex and the words it refuses on purpose), and a value
// it reads must come back bit for bit from its own text.
#include "engine/ValueText.h"

#include "tests/Checks.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
// Bytes below 0xC0 stand for themselves (ASCII and Latin-1, with its no-break space); the
// rest for the start of the full-width forms, whose digits, signs and point look like
// numbers but are none.
std::wstring WideText(const std::uint8_t* data, std::size_t size)
{
    std::wstring text;
    for (std::size_t i = 0; i < size; ++i)
        text += data[i] < 0xC0 ? static_cast<wchar_t>(data[i])
                               : static_cast<wchar_t>(0xFF00 + (data[i] - 0xC0));
    return text;
}

// What strtod sees of the same text: anything outside ASCII is no part of a number.
std::string NarrowText(const std::wstring& text)
{
    std::string narrow;
    for (wchar_t c : text)
        narrow += c < 0x80 ? static_cast<char>(c) : '#';
    return narrow;
}

bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool StartsWithNoCase(const std::string& text, std::size_t at, const char* word)
{
    for (std::size_t i = 0; word[i] != '\0'; ++i)
    {
        if (at + i >= text.size())
            return false;
        const char c = text[at + i];
        if (c != word[i] && !(c >= 'A' && c <= 'Z' && c - 'A' + 'a' == word[i]))
            return false;
    }
    return true;
}

void CheckAgainstStrtod(const std::wstring& text, bool read, double value)
{
    const std::string narrow = NarrowText(text);
    std::size_t i = 0;
    while (i < narrow.size() && IsBlank(narrow[i]))
        ++i;
    const bool negative = i < narrow.size() && narrow[i] == '-';
    if (i < narrow.size() && (narrow[i] == '+' || narrow[i] == '-'))
        ++i;
    if (StartsWithNoCase(narrow, i, "0x"))
    {
        // Never hex: only the zero in front of the x is read.
        Require(read && SameBits(value, negative ? -0.0 : 0.0));
        return;
    }
    if (StartsWithNoCase(narrow, i, "inf") || StartsWithNoCase(narrow, i, "nan"))
    {
        Require(!read);
        return;
    }
    // strtod stops at the first NUL, and so must ParseNumber, which reads no NUL as a digit.
    const char* start = narrow.c_str();
    char* end = nullptr;
    const double expected = std::strtod(start, &end);
    Require(read == (end != start));
    if (read)
        Require(SameBits(value, expected));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring text = WideText(data, size);
    double value = 1.0;
    const bool read = ParseNumber(text, value);
    if (!read)
        Require(SameBits(value, 0.0));
    CheckAgainstStrtod(text, read, value);

    // Leading white space changes nothing, and a minus in front flips only the sign.
    double again = 1.0;
    Require(ParseNumber(L" \t" + text, again) == read && SameBits(again, value));
    if (text.empty() || (text[0] != L'+' && text[0] != L'-' && text[0] != L' ' &&
                         !(text[0] >= L'\t' && text[0] <= L'\r')))
    {
        Require(ParseNumber(L"-" + text, again) == read);
        Require(SameBits(again, read ? -value : 0.0));
    }

    if (!read)
        return 0;
    // Its text for the tooltip and the clipboard reads back as the same double; only values
    // too large for its 62 digits read "0", and non-finite ones are not read at all.
    const std::wstring wide = FormatValue(value, 64);
    double back = 1.0;
    if (!std::isfinite(value))
        Require(!ParseNumber(wide, back) && back == 0.0);
    else if (wide == L"0" && value != 0.0)
        Require(std::fabs(value) > 9.9e60);
    else
        Require(ParseNumber(wide, back) && SameBits(back, value));
    return 0;
}
