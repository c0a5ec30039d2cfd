#include "store/UnitValues.h"

#include "tests/Checks.h"
#include "tests/store/StoreTestSupport.h"

#include "store/RecordsetCategory.h"
#include "store/RecordsetUnit.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <cstring>

class RecalculateTest : public CatalogueTest
{
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        m_db.Execute(L"UPDATE Category SET SourceUnitId = 1 WHERE CategoryId = 1;"
                     L"UPDATE Units SET FactorMul = 1 WHERE UnitId = 1;"
                     L"UPDATE Units SET FactorMul = 0.3048 WHERE UnitId = 2;"
                     L"UPDATE Units SET FactorMul = 0.0254 WHERE UnitId = 3;"
                     L"UPDATE Units SET FactorMul = 0.9144 WHERE UnitId = 4;"
                     L"UPDATE Units SET UserValue = 42;");
        m_categories.Open();
        m_units.Open();
    }

    double StoredValue(int unitId)
    {
        return QueryDouble("SELECT UserValue FROM Units WHERE UnitId = " + std::to_string(unitId));
    }
    double QueryDouble(const std::string& sql)
    {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(m_db.Handle(), sql.c_str(), -1, &statement, nullptr);
        sqlite3_step(statement);
        const double value = sqlite3_column_double(statement, 0);
        sqlite3_finalize(statement);
        return value;
    }

    std::int32_t m_categoryId = 1;
    CRecordsetCategory m_categories{&m_db};
    CRecordsetUnit m_units{&m_db, &m_categoryId};
};

TEST_F(RecalculateTest, WritesEveryUnitOfTheCategoryAndNoOther)
{
    RecalculateUnitValues(3, m_categories, m_units);
    EXPECT_EQ(StoredValue(1), 3);
    EXPECT_EQ(StoredValue(2), (3 / 0.3048) * 1);
    EXPECT_EQ(StoredValue(3), (3 / 0.0254) * 1);
    EXPECT_EQ(StoredValue(4), (3 / 0.9144) * 1);
    EXPECT_EQ(StoredValue(5), 42) << "a unit of another category";
}

TEST_F(RecalculateTest, SourceUnitKeepsTheEnteredValueBitForBit)
{
    // A factor whose round trip would change the value.
    m_db.Execute(L"UPDATE Units SET FactorMul = 0.1, FactorAdd = 0.7 WHERE UnitId = 1;");
    m_units.Requery();
    for (double x : {0.3, -0.0, 1e-300, 123456789.123})
    {
        RecalculateUnitValues(x, m_categories, m_units);
        EXPECT_TRUE(SameBits(StoredValue(1), x)) << x;
    }
}

TEST_F(RecalculateTest, WithoutASourceUnitOfItsOwnNothingIsWritten)
{
    m_db.Execute(L"UPDATE Category SET SourceUnitId = 5 WHERE CategoryId = 1;");
    m_categories.Requery();
    RecalculateUnitValues(3, m_categories, m_units);
    for (int id = 1; id <= 4; ++id)
        EXPECT_EQ(StoredValue(id), 42);

    // The category set on another category whose (damaged) source is one of these units,
    // as at start-up before a category is chosen: the pair does not belong together.
    m_db.Execute(L"UPDATE Category SET SourceUnitId = 1 WHERE CategoryId = 2;");
    m_categories.Requery();
    m_categories.MoveNext();
    ASSERT_EQ(m_categories.m_CategoryId, 2);
    RecalculateUnitValues(3, m_categories, m_units);
    for (int id = 1; id <= 4; ++id)
        EXPECT_EQ(StoredValue(id), 42);
}

TEST_F(RecalculateTest, UnitSetStaysWhereItStood)
{
    m_units.SetAbsolutePosition(2);
    const std::int32_t unitId = m_units.m_UnitId;
    RecalculateUnitValues(3, m_categories, m_units);
    EXPECT_EQ(m_units.GetAbsolutePosition(), 2);
    EXPECT_EQ(m_units.m_UnitId, unitId);
}

TEST_F(RecalculateTest, NonFiniteResultsAreStored)
{
    m_db.Execute(L"UPDATE Units SET FactorMul = 0 WHERE UnitId = 2;");
    m_units.Requery();
    RecalculateUnitValues(3, m_categories, m_units);
    EXPECT_TRUE(std::isinf(StoredValue(2)));
}
