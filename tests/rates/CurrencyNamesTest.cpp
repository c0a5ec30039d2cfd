#include "rates/CurrencyNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <set>
#include <string>

namespace
{
// Rows 1-181 are codes in use, 182-195 the euro's predecessors and the ECU, 196-249
// withdrawn codes.
constexpr std::size_t kInUse = 181;
constexpr std::size_t kEuroGroupEnd = 195;

std::wstring Lookup(const std::wstring& code)
{
    std::wstring name = L"left over";
    const bool found = LookupCurrencyName(code, name);
    EXPECT_EQ(found, !name.empty()) << "result and name disagree for " << code.size() << " chars";
    return name;
}

bool EndsWith(const std::wstring& text, const std::wstring& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsCode(const std::wstring& code)
{
    return code.size() == 3 && std::all_of(code.begin(), code.end(), [](wchar_t c) { return c >= L'A' && c <= L'Z'; });
}
} // namespace

TEST(CurrencyNameLookup, FoldsCaseAndKeysOnTheFirstThreeCharacters)
{
    EXPECT_EQ(Lookup(L"usd"), L"United States dollar");
    EXPECT_EQ(Lookup(L"USDX"), L"United States dollar");
    EXPECT_EQ(Lookup(L"uSd"), L"United States dollar");
    EXPECT_EQ(Lookup(L"Eur"), L"European Union euro");
    EXPECT_EQ(Lookup(L"gbp  (anything)"), L"Pound Sterling");
}

TEST(CurrencyNameLookup, FindsNothingForAShortOrShiftedKey)
{
    std::wstring name = L"left over";
    EXPECT_FALSE(LookupCurrencyName(L"EU", name));
    EXPECT_EQ(name, L"");
    name = L"left over";
    EXPECT_FALSE(LookupCurrencyName(L"", name));
    EXPECT_EQ(name, L"");
    // The whole key must match: a blank in front shifts it off the code.
    EXPECT_EQ(Lookup(L" USD"), L"");
    EXPECT_EQ(Lookup(L"ABC"), L"");
    // Only a to z are folded; other characters stay and miss.
    EXPECT_EQ(Lookup(L"\u00fcsd"), L"");
    EXPECT_EQ(Lookup(std::wstring(L"US\0", 3)), L"");
}

TEST(CurrencyNameLookup, FindsReservedAndOlderCodesLikeAnyOther)
{
    EXPECT_EQ(Lookup(L"XXX"), L"No currency");
    EXPECT_EQ(Lookup(L"XTS"), L"Code reserved for testing purposes");
    EXPECT_EQ(Lookup(L"DEM"), L"Deutsche Mark");
    EXPECT_EQ(Lookup(L"rol"), L"Romanian leu A/05 (replaced by RON)");
    EXPECT_EQ(Lookup(L"XAU"), L"Gold ounce");
    EXPECT_EQ(Lookup(L"CSK"), L"Czechoslovak koruna (replaced by CZK and SKK)");
}

TEST(CurrencyNameLookup, ReturnsTheLongestNamesWhole)
{
    const std::wstring ecv = Lookup(L"ECV");
    EXPECT_EQ(ecv, L"Ecuador Unidad de Valor Constante (Funds code) (discontinued)");
    EXPECT_EQ(ecv.size(), 61u);
    const std::wstring zal = Lookup(L"ZAL");
    EXPECT_EQ(zal, L"South African financial rand (Funds code) (discontinued)");
    EXPECT_EQ(zal.size(), 56u);
}

TEST(CurrencyNameTable, HoldsEachCodeOnceInItsThreeGroups)
{
    ASSERT_EQ(CurrencyNameCount(), 249u);
    const CurrencyName* rows = CurrencyNameTable();
    std::set<std::wstring> codes;
    for (std::size_t i = 0; i < CurrencyNameCount(); ++i)
    {
        EXPECT_TRUE(IsCode(rows[i].code)) << i;
        EXPECT_TRUE(codes.insert(rows[i].code).second) << "twice: row " << i + 1;
        // Every row is reachable: no earlier row shadows it.
        EXPECT_EQ(Lookup(rows[i].code), rows[i].name) << "row " << i + 1;
    }
    auto alphabetical = [&](std::size_t first, std::size_t last) {
        for (std::size_t i = first + 1; i < last; ++i)
            EXPECT_LT(std::wstring(rows[i - 1].code), std::wstring(rows[i].code)) << "row " << i + 1;
    };
    alphabetical(0, kInUse);
    alphabetical(kEuroGroupEnd, CurrencyNameCount());

    EXPECT_EQ(std::wstring(rows[0].code), L"AED");
    EXPECT_EQ(std::wstring(rows[kInUse - 1].code), L"ZWD");
    EXPECT_EQ(std::wstring(rows[kInUse].code), L"ADP");
    EXPECT_EQ(std::wstring(rows[kEuroGroupEnd - 1].code), L"XEU");
    EXPECT_EQ(std::wstring(rows[kEuroGroupEnd].code), L"AFA");
    EXPECT_EQ(std::wstring(rows[CurrencyNameCount() - 1].code), L"ZWC");
}

TEST(CurrencyNameTable, NamesFollowTheirGroupsStyle)
{
    const CurrencyName* rows = CurrencyNameTable();
    for (std::size_t i = 0; i < CurrencyNameCount(); ++i)
    {
        const std::wstring code = rows[i].code;
        const std::wstring name = rows[i].name;
        EXPECT_FALSE(name.empty()) << code;
        // ECV and ZAL are the longest; unit names cut at 50 only when a code is added.
        if (code != L"ECV" && code != L"ZAL")
        {
            EXPECT_LT(name.size(), 56u) << code;
        }
        if (i < kEuroGroupEnd)
        {
            EXPECT_EQ(name.find(L"replaced"), std::wstring::npos) << "only withdrawn codes have successors: " << code;
        }
    }

    // The euro's predecessors are capitalised word by word.
    for (std::size_t i = kInUse; i < kEuroGroupEnd; ++i)
    {
        const std::wstring name = rows[i].name;
        for (std::size_t p = 0; p < name.size(); ++p)
        {
            if (p == 0 || name[p - 1] == L' ')
            {
                EXPECT_TRUE(std::iswupper(static_cast<wint_t>(name[p]))) << rows[i].code;
            }
        }
    }

    // Withdrawn codes name their successor, a different code, except the few that never had one.
    const std::set<std::wstring> noSuccessor = {L"BEC", L"BEL", L"CSJ", L"ESA", L"ESB", L"TPE"};
    for (std::size_t i = kEuroGroupEnd; i < CurrencyNameCount(); ++i)
    {
        const std::wstring code = rows[i].code;
        const std::wstring name = rows[i].name;
        if (code == L"CSK")
            EXPECT_TRUE(EndsWith(name, L"(replaced by CZK and SKK)"));
        else if (code == L"ECV" || code == L"ZAL")
            EXPECT_TRUE(EndsWith(name, L"(Funds code) (discontinued)")) << code;
        else if (noSuccessor.count(code))
            EXPECT_EQ(name.find(L"(replaced by"), std::wstring::npos) << code;
        else
        {
            const std::wstring tail = L" (replaced by ";
            ASSERT_GT(name.size(), tail.size() + 4) << code;
            const std::size_t at = name.size() - tail.size() - 4;
            EXPECT_EQ(name.substr(at, tail.size()), tail) << code;
            const std::wstring successor = name.substr(name.size() - 4, 3);
            EXPECT_TRUE(IsCode(successor)) << code;
            EXPECT_NE(successor, code);
            EXPECT_EQ(name.back(), L')') << code;
        }
    }
}
