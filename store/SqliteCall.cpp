#include "store/SqliteCall.h"

#include "store/DaoException.h"
#include "store/Utf8.h"

#include <new>

void ThrowSqliteError(sqlite3* db, int rc)
{
    if ((rc & 0xFF) == SQLITE_NOMEM)
        throw std::bad_alloc();
    // The connection's message only describes this failure when its last code is this one;
    // otherwise (e.g. a check made by the store itself) fall back to the generic text.
    const char* message = (db != nullptr && (sqlite3_errcode(db) & 0xFF) == (rc & 0xFF))
                              ? sqlite3_errmsg(db)
                              : sqlite3_errstr(rc);
    throw CDaoException(rc, FromUtf8(message != nullptr ? message : ""));
}

Statement PrepareStatement(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size() + 1), &raw, nullptr);
    Statement stmt(raw);
    if (rc != SQLITE_OK)
        ThrowSqliteError(db, rc);
    return stmt;
}

void StepToDone(sqlite3* db, sqlite3_stmt* stmt)
{
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
    {
    }
    if (rc != SQLITE_DONE)
    {
        sqlite3_reset(stmt);
        ThrowSqliteError(db, rc);
    }
}

bool StepRow(sqlite3* db, sqlite3_stmt* stmt)
{
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt);
    ThrowSqliteError(db, rc);
}

void BindText(sqlite3* db, sqlite3_stmt* stmt, int index, const std::wstring& text)
{
    std::string utf8 = ToUtf8(text);
    CheckSqlite(db, sqlite3_bind_text(stmt, index, utf8.data(), static_cast<int>(utf8.size()),
                                      SQLITE_TRANSIENT));
}

std::wstring ColumnText(sqlite3_stmt* stmt, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    if (text == nullptr)
        return std::wstring();
    return FromUtf8(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
}
