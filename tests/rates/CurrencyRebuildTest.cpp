// The currency category rebuilt from a scanned document, on a real catalogue file and
// without a window. Category 1 of the sample catalogue stands in for the currency category.
#include "rates/CurrencyRebuild.h"

#include "tests/store/StoreTestSupport.h"

#include "store/Catalogue.h"

#include <gtest/gtest.h>

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
    // Chooses the category at a row of the category set, as a click on its row does.
    void ShowCategory(int nRow)
    {
        m_catalogue.Categories().SetAbsolutePosition(nRow);
        m_catalogue.SelectCategory();
        m_catalogue.Units().Requery();
    }
    std::int64_t Int(const std::string& sql) { return QueryInt(m_catalogue.Database().Handle(), sql); }

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
