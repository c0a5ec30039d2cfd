#include "BuiltCatalogue.h"

#include "engine/Conversion.h"
#include "store/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>

namespace
{
// Case folding for the names' alphabet: ASCII and the Latin-1 capitals (Å, Ø...).
std::wstring Folded(std::wstring text)
{
    for (auto& c : text)
        if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c = static_cast<wchar_t>(c + 0x20);
    return text;
}

// The text in a name's closing parentheses, its symbol: "nanometre (nm)" gives "nm",
// "pound per foot second (lb/(ft·s))" gives "lb/(ft·s)"; nothing when the name has none.
std::wstring Symbol(const std::wstring& name)
{
    if (name.empty() || name.back() != L')')
        return {};
    int depth = 0;
    for (std::size_t i = name.size(); i-- > 0;)
    {
        depth += name[i] == L')' ? 1 : name[i] == L'(' ? -1 : 0;
        if (depth == 0)
            return name.substr(i + 1, name.size() - i - 2);
    }
    return {};
}

std::string Where(const CatalogueCategory& category, const CatalogueUnit* unit = nullptr)
{
    return ToUtf8(category.name) + (unit != nullptr ? " / " + ToUtf8(unit->name) : "");
}

bool Close(double a, double b)
{
    return std::fabs(a - b) <= 1e-12 * std::max(std::fabs(a), std::fabs(b));
}
} // namespace

TEST(BuiltCatalogue, HoldsTheStarterCategoriesWithOneSelected)
{
    const auto& catalogue = BuiltCatalogue();
    std::size_t units = 0, selected = 0;
    std::set<std::wstring> names;
    for (const auto& category : catalogue)
    {
        units += category.units.size();
        selected += category.isSelected ? 1 : 0;
        EXPECT_TRUE(names.insert(Folded(category.name)).second) << Where(category);
    }
    // Floors at today's counts: a source file the build no longer picks up fails here.
    EXPECT_GE(catalogue.size(), 62u);
    EXPECT_GE(units, 815u);
    EXPECT_EQ(selected, 1u);
}

TEST(BuiltCatalogue, EveryCategoryNamesItsOwnUnitsAndAKnownIcon)
{
    const std::set<std::int32_t> icons = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007,
                                          1010, 1018, 1021, 1026, 1033, 1037, 1041, 1043,
                                          1049, 1055, 1056, 1059, 1068};
    for (const auto& category : BuiltCatalogue())
    {
        EXPECT_EQ(icons.count(category.iconId), 1u) << Where(category);
        EXPECT_FALSE(category.note.empty()) << Where(category);
        ASSERT_FALSE(category.units.empty()) << Where(category);
        EXPECT_NE(FindUnit(category, category.sourceUnitId), nullptr) << Where(category);
        EXPECT_NE(FindUnit(category, category.currentUnitId), nullptr) << Where(category);
        EXPECT_NE(FindUnit(category, category.targetUnitId), nullptr) << Where(category);
        EXPECT_TRUE(std::any_of(category.units.begin(), category.units.end(),
                                [](const CatalogueUnit& u) { return u.isShown; }))
            << Where(category);
    }
}

// A first start shows these values before anything is typed: they must already agree.
TEST(BuiltCatalogue, EveryStoredValueIsOneSourceUnitConverted)
{
    for (const auto& category : BuiltCatalogue())
    {
        const CatalogueUnit* source = FindUnit(category, category.sourceUnitId);
        ASSERT_NE(source, nullptr) << Where(category);
        EXPECT_EQ(source->userValue, 1.0) << Where(category, source);
        for (const auto& unit : category.units)
            EXPECT_TRUE(Close(unit.userValue, ConvertValue(1.0, source->scale, unit.scale)))
                << Where(category, &unit) << " stores " << unit.userValue;
    }
}

// Names compare without regard to case, and so must symbols: nm and NM would read as one.
TEST(BuiltCatalogue, UnitNamesAndSymbolsAreUniqueShortAndEveryUnitIsExplained)
{
    for (const auto& category : BuiltCatalogue())
    {
        std::set<std::wstring> names, symbols;
        for (const auto& unit : category.units)
        {
            EXPECT_TRUE(names.insert(Folded(unit.name)).second) << Where(category, &unit);
            const std::wstring symbol = Symbol(unit.name);
            EXPECT_TRUE(symbol.empty() || symbols.insert(Folded(symbol)).second)
                << Where(category, &unit) << ": another unit has this symbol";
            EXPECT_LE(unit.name.size(), 50u) << Where(category, &unit);
            EXPECT_FALSE(unit.note.empty()) << Where(category, &unit);
            EXPECT_TRUE(std::isfinite(unit.scale.factorMul) && unit.scale.factorMul != 0)
                << Where(category, &unit);
            EXPECT_TRUE(std::isfinite(unit.scale.factorAdd)) << Where(category, &unit);
        }
    }
}

// Two units without a shift convert in the proportional form, which reads the factor as
// the unit's size in the base; with a shift it is the number of units per base unit. So a
// shifted category may have at most one unshifted unit, and no inverted ones.
TEST(BuiltCatalogue, ShiftedCategoriesHaveAtMostOneUnshiftedUnit)
{
    for (const auto& category : BuiltCatalogue())
    {
        int shifted = 0, unshifted = 0, inverted = 0;
        for (const auto& unit : category.units)
        {
            (unit.scale.factorAdd != 0 ? shifted : unshifted) += 1;
            inverted += unit.scale.isInvertResult ? 1 : 0;
        }
        if (shifted == 0)
            continue;
        EXPECT_LE(unshifted, 1) << Where(category);
        EXPECT_EQ(inverted, 0) << Where(category);
    }
}

// Converting A to C directly must agree with going through any B, for every triple
// (B = C and C = A included), to 1e-12. A wrong factor or invert flag is still consistent
// (the known conversions catch those); this catches unit mixes the formula reads two ways,
// such as two unshifted units among shifted ones, and any loss of precision on the way.
TEST(BuiltCatalogue, ConversionsAgreeThroughEveryIntermediateUnit)
{
    int failures = 0;
    long checked = 0;
    for (const auto& category : BuiltCatalogue())
        for (const double x : {37.5, -1234.5678})
            for (const auto& a : category.units)
                for (const auto& c : category.units)
                {
                    const double direct = ConvertValue(x, a.scale, c.scale);
                    for (const auto& b : category.units)
                    {
                        const double stepped =
                            ConvertValue(ConvertValue(x, a.scale, b.scale), b.scale, c.scale);
                        if (!std::isfinite(direct) || !std::isfinite(stepped) || direct == 0)
                            continue;
                        ++checked;
                        if (!Close(direct, stepped) && ++failures <= 10)
                            ADD_FAILURE() << Where(category) << ": " << x << " " << ToUtf8(a.name)
                                          << " is " << direct << " " << ToUtf8(c.name)
                                          << " but " << stepped << " via " << ToUtf8(b.name);
                    }
                }
    EXPECT_EQ(failures, 0);
    EXPECT_GT(checked, 500L * 500L);
}

// The ECB document of 2026-07-06, in its order: code and units per euro.
struct EcbRate
{
    const char* code;
    double rate;
};
const EcbRate kEcbRates[] = {
    {"USD", 1.1415},   {"JPY", 185.31},  {"CZK", 24.157},   {"DKK", 7.4748},   {"GBP", 0.85538},
    {"HUF", 353.50},   {"PLN", 4.2883},  {"RON", 5.2310},   {"SEK", 11.0150},  {"CHF", 0.9201},
    {"ISK", 144.00},   {"NOK", 11.2340}, {"TRY", 53.4222},  {"AUD", 1.6462},   {"BRL", 5.9130},
    {"CAD", 1.6236},   {"CNY", 7.7573},  {"HKD", 8.9528},   {"IDR", 20565.38}, {"ILS", 3.4414},
    {"INR", 108.9035}, {"KRW", 1747.72}, {"MXN", 19.9586},  {"MYR", 4.6630},   {"NZD", 2.0079},
    {"PHP", 70.227},   {"SGD", 1.4765},  {"THB", 38.040},   {"ZAR", 18.5318}};

TEST(CurrencyCategory, IsFirstAndHoldsTheEuroThenEveryEcbRateInOrder)
{
    const auto& categories = BuiltCatalogue();
    ASSERT_FALSE(categories.empty());
    const auto& currency = categories.front();
    EXPECT_EQ(currency.id, 1);
    EXPECT_EQ(ToUtf8(currency.name), "Currency (2026-07-06)");
    EXPECT_EQ(ToUtf8(currency.note), "last updated 2026-07-06 from the European Central Bank");
    EXPECT_EQ(currency.iconId, 1002);
    ASSERT_EQ(currency.units.size(), 1 + std::size(kEcbRates));

    const auto& euro = currency.units.front();
    EXPECT_EQ(ToUtf8(euro.name), "European Union euro  (EUR)");
    EXPECT_EQ(euro.scale.factorMul, 1.0);
    EXPECT_EQ(currency.sourceUnitId, euro.id);
    for (std::size_t i = 0; i < std::size(kEcbRates); ++i)
    {
        const auto& unit = currency.units[i + 1];
        const std::string name = ToUtf8(unit.name);
        const std::string suffix = std::string("  (") + kEcbRates[i].code + ")";
        EXPECT_TRUE(name.size() > suffix.size() &&
                    name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            << name;
        EXPECT_EQ(unit.scale.factorMul, kEcbRates[i].rate) << name;
    }
    for (const auto& unit : currency.units)
    {
        EXPECT_TRUE(unit.scale.isInvertResult) << ToUtf8(unit.name);
        EXPECT_EQ(unit.scale.factorAdd, 0.0) << ToUtf8(unit.name);
        EXPECT_EQ(ToUtf8(unit.note), "rated 2026-07-06 by the European Central Bank");
        EXPECT_EQ(unit.isShown, unit.id == euro.id || unit.id == currency.units[1].id)
            << ToUtf8(unit.name);
    }
    EXPECT_EQ(currency.currentUnitId, currency.units[1].id);
}

TEST(CurrencyCategory, UsesTheCurrencyTableNames)
{
    const auto* currency = FindCategory("Currency (2026-07-06)");
    ASSERT_NE(currency, nullptr);
    for (const char* name : {"United States dollar  (USD)", "Japanese yen  (JPY)",
                             "Pound Sterling  (GBP)", "Swiss franc  (CHF)", "Czech koruna  (CZK)",
                             "New Turkish lira  (TRY)", "China yuan renminbi  (CNY)",
                             "Hong Kong dollar  (HKD)", "New Zealand dollar  (NZD)"})
        EXPECT_NE(FindUnit(*currency, name), nullptr) << name;
}
