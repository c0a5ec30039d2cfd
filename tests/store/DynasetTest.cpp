#include "StoreTestSupport.h"

#include "store/DaoException.h"
#include "store/Utf8.h"
#include "store/RecordsetCategory.h"
#include "store/RecordsetResult.h"
#include "store/RecordsetUnit.h"

#include <sqlite3.h>

#include <vector>

namespace
{
std::vector<std::wstring> Walk(CRecordsetUnit& units)
{
    std::vector<std::wstring> names;
    for (units.MoveFirst(); !units.IsEOF(); units.MoveNext())
        names.push_back(units.m_UnitName);
    return names;
}

using Names = std::vector<std::wstring>;

class Dynaset : public CatalogueTest
{
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        m_units.Open(); // Foot(2), inch(3), metre(1), Yard(4)
    }

    std::int32_t m_category = 1;
    CRecordsetUnit m_units{&m_db, &m_category};
};

TEST_F(Dynaset, KeysAreFixedAtOpenButValuesAreReadWhenMovedOnto)
{
    CRecordsetUnit other(&m_db, &m_category);
    other.Open();
    ASSERT_TRUE(other.FindUnit(4));
    other.Edit();
    other.m_UnitName = L"Rod"; // would sort before Yard, but the order is already taken
    other.Update();
    m_db.Execute(L"INSERT INTO Units (UnitName, CategoryId) VALUES ('Chain', 1)");

    EXPECT_EQ(Walk(m_units), (Names{L"Foot", L"inch", L"metre", L"Rod"}));
    m_units.Requery();
    EXPECT_EQ(Walk(m_units), (Names{L"Chain", L"Foot", L"inch", L"metre", L"Rod"}));
}

TEST_F(Dynaset, AddedRecordsJoinTheEndWhateverTheFilterAndOrder)
{
    m_units.MoveFirst();
    m_units.AddNew();
    m_units.m_UnitName = L"Aardvark"; // sorts first, and belongs to another category
    m_units.m_CategoryId = 2;
    m_units.Update();
    // Update returns to the record that was current.
    EXPECT_EQ(m_units.m_UnitName, L"Foot");

    m_units.MoveLast();
    EXPECT_EQ(m_units.m_UnitName, L"Aardvark");
    EXPECT_EQ(m_units.m_UnitId, Int("SELECT max(UnitId) FROM Units"));
    EXPECT_EQ(m_units.GetRecordCount(), 5);
    EXPECT_EQ(m_units.GetAbsolutePosition(), 4);

    m_units.Requery();
    EXPECT_EQ(Walk(m_units), (Names{L"Foot", L"inch", L"metre", L"Yard"}));
}

TEST_F(Dynaset, DeletedRecordsAreSkippedByEveryMove)
{
    ASSERT_TRUE(m_units.FindUnit(3)); // inch
    m_units.Delete();
    EXPECT_EQ(Int("SELECT count(*) FROM Units WHERE UnitId = 3"), 0);
    // On no record until the next move.
    EXPECT_EQ(m_units.GetAbsolutePosition(), -1);
    EXPECT_THROW(m_units.GetBookmark(), CDaoException);
    EXPECT_THROW(m_units.Edit(), CDaoException);
    EXPECT_THROW(m_units.Delete(), CDaoException);
    EXPECT_FALSE(m_units.IsEOF());
    m_units.MoveNext();
    EXPECT_EQ(m_units.m_UnitName, L"metre");
    m_units.MovePrev();
    EXPECT_EQ(m_units.m_UnitName, L"Foot");

    // Deleted through another set: skipped here too, and no longer counted.
    CRecordsetUnit other(&m_db, &m_category);
    other.Open();
    ASSERT_TRUE(other.FindUnit(1)); // metre
    other.Delete();
    EXPECT_EQ(Walk(m_units), (Names{L"Foot", L"Yard"}));
    m_units.MoveLast();
    m_units.MovePrev();
    EXPECT_EQ(m_units.m_UnitName, L"Foot");
    EXPECT_EQ(m_units.GetRecordCount(), 2);
    EXPECT_EQ(other.GetRecordCount(), 2);
    ASSERT_TRUE(other.FindUnit(4));
    EXPECT_EQ(other.GetAbsolutePosition(), 1);
}

TEST_F(Dynaset, RecordsEditedOutOfTheFilterStayUntilRequery)
{
    CRecordsetResult shown(&m_db, &m_category);
    shown.Open();
    ASSERT_TRUE(shown.FindUnit(3)); // inch
    shown.Edit();
    shown.m_IsSelected = false;
    shown.Update();
    EXPECT_EQ(Walk(shown), (Names{L"inch", L"metre"}));
    shown.Requery();
    EXPECT_EQ(Walk(shown), (Names{L"metre"}));
}

TEST_F(Dynaset, PositionsAndBookmarks)
{
    for (std::int32_t i = 0; i < 4; ++i)
    {
        m_units.SetAbsolutePosition(i);
        EXPECT_EQ(m_units.GetAbsolutePosition(), i);
    }
    m_units.SetAbsolutePosition(2);
    EXPECT_EQ(m_units.m_UnitName, L"metre");
    EXPECT_THROW(m_units.SetAbsolutePosition(4), CDaoException);
    EXPECT_THROW(m_units.SetAbsolutePosition(-1), CDaoException);

    // A bookmark survives an edit that changes the record's place in the order.
    const CDaoRecordset::Bookmark metre = m_units.GetBookmark();
    m_units.Edit();
    m_units.m_UnitName = L"Angstrom";
    m_units.Update();
    m_units.MoveFirst();
    m_units.SetBookmark(metre);
    EXPECT_EQ(m_units.m_UnitId, 1);
    m_units.Requery();
    m_units.SetBookmark(metre);
    EXPECT_EQ(m_units.GetAbsolutePosition(), 0);

    // Moving past either end stays there; the far end is one move away.
    m_units.MoveLast();
    m_units.MoveNext();
    m_units.MoveNext();
    EXPECT_TRUE(m_units.IsEOF());
    EXPECT_FALSE(m_units.IsBOF());
    EXPECT_EQ(m_units.GetAbsolutePosition(), -1);
    m_units.MovePrev();
    EXPECT_EQ(m_units.m_UnitName, L"Yard");
    m_units.MoveFirst();
    m_units.MovePrev();
    EXPECT_TRUE(m_units.IsBOF());
    m_units.MoveNext();
    EXPECT_EQ(m_units.m_UnitName, L"Angstrom");
}

TEST_F(Dynaset, EmptySetIsBothBofAndEofAndTakesNewRecords)
{
    m_category = 3;
    m_units.Requery();
    EXPECT_TRUE(m_units.IsBOF());
    EXPECT_TRUE(m_units.IsEOF());
    EXPECT_EQ(m_units.GetRecordCount(), 0);
    m_units.MoveNext();
    m_units.MovePrev();
    m_units.MoveLast();
    EXPECT_TRUE(m_units.IsEOF());

    m_units.AddNew();
    m_units.m_UnitName = L"gram";
    m_units.m_CategoryId = 3;
    m_units.Update();
    EXPECT_GT(m_units.GetRecordCount(), 0);
    m_units.MoveFirst();
    EXPECT_EQ(m_units.m_UnitName, L"gram");
}

TEST_F(Dynaset, EditStartsFromTheStoredRecordAndWritesOnlyWhatChanged)
{
    CRecordsetUnit other(&m_db, &m_category);
    other.Open();
    ASSERT_TRUE(other.FindUnit(2));
    ASSERT_TRUE(m_units.FindUnit(2));

    m_units.m_UnitName = L"typed before Edit"; // Edit starts over from the stored record
    m_units.Edit();
    EXPECT_EQ(m_units.m_UnitName, L"Foot");

    // Another set changes the note while this edit is open; writing the name keeps it.
    other.Edit();
    other.m_Note = L"other";
    other.Update();
    m_units.m_UnitName = L"foot";
    m_units.Update();
    EXPECT_EQ(Text("SELECT UnitName || '/' || Note FROM Units WHERE UnitId = 2"), "foot/other");

    // An Edit left unchanged writes nothing: the other set's later change survives it.
    m_units.Edit();
    other.Edit();
    other.m_Note = L"again";
    other.Update();
    m_units.Update();
    EXPECT_EQ(Text("SELECT Note FROM Units WHERE UnitId = 2"), "again");
}

TEST_F(Dynaset, APendingEditIsDroppedByMovesRequeriesClosesAndNewEdits)
{
    auto expectDropped = [&](auto&& drop)
    {
        ASSERT_TRUE(m_units.FindUnit(2));
        m_units.Edit();
        m_units.m_UnitName = L"never written";
        drop();
        EXPECT_THROW(m_units.Update(), CDaoException);
        EXPECT_EQ(Text("SELECT UnitName FROM Units WHERE UnitId = 2"), "Foot");
    };
    expectDropped([&] { m_units.MoveNext(); });
    expectDropped([&] { m_units.MoveFirst(); });
    expectDropped([&] { m_units.Requery(); });
    expectDropped([&] { m_units.CancelUpdate(); });
    expectDropped(
        [&]
        {
            m_units.Close();
            m_units.Open();
        });

    // A new Edit starts over; a new AddNew forgets the edit and adds only itself.
    ASSERT_TRUE(m_units.FindUnit(2));
    m_units.Edit();
    m_units.m_UnitName = L"never written";
    m_units.Edit();
    EXPECT_EQ(m_units.m_UnitName, L"Foot");
    m_units.m_Note = L"second edit";
    m_units.AddNew();
    m_units.m_UnitName = L"added";
    m_units.m_CategoryId = 1;
    m_units.Update();
    EXPECT_EQ(Text("SELECT UnitName || Note FROM Units WHERE UnitId = 2"), "Foot");
    EXPECT_EQ(Int("SELECT count(*) FROM Units WHERE UnitName = 'added'"), 1);
    // Update restored the record that was current, with its stored values.
    EXPECT_EQ(m_units.m_UnitName, L"Foot");

    // A cancelled AddNew is not written by a later Update either.
    m_units.AddNew();
    m_units.m_UnitName = L"cancelled";
    m_units.CancelUpdate();
    EXPECT_THROW(m_units.Update(), CDaoException);
    EXPECT_EQ(Int("SELECT count(*) FROM Units WHERE UnitName = 'cancelled'"), 0);
}

TEST_F(Dynaset, EachUpdateIsCommittedAtOnce)
{
    ASSERT_TRUE(m_units.FindUnit(1));
    m_units.Edit();
    m_units.m_UserValue = 42.0;
    m_units.Update();

    // Seen by a separate connection, as another instance of the program would.
    CDaoDatabase elsewhere;
    elsewhere.Open(m_path);
    EXPECT_EQ(QueryInt(elsewhere.Handle(), "SELECT UserValue FROM Units WHERE UnitId = 1"), 42);
    EXPECT_EQ(sqlite3_get_autocommit(m_db.Handle()), 1);
}

// A transaction's writes reach other connections only at its commit; one left without a
// commit takes all of them back, and the sets no longer count a row added in it. A nested
// one leaves the decision to the outer.
TEST_F(Dynaset, ATransactionLeftWithoutCommitTakesEveryWriteBack)
{
    CDaoDatabase elsewhere;
    elsewhere.Open(m_path);
    const char kValue[] = "SELECT UserValue FROM Units WHERE UnitId = 1";
    {
        CDaoTransaction outer(m_db);
        ASSERT_TRUE(m_units.FindUnit(1));
        m_units.Edit();
        m_units.m_UserValue = 42.0;
        m_units.Update();
        {
            CDaoTransaction inner(m_db);
            m_units.AddNew();
            m_units.m_UnitName = L"Chain";
            m_units.m_CategoryId = 1;
            m_units.Update();
            inner.CommitTrans();
        }
        EXPECT_EQ(m_units.GetRecordCount(), 5);
        EXPECT_EQ(QueryInt(elsewhere.Handle(), kValue), 0);
    }
    EXPECT_EQ(m_units.GetRecordCount(), 4);
    ASSERT_TRUE(m_units.FindUnit(1));
    EXPECT_EQ(m_units.m_UserValue, 0.0);

    CDaoTransaction kept(m_db);
    m_units.Edit();
    m_units.m_UserValue = 7.0;
    m_units.Update();
    kept.CommitTrans();
    EXPECT_EQ(QueryInt(elsewhere.Handle(), kValue), 7);
    EXPECT_EQ(sqlite3_get_autocommit(m_db.Handle()), 1);
}

TEST_F(Dynaset, MisuseAndRejectedQueriesThrow)
{
    CRecordsetUnit closed(&m_db, &m_category);
    EXPECT_FALSE(closed.IsOpen());
    EXPECT_THROW(closed.MoveFirst(), CDaoException);
    EXPECT_THROW(closed.AddNew(), CDaoException);
    EXPECT_EQ(closed.GetRecordCount(), 0);

    CDaoDatabase notOpen;
    CRecordsetUnit orphan(&notOpen, &m_category);
    EXPECT_THROW(orphan.Open(), CDaoException);
    EXPECT_FALSE(orphan.IsOpen());

    // A query the engine rejects leaves an empty set that works again after a good one.
    CRecordsetCategory categories(&m_db);
    categories.Open();
    categories.m_strSort = L"NoSuchColumn";
    EXPECT_THROW(categories.Requery(), CDaoException);
    EXPECT_TRUE(categories.IsEOF() && categories.IsBOF());
    EXPECT_EQ(categories.GetRecordCount(), 0);
    categories.m_strSort = L"CategoryName";
    categories.Requery();
    EXPECT_EQ(categories.m_CategoryName, L"area");
}
} // namespace

TEST_F(Dynaset, CountAndPositionNoticeDeletionsMadeAnywhere)
{
    EXPECT_EQ(m_units.GetRecordCount(), 4);
    ASSERT_TRUE(m_units.FindUnit(4)); // Yard, last
    EXPECT_EQ(m_units.GetAbsolutePosition(), 3);

    // Straight SQL on the same connection, never walked over by the set.
    sqlite3_exec(m_db.Handle(), "DELETE FROM Units WHERE UnitId = 2", nullptr, nullptr, nullptr);
    EXPECT_EQ(m_units.GetRecordCount(), 3);
    EXPECT_EQ(m_units.GetAbsolutePosition(), 2);

    m_db.Execute(L"DELETE FROM Units WHERE UnitId = 3");
    EXPECT_EQ(m_units.GetRecordCount(), 2);

    // Another connection, as another instance of the program would.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(ToUtf8(m_path).c_str(), &other), SQLITE_OK);
    sqlite3_exec(other, "DELETE FROM Units WHERE UnitId = 1", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(m_units.GetRecordCount(), 1);
    EXPECT_EQ(m_units.GetAbsolutePosition(), 0);
    m_units.SetAbsolutePosition(0);
    EXPECT_EQ(m_units.m_UnitName, L"Yard");
}
