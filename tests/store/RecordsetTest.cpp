#include "StoreTestSupport.h"

#include "store/DaoException.h"
#include "store/RecordsetCategory.h"
#include "store/RecordsetResult.h"
#include "store/RecordsetUnit.h"

#include <vector>

#ifndef _WIN32
#include <locale.h>
#endif

namespace
{
using Names = std::vector<std::wstring>;

Names UnitNames(CRecordsetUnit& units)
{
    Names names;
    for (units.MoveFirst(); !units.IsEOF(); units.MoveNext())
        names.push_back(units.m_UnitName);
    return names;
}

Names CategoryNames(CRecordsetCategory& categories)
{
    Names names;
    for (categories.MoveFirst(); !categories.IsEOF(); categories.MoveNext())
        names.push_back(categories.m_CategoryName);
    return names;
}

using Recordsets = CatalogueTest;

TEST_F(Recordsets, UnitsOfTheCategorySortedByNameIgnoringCase)
{
    std::int32_t category = 1;
    CRecordsetUnit units(&m_db, &category);
    units.Open();
    EXPECT_EQ(UnitNames(units), (Names{L"Foot", L"inch", L"metre", L"Yard"}));

    // The category is read when the query is built: at Requery, not in between.
    category = 2;
    EXPECT_EQ(UnitNames(units), (Names{L"Foot", L"inch", L"metre", L"Yard"}));
    units.Requery();
    EXPECT_EQ(UnitNames(units), (Names{L"Acre", L"hectare"}));
    units.m_strSort.clear(); // the set puts its own order back at every Requery
    category = 1;
    units.Requery();
    EXPECT_EQ(UnitNames(units).front(), L"Foot");
}

// Plain NOCASE compares code points: "\u00e5ngstr\u00f6m" would follow "Zoll". The host
// build sorts in the environment's locale; its tests run in en_US.UTF-8 (see tools/setup.sh).
TEST_F(Recordsets, NamesSortAsTheUsersLanguageSortsThem)
{
#ifndef _WIN32
    const locale_t english = newlocale(LC_ALL_MASK, "en_US.UTF-8", locale_t{});
    if (english == locale_t{})
        GTEST_SKIP() << "this machine has no en_US.UTF-8 locale to sort by";
    freelocale(english);
#endif
    m_db.Execute(L"INSERT INTO Units (UnitName, CategoryId) VALUES ('Zoll', 3), ('ohm', 3),"
                 L" ('\u00e5ngstr\u00f6m', 3), ('Angstrom', 3), ('apple', 3), ('OHM', 3),"
                 L" ('\u00d6lma\u00df', 3)");
    std::int32_t category = 3;
    CRecordsetUnit units(&m_db, &category);
    units.Open();
    EXPECT_EQ(UnitNames(units), (Names{L"Angstrom", L"\u00e5ngstr\u00f6m", L"apple", L"OHM", L"ohm",
                                       L"\u00d6lma\u00df", L"Zoll"}));
}

TEST_F(Recordsets, ResultSetHoldsOnlyTheSelectedUnitsOfTheCategory)
{
    std::int32_t category = 1;
    CRecordsetResult shown(&m_db, &category);
    shown.Open();
    EXPECT_EQ(UnitNames(shown), (Names{L"inch", L"metre"}));
    category = 2;
    shown.Requery();
    EXPECT_EQ(UnitNames(shown), (Names{L"Acre", L"hectare"}));
    category = 3;
    shown.Requery();
    EXPECT_TRUE(UnitNames(shown).empty());
}

TEST_F(Recordsets, CategoriesInTableOrderOrSortedEitherWay)
{
    CRecordsetCategory categories(&m_db);
    categories.Open();
    EXPECT_EQ(CategoryNames(categories), (Names{L"Length", L"area", L"Mass"}));
    categories.m_strSort = L"CategoryName";
    categories.Requery();
    EXPECT_EQ(CategoryNames(categories), (Names{L"area", L"Length", L"Mass"}));
    categories.m_strSort = L"CategoryName DESC";
    categories.Requery();
    EXPECT_EQ(CategoryNames(categories), (Names{L"Mass", L"Length", L"area"}));
}

TEST_F(Recordsets, MarkSelectedLeavesOnlyTheCurrentCategorySelected)
{
    m_db.Execute(L"UPDATE Category SET IsSelected = 1 WHERE CategoryId IN (1, 3)");
    CRecordsetCategory categories(&m_db);
    categories.m_strSort = L"CategoryName";
    categories.Open();
    categories.SetAbsolutePosition(1); // Length
    categories.MoveNext();             // Mass
    ASSERT_EQ(categories.m_CategoryId, 3);
    categories.MovePrev(); // Length
    categories.MovePrev(); // area
    categories.MarkSelected();
    EXPECT_EQ(Text("SELECT group_concat(CategoryId) FROM Category WHERE IsSelected"), "2");
    EXPECT_EQ(categories.m_CategoryId, 2);
    EXPECT_TRUE(categories.m_IsSelected);
    EXPECT_EQ(categories.GetAbsolutePosition(), 0);

    // The category to mark is gone (deleted elsewhere): the mark stays where it was.
    categories.MoveNext(); // Length
    m_db.Execute(L"DELETE FROM Category WHERE CategoryId = 1");
    EXPECT_THROW(categories.MarkSelected(), CDaoException);
    EXPECT_EQ(Text("SELECT group_concat(CategoryId) FROM Category WHERE IsSelected"), "2");
}

TEST_F(Recordsets, FindSelectedReportsTheFirstSelectedRowAndStaysPut)
{
    CRecordsetCategory categories(&m_db);
    categories.m_strSort = L"CategoryName DESC"; // Mass, Length, area
    categories.Open();
    categories.MoveLast();
    std::int32_t id = -1;
    std::int32_t row = -1;
    categories.FindSelected(id, row);
    EXPECT_EQ(id, 2); // nothing selected
    EXPECT_EQ(row, 2);
    EXPECT_EQ(categories.m_CategoryName, L"area");

    m_db.Execute(L"UPDATE Category SET IsSelected = 1 WHERE CategoryId IN (1, 2)");
    categories.FindSelected(id, row);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(categories.m_CategoryName, L"area");
    EXPECT_EQ(categories.GetAbsolutePosition(), 2);

    // From no record at all it ends on the first.
    categories.MoveNext();
    ASSERT_TRUE(categories.IsEOF());
    categories.FindSelected(id, row);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(categories.GetAbsolutePosition(), 0);
}

TEST_F(Recordsets, FindUnitPositionsOnTheUnitOrPastTheEnd)
{
    std::int32_t category = 1;
    CRecordsetUnit units(&m_db, &category);
    units.Open();
    EXPECT_TRUE(units.FindUnit(1));
    EXPECT_EQ(units.m_UnitName, L"metre");
    EXPECT_EQ(units.GetAbsolutePosition(), 2);
    EXPECT_FALSE(units.FindUnit(5)); // in another category
    EXPECT_TRUE(units.IsEOF());

    // Deleted through another set since the last requery.
    CRecordsetUnit other(&m_db, &category);
    other.Open();
    ASSERT_TRUE(other.FindUnit(1));
    other.Delete();
    EXPECT_FALSE(units.FindUnit(1));
    EXPECT_TRUE(units.IsEOF());
    EXPECT_TRUE(units.FindUnit(2));

    category = 3;
    units.Requery();
    EXPECT_FALSE(units.FindUnit(1));
    EXPECT_TRUE(units.IsEOF());
}

TEST_F(Recordsets, NewRecordsTakeTheTableDefaultsForWhatIsNotAssigned)
{
    std::int32_t category = 2;
    CRecordsetUnit units(&m_db, &category);
    units.Open();
    units.AddNew();
    // The members show the values the new record will get.
    EXPECT_EQ(units.m_FactorMul, 1.0);
    EXPECT_TRUE(units.IsFieldNull(&units.m_FactorMul));
    units.m_UnitName = L"are";
    units.m_CategoryId = 2;
    units.m_IsInvertResult = false; // the default anyway
    EXPECT_FALSE(units.IsFieldNull(&units.m_UnitName));
    units.Update();
    units.MoveLast();
    EXPECT_EQ(units.m_UnitName, L"are");
    EXPECT_EQ(units.m_FactorMul, 1.0);
    EXPECT_EQ(units.m_UserValue, 0.0);
    EXPECT_EQ(Text("SELECT quote(FactorMul) || quote(FactorAdd) || quote(UserValue) || "
                   "IsInvertResult || IsSelected || quote(Note) FROM Units WHERE UnitName = 'are'"),
              "1.00.00.000''");

    CRecordsetCategory categories(&m_db);
    categories.Open();
    categories.AddNew();
    categories.m_CategoryName = L"Time";
    categories.Update();
    categories.AddNew();
    categories.m_CategoryName = L"No icon";
    categories.m_IconId = 0; // differs from the default, so it is written
    categories.Update();
    EXPECT_EQ(Int("SELECT IconId FROM Category WHERE CategoryName = 'Time'"), 1000);
    EXPECT_EQ(Int("SELECT IconId FROM Category WHERE CategoryName = 'No icon'"), 0);
    EXPECT_EQ(Text("SELECT CurrentUnitId || IsSelected || SourceUnitId || TargetUnitId || "
                   "quote(Note) FROM Category WHERE CategoryName = 'Time'"),
              "0000''");
}
} // namespace

TEST_F(Recordsets, SetFieldNullWritesNullTextAndANewValueOverridesIt)
{
    CRecordsetCategory categories(&m_db);
    categories.Open();
    ASSERT_EQ(categories.m_CategoryName, L"Length");
    categories.Edit();
    categories.m_Note = L"kept until the mark";
    categories.SetFieldNull(&categories.m_Note);
    EXPECT_TRUE(categories.m_Note.empty());
    EXPECT_TRUE(categories.IsFieldNull(&categories.m_Note));
    categories.SetFieldNull(&categories.m_CategoryName);
    categories.m_CategoryName = L"Distance"; // a value given after the mark wins
    categories.Update();
    EXPECT_EQ(Text("SELECT quote(Note) || '/' || CategoryName FROM Category WHERE CategoryId = 1"),
              "NULL/Distance");
    EXPECT_TRUE(categories.IsFieldNull(&categories.m_Note));

    // The mark belongs to that one edit: a later edit that sets a note writes it.
    categories.Edit();
    categories.m_Note = L"again";
    categories.Update();
    EXPECT_EQ(Text("SELECT Note FROM Category WHERE CategoryId = 1"), "again");

    // On insert too, in place of the table's default.
    categories.AddNew();
    categories.m_CategoryName = L"Volume";
    categories.SetFieldNull(&categories.m_Note);
    categories.Update();
    EXPECT_EQ(Text("SELECT quote(Note) FROM Category WHERE CategoryName = 'Volume'"), "NULL");

    EXPECT_THROW(categories.SetFieldNull(&categories.m_Note), CDaoException) << "no edit pending";
    categories.Edit();
    EXPECT_THROW(categories.SetFieldNull(&categories.m_IconId), CDaoException);
}
