#include "engine/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace
{
std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Removes trailing zeros of a fraction, and the point when nothing follows it.
void TrimFraction(std::string& digits)
{
    if (digits.find('.') == std::string::npos)
        return;
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    if (!digits.empty() && digits.back() == '.')
        digits.pop_back();
}

std::string ToChars(double value, std::chars_format format, int precision)
{
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return std::string(buffer, result.ptr);
}
} // namespace

std::wstring NonFiniteText(double value)
{
    if (std::isinf(value))
        return value < 0 ? L"-inf" : L"inf";
    return L"nan";
}

std::wstring FormatGeneral(double value, int precision)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    if (precision == 0)
        precision = 1;
    if (precision > 100)
        precision = 100;

    // The exponent after rounding to the requested digits decides the form, as in C.
    std::string scientific = ToChars(value, std::chars_format::scientific, precision - 1);
    const std::size_t e = scientific.find('e');
    const int exponent = std::atoi(scientific.c_str() + e + 1);

    if (exponent < -4 || exponent >= precision)
    {
        std::string mantissa = scientific.substr(0, e);
        TrimFraction(mantissa);
        const int magnitude = std::abs(exponent);
        std::string digits = std::to_string(magnitude);
        while (digits.size() < 3)
            digits.insert(digits.begin(), '0');
        return Widen(mantissa + (exponent < 0 ? "e-" : "e+") + digits);
    }
    std::string fixed = ToChars(value, std::chars_format::fixed, precision - 1 - exponent);
    TrimFraction(fixed);
    return Widen(fixed);
}
