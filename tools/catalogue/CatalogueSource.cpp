#include "tools/catalogue/CatalogueSource.h"

#include "store/Utf8.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <sstream>

namespace
{
std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitFields(const std::string& text)
{
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;)
    {
        const auto bar = text.find('|', start);
        fields.push_back(Trim(text.substr(start, bar - start)));
        if (bar == std::string::npos)
            return fields;
        start = bar + 1;
    }
}

// Factors that are not terminating decimals (1200/3937 m, 5/9 K, 180/pi degrees) are
// written as products and quotients of exact decimals:
//
//   expression := ['-'] operand { ('*' | '/') operand }
//   operand    := decimal ['^' power] | 'pi'
//   decimal    := digits ['.' digits] [('e' | 'E') ['+' | '-'] digits]
//   power      := an integer from 1 to 64
//
// The value is worked out as an exact fraction and rounded once, to nearest with ties to
// even, so "231 * 0.0254^3" gives the same double as "0.003785411784". No blanks around
// '^'. pi stands for its first 51 digits; that error, below 1e-50, could change a rounding
// only for a factor within 1e-50 (relative) of a tie between two doubles.
class Natural
{
public:
    explicit Natural(std::uint32_t value = 0)
    {
        if (value != 0)
            m_limbs.push_back(value);
    }
    bool IsZero() const { return m_limbs.empty(); }
    int BitLength() const
    {
        if (m_limbs.empty())
            return 0;
        int bits = 32 * static_cast<int>(m_limbs.size() - 1);
        for (std::uint32_t top = m_limbs.back(); top != 0; top >>= 1)
            ++bits;
        return bits;
    }
    void MultiplyAdd(std::uint32_t factor, std::uint32_t addend)
    {
        std::uint64_t carry = addend;
        for (auto& limb : m_limbs)
        {
            carry += std::uint64_t{limb} * factor;
            limb = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry != 0)
            m_limbs.push_back(static_cast<std::uint32_t>(carry));
        Trim();
    }
    friend Natural operator*(const Natural& a, const Natural& b)
    {
        Natural product;
        product.m_limbs.assign(a.m_limbs.size() + b.m_limbs.size(), 0);
        for (std::size_t i = 0; i < a.m_limbs.size(); ++i)
        {
            std::uint64_t carry = 0;
            for (std::size_t j = 0; j < b.m_limbs.size(); ++j)
            {
                carry += std::uint64_t{a.m_limbs[i]} * b.m_limbs[j] + product.m_limbs[i + j];
                product.m_limbs[i + j] = static_cast<std::uint32_t>(carry);
                carry >>= 32;
            }
            product.m_limbs[i + b.m_limbs.size()] = static_cast<std::uint32_t>(carry);
        }
        product.Trim();
        return product;
    }
    Natural ShiftedLeft(int bits) const
    {
        Natural result;
        if (IsZero())
            return result;
        const int whole = bits / 32, part = bits % 32;
        result.m_limbs.assign(static_cast<std::size_t>(whole), 0);
        std::uint32_t spill = 0;
        for (const auto limb : m_limbs)
        {
            result.m_limbs.push_back((limb << part) | spill);
            spill = part == 0 ? 0 : limb >> (32 - part);
        }
        result.m_limbs.push_back(spill);
        result.Trim();
        return result;
    }
    friend bool operator<(const Natural& a, const Natural& b)
    {
        if (a.m_limbs.size() != b.m_limbs.size())
            return a.m_limbs.size() < b.m_limbs.size();
        for (std::size_t i = a.m_limbs.size(); i-- > 0;)
            if (a.m_limbs[i] != b.m_limbs[i])
                return a.m_limbs[i] < b.m_limbs[i];
        return false;
    }
    // Requires *this >= other.
    void Subtract(const Natural& other)
    {
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < m_limbs.size(); ++i)
        {
            std::int64_t digit = std::int64_t{m_limbs[i]} - borrow -
                                 (i < other.m_limbs.size() ? std::int64_t{other.m_limbs[i]} : 0);
            borrow = digit < 0 ? 1 : 0;
            m_limbs[i] = static_cast<std::uint32_t>(digit + (borrow << 32));
        }
        Trim();
    }

private:
    void Trim()
    {
        while (!m_limbs.empty() && m_limbs.back() == 0)
            m_limbs.pop_back();
    }
    std::vector<std::uint32_t> m_limbs; // least significant first
};

struct Fraction
{
    Natural numerator{1}, denominator{1};
};

Natural PowerOfTen(int exponent)
{
    Natural value(1);
    for (int i = 0; i < exponent; ++i)
        value.MultiplyAdd(10, 0);
    return value;
}

// Reads digits ['.' digits] [e [sign] digits] at `at`; false if there is no such number.
bool ReadDecimal(const std::string& text, std::size_t& at, Fraction& value)
{
    Natural digits;
    int scale = 0, count = 0;
    auto readDigits = [&](bool fraction) {
        int n = 0;
        for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++n)
        {
            digits.MultiplyAdd(10, static_cast<std::uint32_t>(text[at] - '0'));
            scale -= fraction ? 1 : 0;
        }
        count += n;
        return n;
    };
    if (readDigits(false) == 0)
        return false;
    if (at < text.size() && text[at] == '.')
    {
        ++at;
        if (readDigits(true) == 0)
            return false;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E'))
    {
        ++at;
        const bool negative = at < text.size() && text[at] == '-';
        if (at < text.size() && (text[at] == '-' || text[at] == '+'))
            ++at;
        int exponent = 0, n = 0;
        for (; at < text.size() && text[at] >= '0' && text[at] <= '9' && n < 4; ++at, ++n)
            exponent = exponent * 10 + (text[at] - '0');
        if (n == 0 || n == 4)
            return false;
        scale += negative ? -exponent : exponent;
    }
    if (count > 60 || scale < -400 || scale > 400)
        return false;
    value.numerator = scale > 0 ? digits * PowerOfTen(scale) : digits;
    value.denominator = scale < 0 ? PowerOfTen(-scale) : Natural(1);
    return true;
}

bool ReadOperand(const std::string& text, std::size_t& at, Fraction& value)
{
    if (text.compare(at, 2, "pi") == 0)
    {
        at += 2;
        std::size_t digitsAt = 0;
        return ReadDecimal("3.14159265358979323846264338327950288419716939937510", digitsAt, value);
    }
    if (!ReadDecimal(text, at, value))
        return false;
    if (at == text.size() || text[at] != '^')
        return true;
    ++at;
    int power = 0, n = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9' && n < 3; ++at, ++n)
        power = power * 10 + (text[at] - '0');
    if (n == 0 || power < 1 || power > 64)
        return false;
    const Fraction base = value;
    for (int i = 1; i < power; ++i)
    {
        value.numerator = value.numerator * base.numerator;
        value.denominator = value.denominator * base.denominator;
    }
    return true;
}

// The double nearest numerator / denominator (both nonzero), ties to even; nothing when it
// would be infinite or below the normal range.
std::optional<double> RoundToDouble(const Fraction& value)
{
    // Scale so that the quotient has 54 or 55 bits: 53 kept, the rest decide the rounding.
    const int scale = 54 - (value.numerator.BitLength() - value.denominator.BitLength());
    Natural remainder = scale > 0 ? value.numerator.ShiftedLeft(scale) : value.numerator;
    const Natural divisor = scale < 0 ? value.denominator.ShiftedLeft(-scale) : value.denominator;
    std::uint64_t quotient = 0;
    for (int bit = 54; bit >= 0; --bit)
    {
        const Natural step = divisor.ShiftedLeft(bit);
        if (!(remainder < step))
        {
            remainder.Subtract(step);
            quotient |= std::uint64_t{1} << bit;
        }
    }
    const int dropped = quotient >> 54 != 0 ? 2 : 1;
    std::uint64_t kept = quotient >> dropped;
    const bool half = ((quotient >> (dropped - 1)) & 1) != 0;
    const bool beyondHalf = (quotient & ((std::uint64_t{1} << (dropped - 1)) - 1)) != 0 || !remainder.IsZero();
    if (half && (beyondHalf || (kept & 1) != 0))
        ++kept;
    const double result = std::ldexp(static_cast<double>(kept), dropped - scale);
    if (!std::isfinite(result) || result < std::numeric_limits<double>::min())
        return std::nullopt;
    return result;
}

std::optional<double> ExactExpression(const std::string& text)
{
    std::size_t at = 0;
    auto skipBlanks = [&] {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
    };
    const bool negative = !text.empty() && text[0] == '-';
    at = negative ? 1 : 0;
    Fraction value;
    for (bool divide = false;;)
    {
        skipBlanks();
        Fraction operand;
        if (!ReadOperand(text, at, operand))
            return std::nullopt;
        if (divide && operand.numerator.IsZero())
            return std::nullopt;
        value.numerator = value.numerator * (divide ? operand.denominator : operand.numerator);
        value.denominator = value.denominator * (divide ? operand.numerator : operand.denominator);
        skipBlanks();
        if (at == text.size())
            break;
        if (text[at] != '*' && text[at] != '/')
            return std::nullopt;
        divide = text[at++] == '/';
    }
    if (value.numerator.IsZero())
        return negative ? -0.0 : 0.0;
    const auto rounded = RoundToDouble(value);
    if (!rounded)
        return std::nullopt;
    return negative ? -*rounded : *rounded;
}

class LineReader
{
public:
    LineReader(const std::string& origin) : m_origin(origin) {}
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw CatalogueSourceError(m_origin + ":" + std::to_string(m_line) + ": " + what);
    }
    void Next() { ++m_line; }

    // A plain decimal number, read correctly rounded, or an exact expression (see
    // ExactExpression above). Either way the factor is the double nearest its true value.
    double Number(const std::string& text) const
    {
        if (text.find_first_of("*/^") != std::string::npos || text.find("pi") != std::string::npos)
        {
            const auto value = ExactExpression(text);
            if (!value)
                Fail("not an exact expression: '" + text + "'");
            return *value;
        }
        double value = 0;
        const char* end = text.data() + text.size();
        auto result = std::from_chars(text.data(), end, value, std::chars_format::general);
        if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
            Fail("not a number: '" + text + "'");
        return value;
    }

private:
    std::string m_origin;
    int m_line = 0;
};

void ApplyFlags(const LineReader& reader, const std::string& flags, SourceUnit& unit)
{
    std::istringstream words(flags);
    std::string word;
    while (words >> word)
    {
        if (word == "source")
            unit.isSource = true;
        else if (word == "shown")
            unit.isShown = true;
        else if (word == "current")
            unit.isCurrent = true;
        else if (word == "target")
            unit.isTarget = true;
        else if (word == "invert")
            unit.isInvert = true;
        else
            reader.Fail("unknown flag '" + word + "'");
    }
}

SourceUnit ParseUnit(const LineReader& reader, const std::string& value)
{
    const auto fields = SplitFields(value);
    if (fields.size() != 5)
        reader.Fail("a unit needs name | factor | shift | flags | note");
    SourceUnit unit;
    unit.name = FromUtf8(fields[0]);
    if (unit.name.empty())
        reader.Fail("a unit needs a name");
    unit.factor = reader.Number(fields[1]);
    if (unit.factor == 0)
        reader.Fail("a factor of zero converts nothing");
    unit.shift = fields[2].empty() ? 0.0 : reader.Number(fields[2]);
    ApplyFlags(reader, fields[3], unit);
    unit.note = FromUtf8(fields[4]);
    return unit;
}

void CheckCategory(const LineReader& reader, const SourceCategory& category)
{
    if (category.name.empty())
        reader.Fail("no 'category:' line");
    int sources = 0;
    for (const auto& unit : category.units)
        sources += unit.isSource ? 1 : 0;
    if (!category.units.empty() && sources != 1)
        reader.Fail("a category with units needs exactly one source unit");
}
} // namespace

SourceCategory ParseCategorySource(const std::string& text, const std::string& origin)
{
    SourceCategory category;
    LineReader reader(origin);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        reader.Next();
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            reader.Fail("expected 'key: value'");
        const std::string key = Trim(line.substr(0, colon));
        const std::string value = Trim(line.substr(colon + 1));
        if (key == "category")
            category.name = FromUtf8(value);
        else if (key == "icon")
            category.iconId = static_cast<std::int32_t>(reader.Number(value));
        else if (key == "note")
            category.note = FromUtf8(value);
        else if (key == "selected")
            category.isSelected = (value == "yes");
        else if (key == "unit")
            category.units.push_back(ParseUnit(reader, value));
        else
            reader.Fail("unknown key '" + key + "'");
    }
    CheckCategory(reader, category);
    return category;
}
