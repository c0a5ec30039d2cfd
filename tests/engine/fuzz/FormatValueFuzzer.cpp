// Any double at any width, as the display and the clipboard write it: the text must have
// the promised shape and length, denote the value rounded to its digits exactly (as the C
// library's printf rounds it), and read back bit for bit when it has all 17 digits.
#include "engine/ValueText.h"

#include "tests/Checks.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
struct Rounded
{
    double value;      // |value| rounded to the digits, as printf gives it
    int pointPosition; // where the point goes relative to the first of the digits
};

Rounded RoundedByPrintf(double magnitude, int digits)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, magnitude);
    const char* e = std::strchr(buffer, 'e');
    Require(e != nullptr);
    return Rounded{std::strtod(buffer, nullptr), std::atoi(e + 1) + 1};
}

// -?(0|[1-9][0-9]*)(.[0-9]*[1-9])?; returns the count of significant digits, -1 if malformed.
int SignificantDigits(const std::wstring& text)
{
    std::size_t i = text.empty() || text[0] != L'-' ? 0 : 1;
    const std::size_t start = i;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9')
        ++i;
    const std::size_t integerDigits = i - start;
    if (integerDigits == 0 || (integerDigits > 1 && text[start] == L'0'))
        return -1;
    std::wstring digits = text.substr(start, integerDigits);
    if (i < text.size())
    {
        if (text[i] != L'.' || i + 1 == text.size() || text.back() == L'0')
            return -1;
        for (std::size_t j = i + 1; j < text.size(); ++j)
            if (text[j] < L'0' || text[j] > L'9')
                return -1;
        digits += text.substr(i + 1);
    }
    const std::size_t first = digits.find_first_not_of(L'0');
    if (first == std::wstring::npos)
        return 0;
    const std::size_t last = digits.find_last_not_of(L'0');
    return static_cast<int>(last - first + 1);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint8_t bits[8] = {};
    std::memcpy(bits, data, std::min<std::size_t>(size, sizeof bits));
    double value;
    std::memcpy(&value, bits, sizeof value);
    // The program's widths are 20 and 64; around and far beyond them, and below 3.
    const int width = size > 8 ? static_cast<int>(data[8]) - 16 : 20;

    const std::wstring text = FormatValue(value, width);
    if (!std::isfinite(value))
    {
        Require(text == (std::isnan(value) ? L"nan" : value < 0 ? L"-inf" : L"inf"));
        return 0;
    }
    const int n = width - 2;
    if (n <= 0)
    {
        Require(text == L"0");
        return 0;
    }
    const int significant = SignificantDigits(text);
    Require(significant >= 0);
    if (value == 0.0)
    {
        Require(text == (std::signbit(value) ? L"-0" : L"0"));
        return 0;
    }

    const int digits = std::min(n, 17);
    const Rounded rounded = RoundedByPrintf(std::fabs(value), digits);
    if (rounded.pointPosition >= n)
    {
        // Its integer part would need all n digits or more.
        Require(text == L"0");
        return 0;
    }
    Require((text[0] == L'-') == std::signbit(value));
    Require(significant >= 1 && significant <= digits);
    if (rounded.pointPosition > 0)
        Require(text.size() <= static_cast<std::size_t>(width));
    else // "0." and the zeros before the first digit, then at most the digits
        Require(text.size() <= static_cast<std::size_t>(3 - rounded.pointPosition + digits));

    double back = 0.0;
    Require(ParseNumber(text, back));
    Require(SameBits(std::fabs(back), rounded.value));
    Require(std::signbit(back) == std::signbit(value));
    if (digits == 17)
        Require(SameBits(back, value));
    return 0;
}
