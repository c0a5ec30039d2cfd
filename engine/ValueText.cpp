#include "engine/ValueText.h"

#include "engine/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace
{
constexpr int kSignificantDigits = 17;

struct DecimalDigits
{
    std::string digits; // exactly the requested count, zero-padded
    int pointPosition;  // of the decimal point relative to the first digit
    bool negative;
};

// What the classic runtime's _ecvt yields, with correctly rounded digits.
DecimalDigits ToDecimalDigits(double value, int count)
{
    DecimalDigits result{std::string(), 0, std::signbit(value)};
    const int significant = count < kSignificantDigits ? count : kSignificantDigits;
    if (value == 0)
    {
        result.digits.assign(count, '0');
        return result;
    }
    char buffer[64];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                             std::chars_format::scientific, significant - 1)
                   .ptr;
    const std::string text(buffer, end);
    const auto e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            result.digits += text[i];
    result.pointPosition = std::atoi(text.c_str() + e + 1) + 1;
    result.digits.resize(count, '0');
    return result;
}

bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Length of the longest prefix that has the form digits [. digits] [e [sign] digits]
// with at least one mantissa digit; 0 when there is none.
std::size_t MatchDecimal(const std::wstring& text, std::size_t start, bool& hasDigit)
{
    std::size_t i = start;
    hasDigit = false;
    while (i < text.size() && IsDigit(text[i]))
        ++i, hasDigit = true;
    if (i < text.size() && text[i] == L'.')
    {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i, hasDigit = true;
    }
    if (!hasDigit)
        return 0;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E'))
    {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == L'+' || text[j] == L'-'))
            ++j;
        if (j < text.size() && IsDigit(text[j]))
        {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i - start;
}

// from_chars leaves the value alone on a range error: tell overflow from underflow by the
// decimal exponent of the leading nonzero digit (a range error only happens far out).
double OutOfRangeValue(const std::string& number)
{
    const auto e = number.find_first_of("eE");
    // strtol saturates on an absurd exponent; clamped, the sums below cannot overflow.
    const long written = e == std::string::npos ? 0 : std::strtol(number.c_str() + e + 1, nullptr, 10);
    const long exponent = std::clamp(written, -1000000L, 1000000L);
    const std::string mantissa = number.substr(0, e);
    const auto point = mantissa.find('.');
    const long integerDigits = static_cast<long>(point == std::string::npos ? mantissa.size() : point);
    const long leading = static_cast<long>(mantissa.find_first_of("123456789"));
    const long leadingExponent = leading < integerDigits ? integerDigits - leading - 1
                                                         : integerDigits - leading;
    return leadingExponent + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}
} // namespace

std::wstring FormatValue(double value, int width)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    const int n = width - 2;
    if (n <= 0)
        return L"0";
    const DecimalDigits d = ToDecimalDigits(value, n);
    const int p = d.pointPosition;
    if (p >= n)
        return L"0";

    std::string integerPart = p <= 0 ? "0" : d.digits.substr(0, p);
    std::string fraction = p >= 0 ? d.digits.substr(p) : std::string(-p, '0') + d.digits;
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string text = (d.negative ? "-" : "") + integerPart;
    if (!fraction.empty())
        text += "." + fraction;
    return std::wstring(text.begin(), text.end());
}

bool ParseNumber(const std::wstring& text, double& value)
{
    value = 0.0;
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    bool hasDigit = false;
    const std::size_t length = MatchDecimal(text, i, hasDigit);
    if (length == 0)
        return false;

    const std::string number(text.begin() + i, text.begin() + i + length);
    double magnitude = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), magnitude,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        magnitude = OutOfRangeValue(number);
    value = negative ? -magnitude : magnitude;
    return true;
}
