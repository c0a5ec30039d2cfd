#include "tools/catalogue/CatalogueSource.h"

#include "store/Utf8.h"

#include <charconv>
#include <cmath>
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

class LineReader
{
public:
    LineReader(const std::string& origin) : m_origin(origin) {}
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw CatalogueSourceError(m_origin + ":" + std::to_string(m_line) + ": " + what);
    }
    void Next() { ++m_line; }

    // Plain decimal numbers only, read correctly rounded: the factors must be exact.
    double Number(const std::string& text) const
    {
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
