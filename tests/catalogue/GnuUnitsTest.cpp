// Every unit of the starter catalogue, converted into its category's source unit with the
// program's own formula, against GNU units: gnu-units.txt says how GNU units writes each
// unit, and one `units` process answers all the questions. The file's header explains it.
#include "BuiltCatalogue.h"

#include "tests/store/StoreTestSupport.h"

#include "engine/Conversion.h"
#include "store/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <map>
#include <sstream>

namespace
{
struct Mapped
{
    int line = 0;
    std::string expression; // the size of one unit, or a reading written with x
    std::string source;     // the definition it is written from, where not GNU units' own
    std::string gnuOwn;     // GNU units' own unit where it differs from the catalogue ...
    double difference = 0;  // ... by this much: GNU units' value / the catalogue's - 1
};

struct Mapping
{
    std::vector<std::string> unchecked;
    std::map<std::string, std::map<std::string, Mapped>> categories;
};

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    const auto last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::vector<std::string> Fields(const std::string& text)
{
    std::vector<std::string> fields;
    std::istringstream parts(text);
    for (std::string field; std::getline(parts, field, '|');)
        fields.push_back(Trim(field));
    return fields;
}

Mapping ReadMapping(const char* path)
{
    Mapping mapping;
    std::ifstream file(path);
    EXPECT_TRUE(file.good()) << path;
    std::map<std::string, Mapped>* category = nullptr;
    int number = 0;
    for (std::string line; std::getline(file, line);)
    {
        ++number;
        line = Trim(line);
        const auto colon = line.find(':');
        if (line.empty() || line[0] == '#')
            continue;
        if (colon == std::string::npos)
        {
            ADD_FAILURE() << path << ":" << number << ": not understood: " << line;
            continue;
        }
        const std::string key = line.substr(0, colon), value = Trim(line.substr(colon + 1));
        const auto fields = Fields(value);
        if (key == "unchecked" && !fields.empty())
            mapping.unchecked.push_back(fields[0]);
        else if (key == "category")
            category = &mapping.categories[value];
        else if (key == "unit" && category != nullptr && fields.size() >= 2 && fields.size() <= 4)
        {
            Mapped mapped{number, fields[1], fields.size() > 2 ? fields[2] : "", "", 0};
            if (fields.size() == 4)
            {
                const auto blank = fields[3].find_last_of(' ');
                mapped.gnuOwn = fields[3].substr(0, blank);
                if (blank != std::string::npos)
                    mapped.difference = std::strtod(fields[3].c_str() + blank + 1, nullptr);
                EXPECT_GT(std::fabs(mapped.difference), 1e-12)
                    << path << ":" << number << ": a known difference needs its size";
            }
            EXPECT_TRUE(category->emplace(fields[0], mapped).second)
                << path << ":" << number << ": " << fields[0] << " twice";
        }
        else
            ADD_FAILURE() << path << ":" << number << ": not understood: " << line;
    }
    return mapping;
}

bool IsUnchecked(const Mapping& mapping, const std::string& category)
{
    return std::any_of(mapping.unchecked.begin(), mapping.unchecked.end(),
                       [&](auto& name)
                       { return category == name || category.rfind(name + " (", 0) == 0; });
}

// An expression that uses x is a reading on a scale (tempF(x)); any other is one unit's size.
// Puts `value` in place of each x.
std::string WithX(const std::string& expression, const std::string& value)
{
    auto IsWordCharacter = [](char c)
    { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    std::string text;
    for (std::size_t i = 0; i < expression.size(); ++i)
        text += expression[i] == 'x' && (i == 0 || !IsWordCharacter(expression[i - 1])) &&
                        (i + 1 == expression.size() || !IsWordCharacter(expression[i + 1]))
                    ? "(" + value + ")"
                    : std::string(1, expression[i]);
    return text;
}

bool IsScale(const std::string& expression)
{
    return WithX(expression, "") != expression;
}

std::string Reading(const std::string& expression, double x)
{
    std::ostringstream value;
    value << std::setprecision(17) << x;
    return IsScale(expression) ? WithX(expression, value.str())
                               : "(" + value.str() + ")*(" + expression + ")";
}

// GNU units' value of x `unit` in the source unit; an inverted unit measures the reciprocal.
// A scale as the source must be a function of its own, f(x), which GNU units inverts as ~f.
std::string Question(const std::string& unit, const std::string& source, bool inverted, double x)
{
    if (inverted)
        return IsScale(unit) || IsScale(source) ? ""
                                                : "1/((" + Reading(unit, x) + ")*(" + source + "))";
    if (!IsScale(source))
        return "(" + Reading(unit, x) + ")/(" + source + ")";
    const std::string function = source.substr(0, source.size() - 3);
    return source.size() > 3 && WithX(function, "") == function &&
                   source.compare(function.size(), 3, "(x)") == 0
               ? "~" + function + "(" + Reading(unit, x) + ")"
               : "";
}

const char kCommand[] = "LC_ALL=C UNITS_ENGLISH=US units -f '' -t -o %.17g";
const char kEndOfAnswer[] = "4242 s^7";

// One answer per question: the lines GNU units printed for it.
std::vector<std::string> Ask(const std::vector<std::string>& questions)
{
    TempDir dir;
    const std::string path = ToUtf8(dir.File(L"questions.txt"));
    std::ostringstream input;
    for (const auto& question : questions)
        input << question << "\n\n" << kEndOfAnswer << "\n\n";
    WriteBytes(FromUtf8(path), input.str());
    std::vector<std::string> answers(1);
    FILE* output = popen((std::string(kCommand) + " < '" + path + "' 2>&1").c_str(), "r");
    char buffer[4096];
    while (output != nullptr && std::fgets(buffer, sizeof buffer, output) != nullptr)
    {
        const std::string line = Trim(std::string(buffer).substr(0, std::strcspn(buffer, "\n")));
        if (line == kEndOfAnswer)
            answers.emplace_back();
        else
            answers.back() += (answers.back().empty() ? "" : " / ") + line;
    }
    EXPECT_TRUE(output != nullptr && pclose(output) == 0) << kCommand;
    answers.pop_back();
    return answers;
}

bool Close(double a, double b)
{
    return std::fabs(a - b) <= 1e-12 * std::max(std::fabs(a), std::fabs(b));
}
} // namespace

TEST(GnuUnits, AgreesWithEveryUnitOfTheStarterCatalogue)
{
    FILE* probe = popen("units -t -V 2>/dev/null", "r");
    char version[128] = "";
    if (probe == nullptr || std::fgets(version, sizeof version, probe) == nullptr)
        version[0] = '\0';
    if (probe != nullptr)
        pclose(probe);
    version[std::strcspn(version, "\n")] = '\0';
    ASSERT_EQ(std::string(version).rfind("GNU Units version", 0), 0u)
        << "GNU units is missing: run tools/setup.sh, which installs Debian's units package";

    Mapping mapping = ReadMapping(KALVO_GNU_UNITS_MAPPING);
    struct Check
    {
        std::string where;
        const Mapped* mapped;
        double x, expected;
        bool own; // the question asks for GNU units' own unit of a known difference
    };
    std::vector<Check> checks;
    std::vector<std::string> questions;
    int units = 0, cited = 0, differences = 0;
    for (const auto& category : BuiltCatalogue())
    {
        const std::string name = ToUtf8(category.name);
        if (IsUnchecked(mapping, name))
            continue;
        auto& mapped = mapping.categories[name];
        const auto* source = FindUnit(category, category.sourceUnitId);
        ASSERT_NE(source, nullptr) << name;
        const auto sourceMapped = mapped.find(ToUtf8(source->name));
        for (const auto& unit : category.units)
        {
            const std::string where = name + " / " + ToUtf8(unit.name);
            const auto found = mapped.find(ToUtf8(unit.name));
            if (found == mapped.end() || sourceMapped == mapped.end())
            {
                ADD_FAILURE() << where << ": not in " << KALVO_GNU_UNITS_MAPPING;
                continue;
            }
            ++units;
            cited += found->second.source.empty() || !found->second.gnuOwn.empty() ? 0 : 1;
            differences += found->second.gnuOwn.empty() ? 0 : 1;
            const bool inverted = unit.scale.isInvertResult != source->scale.isInvertResult;
            for (const double x : IsScale(sourceMapped->second.expression)
                                      ? std::vector<double>{10, 200}
                                      : std::vector<double>{1})
                for (const bool own : {false, true})
                {
                    if (own && found->second.gnuOwn.empty())
                        continue;
                    const std::string& expression =
                        own ? found->second.gnuOwn : found->second.expression;
                    questions.push_back(
                        Question(expression, sourceMapped->second.expression, inverted, x));
                    checks.push_back({where, &found->second, x,
                                      ConvertValue(x, unit.scale, source->scale), own});
                }
            found->second.line = -found->second.line; // found in the catalogue
        }
    }
    for (const auto& [category, mapped] : mapping.categories)
        for (const auto& [unit, entry] : mapped)
            EXPECT_LT(entry.line, 0) << KALVO_GNU_UNITS_MAPPING << ":" << entry.line << ": "
                                     << category << " / " << unit << " is not in the catalogue";

    const auto answers = Ask(questions);
    ASSERT_EQ(answers.size(), questions.size()) << "GNU units answered out of step";
    for (std::size_t i = 0; i < checks.size(); ++i)
    {
        const auto& check = checks[i];
        char* end = nullptr;
        const double gnu = std::strtod(answers[i].c_str(), &end);
        const auto& mapped = *check.mapped;
        const double listed = check.own ? mapped.difference : 0;
        const double difference = gnu / check.expected - 1;
        if (questions[i].empty() || answers[i].empty() || *end != '\0')
            ADD_FAILURE() << check.where << ": GNU units answers '" << answers[i] << "' to '"
                          << questions[i] << "'";
        else if (check.own ? std::fabs(difference - listed) > 0.05 * std::fabs(listed)
                           : !Close(gnu, check.expected))
        {
            std::ostringstream why;
            why << std::setprecision(17) << check.where << " at " << check.x
                << ": the catalogue gives " << check.expected << ", GNU units " << gnu << " for "
                << (check.own ? mapped.gnuOwn : mapped.expression) << std::setprecision(3)
                << " (relative difference " << difference;
            if (check.own)
                why << ", listed " << listed;
            ADD_FAILURE() << why.str() << ")";
        }
    }
    std::printf("%d units checked against %s: %d by GNU units' own definitions, %d written "
                "out from a cited definition, %d known differences\n",
                units, version, units - cited - differences, cited, differences);
}
