#include "StoreTestSupport.h"

#include "store/DaoException.h"
#include "store/RecordsetUnit.h"

#include <sqlite3.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace
{
std::uint64_t Bits(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

class DoubleStorage : public CatalogueTest
{
protected:
    // Writes the value into all three double columns of unit 2 through a record set, then
    // reads it back through a second set opened afterwards.
    void StoreInUnitFoot(double value)
    {
        CRecordsetUnit writer(&m_db, &m_category);
        writer.Open();
        ASSERT_TRUE(writer.FindUnit(2));
        writer.Edit();
        writer.m_FactorMul = value;
        writer.m_FactorAdd = value;
        writer.m_UserValue = value;
        writer.Update();
    }
    void ExpectStoredBits(double value)
    {
        CRecordsetUnit reader(&m_db, &m_category);
        reader.Open();
        ASSERT_TRUE(reader.FindUnit(2));
        EXPECT_EQ(Bits(reader.m_FactorMul), Bits(value));
        EXPECT_EQ(Bits(reader.m_FactorAdd), Bits(value));
        EXPECT_EQ(Bits(reader.m_UserValue), Bits(value));
        EXPECT_FALSE(reader.IsFieldNull(&reader.m_FactorMul));
    }

    std::int32_t m_category = 1;
};

TEST_F(DoubleStorage, ValuesComeBackBitForBit)
{
    const double values[] = {-0.0,
                             0.0,
                             1.0,
                             -3.0,
                             0.1,
                             1.0 / 3.0,
                             1e300,
                             -2.5e-310, // subnormal
                             9007199254740993.0,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    for (double value : values)
    {
        SCOPED_TRACE(value);
        StoreInUnitFoot(value);
        ExpectStoredBits(value);
    }
    // The engine holds -0.0 as a real, not as the integer 0.
    StoreInUnitFoot(-0.0);
    EXPECT_EQ(Text("SELECT typeof(FactorMul) FROM Units WHERE UnitId = 2"), "real");
}

TEST_F(DoubleStorage, NegativeZeroCountsAsAChange)
{
    StoreInUnitFoot(0.0);
    CRecordsetUnit units(&m_db, &m_category);
    units.Open();
    ASSERT_TRUE(units.FindUnit(2));
    units.Edit();
    units.m_FactorAdd = -0.0; // == 0.0, but a different value to the user
    units.Update();
    {
        CRecordsetUnit reader(&m_db, &m_category);
        reader.Open();
        ASSERT_TRUE(reader.FindUnit(2));
        EXPECT_EQ(Bits(reader.m_FactorAdd), Bits(-0.0));
    }

    // A new unit given -0.0 keeps it instead of taking the default 0.0.
    units.AddNew();
    units.m_UnitName = L"signed";
    units.m_FactorAdd = -0.0;
    units.Update();
    units.MoveLast();
    EXPECT_EQ(Bits(units.m_FactorAdd), Bits(-0.0));
}

TEST_F(DoubleStorage, NanIsStoredAsNullAndReadBackAsQuietNan)
{
    StoreInUnitFoot(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(Int("SELECT count(*) FROM Units WHERE UnitId = 2 AND FactorMul IS NULL"
                  " AND FactorAdd IS NULL AND UserValue IS NULL"),
              1);

    CRecordsetUnit units(&m_db, &m_category);
    units.Open();
    ASSERT_TRUE(units.FindUnit(2));
    EXPECT_TRUE(std::isnan(units.m_FactorMul));
    EXPECT_TRUE(units.IsFieldNull(&units.m_FactorMul));
    EXPECT_TRUE(units.IsFieldNull(&units.m_UserValue));
    EXPECT_FALSE(units.IsFieldNull(&units.m_UnitName));

    // Writing a number ends the NULL state at once.
    units.Edit();
    units.m_FactorMul = 2.0;
    EXPECT_FALSE(units.IsFieldNull(&units.m_FactorMul));
    units.Update();
    EXPECT_FALSE(units.IsFieldNull(&units.m_FactorMul));
    EXPECT_TRUE(units.IsFieldNull(&units.m_FactorAdd));
}

TEST_F(DoubleStorage, TextsLongerThan255CharactersAreRejected)
{
    CRecordsetUnit units(&m_db, &m_category);
    units.Open();
    ASSERT_TRUE(units.FindUnit(2));

    // The limit counts characters, not UTF-8 bytes.
    const std::wstring longest(255, L'\u00E4');
    units.Edit();
    units.m_Note = longest;
    units.Update();
    EXPECT_EQ(Int("SELECT length(Note) FROM Units WHERE UnitId = 2"), 255);

    units.Edit();
    units.m_Note = longest + L"x";
    units.m_UnitName = L"renamed";
    try
    {
        units.Update();
        FAIL() << "a 256-character note was accepted";
    }
    catch (const CDaoException& e)
    {
        EXPECT_EQ(e.m_nErrorCode & 0xFF, SQLITE_CONSTRAINT);
        EXPECT_NE(e.m_strDescription.find(L"CHECK"), std::wstring::npos);
    }
    // Nothing was written, nothing is pending, and the members show the stored record.
    EXPECT_EQ(Text("SELECT UnitName FROM Units WHERE UnitId = 2"), "Foot");
    EXPECT_EQ(units.m_Note, longest);
    EXPECT_EQ(units.m_UnitName, L"Foot");
    EXPECT_THROW(units.Update(), CDaoException);

    units.AddNew();
    units.m_UnitName = std::wstring(256, L'n');
    EXPECT_THROW(units.Update(), CDaoException);
    EXPECT_EQ(Int("SELECT count(*) FROM Units"), 6);
}
} // namespace
