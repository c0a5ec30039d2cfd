#include "store/DaoDatabase.h"

#include "store/DaoException.h"
#include "store/DaoRecordset.h"
#include "store/NameOrder.h"
#include "store/SqliteCall.h"
#include "store/Utf8.h"

#include <algorithm>
#include <new>

namespace
{
// Only reads: a file that fails here must leave Open with its bytes untouched, so this runs
// before anything (such as switching to WAL) could write to it.
void ValidateCatalogue(sqlite3* db)
{
    Statement tables =
        PrepareStatement(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                             "('Category', 'Units')");
    if (!StepRow(db, tables.get()) || sqlite3_column_int(tables.get(), 0) != 2)
        ThrowSqliteError(nullptr, SQLITE_NOTADB); // an empty file reads as an empty database

    // The check is of the file's structure. A row that breaks a CHECK (a name longer than
    // 255 characters written by some other program) is data the lists show as it is, not a
    // reason to refuse the whole catalogue; the program's own writes still obey the CHECKs.
    CheckSqlite(db,
                sqlite3_exec(db, "PRAGMA ignore_check_constraints=1", nullptr, nullptr, nullptr));
    std::wstring verdict;
    {
        Statement check = PrepareStatement(db, "PRAGMA quick_check(1)");
        if (!StepRow(db, check.get()))
            ThrowSqliteError(nullptr, SQLITE_CORRUPT);
        verdict = ColumnText(check.get(), 0);
    }
    CheckSqlite(db,
                sqlite3_exec(db, "PRAGMA ignore_check_constraints=0", nullptr, nullptr, nullptr));
    if (verdict != L"ok")
        throw CDaoException(SQLITE_CORRUPT, verdict);
}
} // namespace

CDaoDatabase::~CDaoDatabase()
{
    Close();
}

void CDaoDatabase::Open(const std::wstring& path)
{
    Close();
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(ToUtf8(path).c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    Connection db(raw);
    if (rc != SQLITE_OK)
        ThrowSqliteError(db.get(), rc);
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), 2000); // another instance may be writing right now
    UseLinguisticNameOrder(db.get());

    try
    {
        ValidateCatalogue(db.get());
    }
    catch (const std::bad_alloc&)
    {
        // SQLite (3.40) gives SQLITE_NOMEM for some damaged records, such as one whose size
        // wraps its count of overflow pages to zero. Reading a schema of two tables needs no
        // memory worth the name, so this is damage and is reported as such.
        throw CDaoException(SQLITE_CORRUPT, FromUtf8(sqlite3_errstr(SQLITE_CORRUPT)));
    }
    // SQLite quietly falls back to read-only access; the program writes on every keypress,
    // so say so now rather than on the first edit.
    if (sqlite3_db_readonly(db.get(), "main") != 0)
        ThrowSqliteError(nullptr, SQLITE_READONLY);

    Statement wal = PrepareStatement(db.get(), "PRAGMA journal_mode=WAL");
    StepToDone(db.get(), wal.get());
    wal.reset();
    CheckSqlite(db.get(),
                sqlite3_exec(db.get(), "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr));
    sqlite3_update_hook(db.get(), &CDaoDatabase::OnRowChange, this);
    m_db = db.release();
}

void CDaoDatabase::OnRowChange(void* self, int operation, const char*, const char*, long long)
{
    if (operation == SQLITE_DELETE)
        ++static_cast<CDaoDatabase*>(self)->m_localDeletions;
}

CDaoDatabase::DeletionStamp CDaoDatabase::CurrentDeletionStamp() const
{
    if (m_db == nullptr)
        return DeletionStamp{m_localDeletions, -1};
    Statement version = PrepareStatement(m_db, "PRAGMA data_version");
    const std::int64_t dataVersion =
        StepRow(m_db, version.get()) ? sqlite3_column_int64(version.get(), 0) : -1;
    return DeletionStamp{m_localDeletions, dataVersion};
}

void CDaoDatabase::Close()
{
    // Closing a set detaches it, so work on a copy of the list.
    std::vector<CDaoRecordset*> open = m_recordsets;
    for (CDaoRecordset* recordset : open)
        recordset->Close();
    m_recordsets.clear();
    if (m_db != nullptr)
    {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void CDaoDatabase::Execute(const std::wstring& sql)
{
    if (m_db == nullptr)
        ThrowSqliteError(nullptr, SQLITE_MISUSE);
    char* message = nullptr;
    // Raw SQL may delete rows in ways the update hook does not see (a whole table at once).
    ++m_localDeletions;
    int rc = sqlite3_exec(m_db, ToUtf8(sql).c_str(), nullptr, nullptr, &message);
    if (rc == SQLITE_OK)
        return;
    std::wstring description = FromUtf8(message != nullptr ? message : sqlite3_errstr(rc));
    sqlite3_free(message);
    if ((rc & 0xFF) == SQLITE_NOMEM)
        throw std::bad_alloc();
    throw CDaoException(sqlite3_extended_errcode(m_db), description);
}

void CDaoDatabase::BeginTrans()
{
    if (m_db == nullptr)
        ThrowSqliteError(nullptr, SQLITE_MISUSE);
    // IMMEDIATE takes the write lock now, under the busy timeout, rather than failing half
    // way when a read turns into the first write. Not through Execute: beginning and
    // committing delete nothing, and the record sets need not look for gone rows after.
    CheckSqlite(m_db, sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
}

void CDaoDatabase::CommitTrans()
{
    if (m_db == nullptr)
        ThrowSqliteError(nullptr, SQLITE_MISUSE);
    CheckSqlite(m_db, sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr));
}

void CDaoDatabase::Rollback() noexcept
{
    if (!InTransaction())
        return;
    // Rows added in the transaction vanish: to the record sets that is a deletion.
    ++m_localDeletions;
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool CDaoDatabase::InTransaction() const
{
    return m_db != nullptr && sqlite3_get_autocommit(m_db) == 0;
}

void CDaoDatabase::CompactDatabase(const std::wstring& source, const std::wstring& destination)
{
    {
        // The first connection replays a log a killed process left behind; closing it as the
        // only connection checkpoints the log into the file and deletes -wal and -shm.
        CDaoDatabase recover;
        recover.Open(source);
    }
    CDaoDatabase db;
    db.Open(source);
    Statement vacuum = PrepareStatement(db.m_db, "VACUUM INTO ?");
    BindText(db.m_db, vacuum.get(), 1, destination);
    StepToDone(db.m_db, vacuum.get());
}

void CDaoDatabase::Attach(CDaoRecordset* recordset)
{
    if (std::find(m_recordsets.begin(), m_recordsets.end(), recordset) == m_recordsets.end())
        m_recordsets.push_back(recordset);
}

void CDaoDatabase::Detach(CDaoRecordset* recordset)
{
    m_recordsets.erase(std::remove(m_recordsets.begin(), m_recordsets.end(), recordset),
                       m_recordsets.end());
}
