// The currency update and its rebuild on a real catalogue file, without a window. Category 1
// of the sample catalogue stands in for the currency category.
#include "rates/CurrencyRebuild.h"
#include "rates/CurrencyUpdate.h"

#include "tests/rates/ScriptedUpdateSite.h"
#include "tests/store/StoreTestSupport.h"
#include "tools/catalogue/CatalogueWriter.h"

#include "store/Catalogue.h"
#include "store/Utf8.h"

#include <gtest/gtest.h>

#include <map>

namespace
{
RatesScan Scan(const std::string& document) { return ScanRatesDocument(MakeWorkingText(document)); }

const std::string kYenOnly = "<gesmes:Envelope>\n<Cube time='2005-12-06'>\n"
                             "<Cube currency='JPY' rate='142.38'/>\n</Cube>\n";

class CurrencyRebuildTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CreateSampleCatalogue(m_path);
        ASSERT_TRUE(m_catalogue.Open(m_path));
        ShowCategory(0);
    }
    CurrencyUpdateResult Update(ScriptedSite& site)
    {
        return UpdateCurrencyCategory(m_catalogue, site);
    }
    // Chooses the category at a row of the category set, as a click on its row does.
    void ShowCategory(int nRow)
    {
        m_catalogue.Categories().SetAbsolutePosition(nRow);
        m_catalogue.SelectCategory();
        m_catalogue.Units().Requery();
    }
    std::int64_t Int(const std::string& sql) { return QueryInt(m_catalogue.Database().Handle(), sql); }
    std::string Dump() { return DumpCatalogue(m_catalogue.Database().Handle()); }

    TempDir m_dir;
    std::wstring m_path = m_dir.File(L"catalogue.mdb");
    CCatalogue m_catalogue;
};
} // namespace

// Without the dollar the euro becomes the current and the chosen result unit: no id of the
// category may name a unit that is gone.
TEST_F(CurrencyRebuildTest, WithoutTheDollarTheEuroIsSourceCurrentAndTarget)
{
    ASSERT_TRUE(RebuildCurrencyCategory(m_catalogue, Scan(kYenOnly)));
    EXPECT_EQ(Int("SELECT count(*) FROM Units WHERE CategoryId = 1"), 2);
    const std::int64_t euro = Int("SELECT UnitId FROM Units WHERE UnitName LIKE '%(EUR)'");
    EXPECT_EQ(Int("SELECT SourceUnitId FROM Category WHERE CategoryId = 1"), euro);
    EXPECT_EQ(Int("SELECT CurrentUnitId FROM Category WHERE CategoryId = 1"), euro);
    EXPECT_EQ(Int("SELECT TargetUnitId FROM Category WHERE CategoryId = 1"), euro);
    EXPECT_EQ(Int("SELECT CategoryName = 'Currency (2005-12-06)' FROM Category "
                  "WHERE CategoryId = 1"),
              1);
}

TEST_F(CurrencyRebuildTest, OnlyTheCurrencyCategoryIsEverWritten)
{
    // The category set moved on (as a refill walks it); the currency category is renamed,
    // not the one the set stands on.
    m_catalogue.Categories().MoveNext();
    ASSERT_TRUE(RebuildCurrencyCategory(m_catalogue, Scan(kYenOnly)));
    EXPECT_EQ(Int("SELECT count(*) FROM Category WHERE CategoryName = 'area'"), 1);

    // Another category shown, or a document unfit for a rebuild: nothing changes.
    const std::int64_t units = Int("SELECT count(*) FROM Units");
    ShowCategory(1);
    EXPECT_FALSE(RebuildCurrencyCategory(m_catalogue, Scan(kYenOnly)));
    ShowCategory(0);
    EXPECT_FALSE(RebuildCurrencyCategory(m_catalogue, Scan("<Cube currency='JPY' rate='1'/>")));
    EXPECT_EQ(Int("SELECT count(*) FROM Units"), units);
    EXPECT_EQ(Int("SELECT count(*) FROM Units WHERE CategoryId = 2"), 2);
}

TEST_F(CurrencyRebuildTest, EveryWayOutBeforeTheRebuildLeavesTheCatalogueAsItWas)
{
    struct Case
    {
        const char* what;
        std::deque<bool> answers;
        std::optional<std::string> document; // none: the download failed
        bool readable;
        const char* shown;
        int deletions; // of the rates file
    };
    const std::string cube = "<gesmes:Envelope>\n<Cube time='2005-12-06'>\n";
    const Case cases[] = {
        {"first question answered No", {false}, kYenOnly, true, "C", 0},
        {"download failed", {true}, std::nullopt, true, "CF", 0},
        {"file unreadable", {true}, kYenOnly, false, "CEF", 1},
        {"no rates at all", {true}, "<html>maintenance</html>", true, "CF", 0},
        {"rates without a date",
         {true},
         "<Cube>\n<Cube currency='USD' rate='1.1'/>\n",
         true,
         "CF",
         0},
        {"a date element without its end",
         {true},
         "<Cube>\n<Cube currency='USD' rate='1.1'/>\n<Cube time='2005-12-06'\n",
         true,
         "CF",
         0},
        {"no rate that can be read",
         {true},
         cube + "<Cube currency='USD' rate='x'/>\n",
         true,
         "CF",
         0},
        {"a date of 300 digits",
         {true},
         "<Cube time='" + std::string(300, '7') + "'>\n<Cube currency='JPY' rate='142.38'/>\n",
         true,
         "CF",
         0},
        {"only rates of zero, below zero or infinite",
         {true},
         cube + "<Cube currency='USD' rate='0'/>\n<Cube currency='JPY' rate='-142.38'/>\n"
                "<Cube currency='GBP' rate='1e999'/>\n",
         true,
         "CF",
         0},
        {"rates from the first character on",
         {true},
         "<Cube currency='USD' rate='1.1782'/>\n<Cube time='2005-12-06'>\n",
         true,
         "CF",
         0},
        {"second question answered No", {true, false}, kYenOnly, true, "CR", 1},
    };
    const std::string before = Dump();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ScriptedSite site(c.answers, c.document);
        site.readable = c.readable;
        EXPECT_EQ(Update(site), CurrencyUpdateResult::Untouched);
        EXPECT_EQ(site.shown, c.shown);
        EXPECT_EQ(site.deletions, c.deletions);
        EXPECT_EQ(Dump(), before);
    }
    // Outside the currency category nothing is even asked.
    ShowCategory(1);
    ScriptedSite site({true, true}, kYenOnly);
    EXPECT_EQ(Update(site), CurrencyUpdateResult::Untouched);
    EXPECT_EQ(site.shown, "");
}

// The rebuild is one transaction: an engine error on a new unit leaves the old category whole.
TEST_F(CurrencyRebuildTest, AnEngineErrorIsReportedAndKeepsTheOldCategoryWhole)
{
    m_catalogue.Database().Execute(L"CREATE TRIGGER RefuseYen BEFORE INSERT ON Units "
                                   L"WHEN NEW.UnitName LIKE 'Japanese%' "
                                   L"BEGIN SELECT RAISE(ABORT, 'no yen here'); END");
    const std::string before = Dump();
    ScriptedSite refused({true, true}, kYenOnly);
    EXPECT_EQ(Update(refused), CurrencyUpdateResult::Refused);
    EXPECT_EQ(refused.engineError.rfind("no yen here", 0), 0u) << refused.engineError;
    EXPECT_EQ(refused.shown, "CR");
    EXPECT_EQ(refused.deletions, 1);
    EXPECT_EQ(Dump(), before);

    m_catalogue.Database().Execute(L"DROP TRIGGER RefuseYen");
    ShowCategory(0);
    ScriptedSite site({true, true}, kYenOnly);
    EXPECT_EQ(Update(site), CurrencyUpdateResult::Rebuilt);
    EXPECT_EQ(site.deletions, 1);
    EXPECT_EQ(Int("SELECT count(*) FROM Units WHERE UnitName LIKE 'Japanese%'"), 1);
}

// The bank's document of the starter catalogue's day turns an older currency category into
// the starter one, unit for unit.
TEST(CurrencyUpdate, TheStarterDaysRatesGiveTheStarterCurrencyCategory)
{
#ifndef KALVO_ECB_DOCUMENT
    GTEST_SKIP() << "no shared rates document beside the source tree";
#else
    const SourceCategory starter =
        ParseCategorySource(ReadBytes(FromUtf8(KALVO_CURRENCY_SOURCE)), "01-currency.txt");
    SourceCategory older = starter;
    older.name = L"Currency (2026-07-03)";
    older.units.resize(3);
    TempDir dir;
    const std::wstring path = dir.File(L"catalogue.mdb");
    WriteCatalogue(path, {older});
    CCatalogue catalogue;
    ASSERT_TRUE(catalogue.Open(path));
    catalogue.SelectCategory();
    catalogue.Units().Requery();
    ScriptedSite site({true, true}, ReadBytes(FromUtf8(KALVO_ECB_DOCUMENT)));
    ASSERT_EQ(UpdateCurrencyCategory(catalogue, site), CurrencyUpdateResult::Rebuilt);

    std::map<std::wstring, SourceUnit> expected;
    for (const SourceUnit& unit : starter.units)
        expected[unit.name] = unit;
    CRecordsetUnit& units = catalogue.Units();
    const CRecordsetCategory& category = catalogue.Categories();
    std::size_t count = 0;
    for (units.MoveFirst(); !units.IsEOF(); units.MoveNext(), ++count)
    {
        const auto found = expected.find(units.m_UnitName);
        ASSERT_NE(found, expected.end()) << ToUtf8(units.m_UnitName);
        const SourceUnit& unit = found->second;
        EXPECT_EQ(units.m_FactorMul, unit.factor);
        EXPECT_EQ(units.m_FactorAdd, unit.shift);
        EXPECT_EQ(units.m_IsInvertResult, unit.isInvert);
        EXPECT_EQ(units.m_IsSelected, unit.isShown);
        EXPECT_EQ(units.m_Note, unit.note);
        EXPECT_EQ(category.m_SourceUnitId == units.m_UnitId, unit.isSource);
        EXPECT_EQ(category.m_CurrentUnitId == units.m_UnitId, unit.isCurrent);
    }
    EXPECT_EQ(count, starter.units.size());
    EXPECT_EQ(category.m_CategoryName, starter.name);
    EXPECT_EQ(category.m_Note, starter.note);
#endif
}
