// Any bytes as the catalogue beside the program, taken through what the program does with
// it: the recovery of a copy left by a compaction, opening, the three record sets, walking
// them, choosing a category and typing a value, and the compaction on closing. Only the
// store's own exceptions may come out, and a file the store refuses stays as it was.
#include "tests/Checks.h"
#include "tests/store/StoreTestSupport.h"

#include "store/DaoDatabase.h"
#include "store/DaoException.h"
#include "store/DatabaseFile.h"
#include "store/FileSystem.h"
#include "store/RecordsetCategory.h"
#include "store/RecordsetResult.h"
#include "store/RecordsetUnit.h"
#include "store/Utf8.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
// Walks the set from first to last as the lists are filled; positions, count and bookmarks
// must agree with the walk. Returns the bookmarks in walk order.
std::vector<CDaoRecordset::Bookmark> Walk(CDaoRecordset& set)
{
    std::vector<CDaoRecordset::Bookmark> keys;
    for (set.MoveFirst(); !set.IsEOF(); set.MoveNext())
    {
        Require(!set.IsBOF());
        Require(set.GetAbsolutePosition() == static_cast<std::int32_t>(keys.size()));
        keys.push_back(set.GetBookmark());
    }
    Require(set.GetRecordCount() == static_cast<std::int32_t>(keys.size()));
    Require(set.GetAbsolutePosition() == -1);
    if (!keys.empty())
    {
        // Back to a row the way the lists do it: by position, and by bookmark.
        const std::int32_t last = static_cast<std::int32_t>(keys.size()) - 1;
        set.SetAbsolutePosition(last);
        Require(set.GetBookmark() == keys.back() && set.GetAbsolutePosition() == last);
        set.SetBookmark(keys.front());
        Require(set.GetBookmark() == keys.front());
        set.MoveLast();
        Require(set.GetBookmark() == keys.back());
    }
    else
    {
        Require(set.IsBOF());
    }
    return keys;
}

// From the record sets the start opens to a value typed into the first unit of each of the
// first few categories.
void UseCatalogue(CDaoDatabase& db)
{
    std::int32_t categoryId = 0;
    CRecordsetCategory categories(&db);
    categories.Open();
    categories.CanUpdate();
    CRecordsetUnit units(&db, &categoryId);
    units.Open();
    CRecordsetResult results(&db, &categoryId);
    results.Open();

    // The first selected category in table order, as the start shows it.
    std::int32_t expectedId = 2;
    std::int32_t expectedRow = 2;
    const std::vector<CDaoRecordset::Bookmark> keys = Walk(categories);
    for (categories.MoveFirst(); !categories.IsEOF(); categories.MoveNext())
    {
        if (categories.m_IsSelected)
        {
            expectedId = categories.m_CategoryId;
            expectedRow = categories.GetAbsolutePosition();
            break;
        }
    }
    std::int32_t selectedId = 0;
    std::int32_t selectedRow = 0;
    categories.FindSelected(selectedId, selectedRow);
    Require(selectedId == expectedId && selectedRow == expectedRow);

    // A few categories chosen in turn: only the first few rows a user would click.
    for (std::size_t row = 0; row < keys.size() && row < 4; ++row)
    {
        categories.SetAbsolutePosition(static_cast<std::int32_t>(row));
        try
        {
            categories.MarkSelected();
        }
        catch (const CDaoException&)
        {
            // A refused write is reported to the user; the lists are filled all the same.
        }
        categoryId = categories.m_CategoryId;
        units.Requery();
        const std::vector<CDaoRecordset::Bookmark> unitKeys = Walk(units);
        results.Requery();
        Walk(results);
        if (unitKeys.empty())
            continue;
        units.FindUnit(categories.m_SourceUnitId);
        units.MoveFirst();
        try
        {
            units.Edit();
            units.m_UserValue = 2.5;
            units.Update();
        }
        catch (const CDaoException&)
        {
            // Reported; the stored value stays.
        }
        Require(units.GetRecordCount() <= static_cast<std::int32_t>(unitKeys.size()));
    }
}

// Both tables, asked of the open connection directly rather than through the store.
bool HasCatalogueTables(CDaoDatabase& db)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.Handle(),
                           "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                           "name IN ('Category', 'Units')",
                           -1, &stmt, nullptr) != SQLITE_OK)
        return false;
    const bool both = sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int(stmt, 0) == 2;
    sqlite3_finalize(stmt);
    return both;
}

void RemoveAll(const std::wstring& dir)
{
    Require(FileSystem::RemoveTree(dir));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring dir = FileSystem::CreateTempDirectory();
    Require(!dir.empty());
    const std::wstring base = dir + FileSystem::PathSeparator() + L"Kalvo";
    const std::wstring dat = base + L".dat";

    // First as the copy an interrupted compaction left: restored only when it is sound.
    WriteBytes(dat + L".tmp", bytes);
    std::wstring path = ChooseDatabasePath(base);
    const bool restored = FileSystem::Exists(dat);
    if (restored)
    {
        Require(path == dat && !FileSystem::Exists(dat + L".tmp"));
        Require(ReadBytes(dat) == bytes);
    }
    else
    {
        Require(path == base + L".mdb" && ReadBytes(dat + L".tmp") == bytes);
        Require(FileSystem::Remove(dat + L".tmp"));
        WriteBytes(dat, bytes);
        path = ChooseDatabasePath(base);
        Require(path == dat);
    }

    bool opened = false;
    {
        CDaoDatabase db;
        try
        {
            db.Open(path);
            opened = true;
        }
        catch (const CDaoException& e)
        {
            // A copy that passed the full integrity check can only be one SQLite will not
            // write (a newer file format, say).
            Require(!restored || (e.m_nErrorCode & 0xFF) == SQLITE_READONLY);
            Require(!db.IsOpen());
        }
        if (opened)
        {
            Require(HasCatalogueTables(db));
            try
            {
                UseCatalogue(db);
            }
            catch (const CDaoException&)
            {
                // Reported, and the program goes on without the lists.
            }
        }
        else
        {
            Require(ReadBytes(path) == bytes);
        }
    }

    // Closing compacts the file: a failure leaves it as it was, a success leaves a catalogue
    // that opens again.
    const std::string before = ReadBytes(path);
    if (CompactDatabaseFile(path))
    {
        Require(opened);
        Require(!FileSystem::Exists(path + L".tmp"));
        CDaoDatabase again;
        again.Open(path);
    }
    else
    {
        Require(ReadBytes(path) == before && !FileSystem::Exists(path + L".tmp"));
    }
    RemoveAll(dir);
    return 0;
}
