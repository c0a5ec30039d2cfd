#include "rates/RatesDocument.h"

#include "tools/catalogue/CatalogueSource.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{
std::string ReadBytes(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.good()) << path;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A document laid out as the bank lays it out, around the given currency lines.
std::wstring Document(const std::string& cubes, const std::string& time = "'2005-12-06'")
{
    return MakeWorkingText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<gesmes:Envelope>\n"
                           "\t<Cube>\n"
                           "\t\t<Cube time=" + time + ">\n" + cubes +
                           "\t\t</Cube>\n"
                           "\t</Cube>\n"
                           "</gesmes:Envelope>");
}

std::vector<std::wstring> Codes(const RatesScan& scan)
{
    std::vector<std::wstring> codes;
    for (const auto& currency : scan.currencies)
        codes.push_back(currency.code);
    return codes;
}

} // namespace

TEST(WorkingText, EveryLineEndsInOneLineFeed)
{
    EXPECT_EQ(MakeWorkingText(""), L"");
    EXPECT_EQ(MakeWorkingText("a\nb\n"), L"a\nb\n");
    EXPECT_EQ(MakeWorkingText("a\nb"), L"a\nb\n");
    EXPECT_EQ(MakeWorkingText("a\r\n\r\nb\r\n"), L"a\n\nb\n");
    EXPECT_EQ(MakeWorkingText("\n"), L"\n");
}

TEST(WorkingText, OnlyACarriageReturnBeforeALineFeedIsATerminator)
{
    EXPECT_EQ(MakeWorkingText("a\rb\r\n"), L"a\rb\n");
    EXPECT_EQ(MakeWorkingText("a\r"), L"a\r\n");
    EXPECT_EQ(MakeWorkingText("a\r\r\n"), L"a\r\n");
}

TEST(WorkingText, EachByteBecomesTheCharacterOfItsValue)
{
    // Bytes above 0x7F must not turn negative on the way through a signed char.
    EXPECT_EQ(MakeWorkingText("\xE9\xFF\x80"), std::wstring(L"\u00e9\u00ff\u0080\n"));
    EXPECT_EQ(MakeWorkingText(std::string("a\0b", 3)), std::wstring(L"a\0b\n", 4));
}

TEST(EuroInsertion, GoesInFrontOfTheFirstCurrencyElement)
{
    std::wstring text = L"x\n<Cube currency='USD' rate='1.2'/>\n<Cube currency='JPY' rate='2'/>\n";
    InsertEuroRate(text);
    EXPECT_EQ(text, L"x\n\n<Cube currency='EUR' rate='1.0'/>\n<Cube currency='USD' rate='1.2'/>\n"
                    L"<Cube currency='JPY' rate='2'/>\n");

    text = L"<Cube currency='USD' rate='1.2'/>\n<Cube time='2005-12-06'>\n";
    InsertEuroRate(text);
    EXPECT_EQ(text, L"");

    text = L"<Cube time='2005-12-06'>\n";
    InsertEuroRate(text);
    EXPECT_EQ(text, L"");
}

TEST(RatesScan, GivesTheEuroFirstThenTheDocumentsRatesInOrder)
{
    const RatesScan scan = ScanRatesDocument(Document("\t\t\t<Cube currency='USD' rate='1.1856'/>\n"
                                                      "\t\t\t<Cube currency='JPY' rate='142.61'/>\n"));
    EXPECT_TRUE(scan.hasRates);
    ASSERT_TRUE(scan.hasDate);
    EXPECT_EQ(scan.date, L"2005-12-06");
    EXPECT_TRUE(IsUsableForRebuild(scan));
    ASSERT_EQ(Codes(scan), (std::vector<std::wstring>{L"EUR", L"USD", L"JPY"}));

    const auto& euro = scan.currencies[0];
    EXPECT_EQ(euro.rate, 1.0);
    EXPECT_EQ(euro.unitName, L"European Union euro  (EUR)");
    EXPECT_TRUE(euro.isSelected);
    EXPECT_EQ(scan.currencies[1].rate, 1.1856);
    EXPECT_EQ(scan.currencies[1].unitName, L"United States dollar  (USD)");
    EXPECT_TRUE(scan.currencies[1].isSelected);
    EXPECT_EQ(scan.currencies[2].rate, 142.61);
    EXPECT_EQ(scan.currencies[2].unitName, L"Japanese yen  (JPY)");
    EXPECT_FALSE(scan.currencies[2].isSelected);
    for (const auto& currency : scan.currencies)
        EXPECT_EQ(currency.note, L"rated 2005-12-06 by the European Central Bank");

    EXPECT_EQ(CurrencyCategoryName(scan.date), L"Currency (2005-12-06)");
    EXPECT_EQ(CurrencyCategoryNote(scan.date), L"last updated 2005-12-06 from the European Central Bank");
}

TEST(RatesScan, StarterCatalogueNamesItsCurrenciesAsTheUpdateWould)
{
    const SourceCategory currency = ParseCategorySource(ReadBytes(KALVO_CURRENCY_SOURCE), "");
    ASSERT_FALSE(currency.units.empty());
    for (const auto& unit : currency.units)
    {
        const std::size_t open = unit.name.rfind(L"  (");
        ASSERT_NE(open, std::wstring::npos) << unit.name;
        const std::wstring code = unit.name.substr(open + 3, 3);
        EXPECT_EQ(CurrencyUnitName(code), unit.name);
    }
}

TEST(RatesScan, ReadsDoubleQuotesAndABlankBeforeTheEnd)
{
    const RatesScan scan = ScanRatesDocument(Document("<Cube currency=\"USD\" rate=\"1.25\"/>\n"
                                                      "<Cube currency='JPY' rate='140.5' />\n"
                                                      "<Cube currency=\"CHF\" rate=\"1.5\" />\n",
                                                      "\"2005-12-06\""));
    EXPECT_EQ(scan.date, L"2005-12-06");
    ASSERT_EQ(Codes(scan), (std::vector<std::wstring>{L"EUR", L"USD", L"JPY", L"CHF"}));
    EXPECT_EQ(scan.currencies[1].rate, 1.25);
    EXPECT_EQ(scan.currencies[2].rate, 140.5);
    EXPECT_EQ(scan.currencies[3].rate, 1.5);
}

TEST(RatesScan, ReadsARateOnlyUpToWhatIsNotANumber)
{
    const RatesScan scan = ScanRatesDocument(Document("<Cube currency='SEK' rate='1,5'/>\n"
                                                      "<Cube currency='NOK' rate='2e1'/>\n"));
    ASSERT_EQ(Codes(scan), (std::vector<std::wstring>{L"EUR", L"SEK", L"NOK"}));
    EXPECT_EQ(scan.currencies[1].rate, 1.0);
    EXPECT_EQ(scan.currencies[2].rate, 20.0);
}

TEST(RatesScan, SkipsElementsWithoutAUsableRate)
{
    const RatesScan scan = ScanRatesDocument(Document("<Cube currency='AAA' rate='abc'/>\n"
                                                      "<Cube currency='BBB' rate=''/>\n"
                                                      "<Cube currency='CCC'/>\n"
                                                      "<Cube currency='DDD' rate='.'/>\n"
                                                      "<Cube currency='EEE' note='none'/>\n"
                                                      "<Cube currency='FFF' rate='0'/>\n"
                                                      "<Cube currency='GGG' rate='-1.5'/>\n"
                                                      "<Cube currency='HHH' rate='1e999'/>\n"
                                                      "<Cube currency='USD' rate='1.2'/>\n"));
    EXPECT_EQ(Codes(scan), (std::vector<std::wstring>{L"EUR", L"USD"}));
    EXPECT_TRUE(IsUsableForRebuild(scan));
}

TEST(RatesScan, LowerCaseCodeIsNamedButNotSelected)
{
    const RatesScan scan = ScanRatesDocument(Document("<Cube currency='usd' rate='1.2'/>\n"));
    ASSERT_EQ(scan.currencies.size(), 2u);
    EXPECT_EQ(scan.currencies[1].code, L"usd");
    EXPECT_EQ(scan.currencies[1].unitName, L"United States dollar  (usd)");
    EXPECT_FALSE(scan.currencies[1].isSelected);
}

TEST(RatesScan, DuplicateAndUnknownCodesEachGiveAUnit)
{
    const RatesScan scan = ScanRatesDocument(Document("<Cube currency='JPY' rate='140'/>\n"
                                                      "<Cube currency='ABC' rate='3'/>\n"
                                                      "<Cube currency='JPY' rate='141'/>\n"));
    ASSERT_EQ(Codes(scan), (std::vector<std::wstring>{L"EUR", L"JPY", L"ABC", L"JPY"}));
    EXPECT_EQ(scan.currencies[1].rate, 140.0);
    EXPECT_EQ(scan.currencies[2].unitName, L"ABC");
    EXPECT_EQ(scan.currencies[3].rate, 141.0);
    EXPECT_EQ(scan.currencies[3].unitName, scan.currencies[1].unitName);
}

TEST(RatesScan, CutsUnitNamesToFiftyCharacters)
{
    const RatesScan scan = ScanRatesDocument(Document("<Cube currency='CSK' rate='30'/>\n"
                                                      "<Cube currency='ECV' rate='25000'/>\n"));
    ASSERT_EQ(scan.currencies.size(), 3u);
    EXPECT_EQ(scan.currencies[1].unitName, L"Czechoslovak koruna (replaced by CZK and SKK)  (CS");
    EXPECT_EQ(scan.currencies[2].unitName, L"Ecuador Unidad de Valor Constante (Funds code) (di");
}

TEST(RatesScan, NoRatesWithoutElementsAfterTheFirstCharacter)
{
    // The document opens with a currency element: the euro has nowhere to go.
    RatesScan scan = ScanRatesDocument(
        MakeWorkingText("<Cube currency='USD' rate='1.2'/>\n<Cube time='2005-12-06'>\n<Cube currency='JPY' rate='140'/>\n"));
    EXPECT_FALSE(scan.hasRates);
    EXPECT_TRUE(scan.currencies.empty());
    EXPECT_FALSE(IsUsableForRebuild(scan));

    scan = ScanRatesDocument(MakeWorkingText("<Cube time='2005-12-06'>\n<Cube currency='USD' rate='1.2'/>\n"));
    EXPECT_FALSE(scan.hasRates);
    EXPECT_FALSE(IsUsableForRebuild(scan));

    scan = ScanRatesDocument(MakeWorkingText("<x>\n<Cube currency='USD' rate='1.2'/>\n"));
    EXPECT_FALSE(scan.hasRates);
    EXPECT_FALSE(IsUsableForRebuild(scan));

    scan = ScanRatesDocument(MakeWorkingText("<html>Service unavailable</html>\n"));
    EXPECT_FALSE(scan.hasRates);
    EXPECT_FALSE(IsUsableForRebuild(scan));
}

TEST(RatesScan, DateElementWithoutItsEndGivesNoCurrencies)
{
    const RatesScan scan = ScanRatesDocument(MakeWorkingText("<x>\n<Cube currency='USD' rate='1.2'/>\n<Cube time='2005-12-06'"));
    EXPECT_TRUE(scan.hasRates);
    EXPECT_FALSE(scan.hasDate);
    EXPECT_TRUE(scan.currencies.empty());
    EXPECT_FALSE(IsUsableForRebuild(scan));
}

TEST(RatesScan, ADateTooShortForItsQuotesIsEmpty)
{
    for (const char* time : {"''", "'", ""})
    {
        const RatesScan scan = ScanRatesDocument(Document("<Cube currency='USD' rate='1.2'/>\n", time));
        EXPECT_TRUE(scan.hasDate) << time;
        EXPECT_EQ(scan.date, L"") << time;
        ASSERT_EQ(scan.currencies.size(), 2u) << time;
        EXPECT_EQ(scan.currencies[1].note, L"rated  by the European Central Bank");
        // No date to put in the category's name: keep the old category.
        EXPECT_FALSE(IsUsableForRebuild(scan)) << time;
    }
}

TEST(RatesScan, UsableOnlyWithACalendarDateWrittenAsTheBankWritesIt)
{
    const std::string longDate = "'" + std::string(300, '7') + "'";
    for (const std::string& time :
         {longDate, std::string("'2026-7-6'"), std::string("'06.07.2026'"),
          std::string("'2026-13-01'"), std::string("'2026-00-10'"), std::string("'2026-04-31'"),
          std::string("'2026-07-00'"), std::string("'2026-07-06 '"), std::string("'2O26-07-06'")})
    {
        const RatesScan scan = ScanRatesDocument(Document("<Cube currency='USD' rate='1.2'/>\n", time));
        EXPECT_FALSE(IsUsableForRebuild(scan)) << time;
    }
    for (const char* time : {"'2024-02-29'", "'1999-12-31'"})
        EXPECT_TRUE(IsUsableForRebuild(
            ScanRatesDocument(Document("<Cube currency='USD' rate='1.2'/>\n", time))))
            << time;
}

TEST(RatesScan, EmptyElementsAreStepped)
{
    const RatesScan scan = ScanRatesDocument(Document("<Cube currency=/>\n"
                                                      "<Cube currency='USD' rate='1.2'/>\n"
                                                      "<Cube currency=/><Cube currency=/>\n"
                                                      "<Cube currency='JPY' rate='140'/>\n"
                                                      "<Cube currency=/>\n"));
    EXPECT_EQ(Codes(scan), (std::vector<std::wstring>{L"EUR", L"USD", L"JPY"}));
}

TEST(RatesScan, UsableOnlyWithARateOfTheDocumentsOwn)
{
    // Every own element is unusable: only the inserted euro is left.
    RatesScan scan = ScanRatesDocument(Document("<Cube currency='USD' rate='n/a'/>\n"));
    EXPECT_TRUE(scan.hasDate);
    EXPECT_EQ(Codes(scan), (std::vector<std::wstring>{L"EUR"}));
    EXPECT_FALSE(IsUsableForRebuild(scan));

    // The document's own euro line counts like any other.
    scan = ScanRatesDocument(Document("<Cube currency='EUR' rate='1'/>\n"));
    EXPECT_EQ(Codes(scan), (std::vector<std::wstring>{L"EUR", L"EUR"}));
    EXPECT_TRUE(IsUsableForRebuild(scan));
}
