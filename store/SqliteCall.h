#pragma once

// Internal helpers of the store: turning SQLite results into exceptions and owning
// connections and prepared statements. Not part of the interface the program codes against.

#include <sqlite3.h>

#include <memory>
#include <string>

// Throws std::bad_alloc for SQLITE_NOMEM, otherwise CDaoException with the connection's
// message (or SQLite's generic text for the code when there is no connection).
[[noreturn]] void ThrowSqliteError(sqlite3* db, int rc);

// Throws unless rc is SQLITE_OK.
inline void CheckSqlite(sqlite3* db, int rc)
{
    if (rc != SQLITE_OK)
        ThrowSqliteError(db, rc);
}

struct ConnectionCloser
{
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

struct StatementDeleter
{
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Statement PrepareStatement(sqlite3* db, const std::string& sql);

// Steps a statement that returns no row it cares about; throws on error.
void StepToDone(sqlite3* db, sqlite3_stmt* stmt);

// Steps once: true with a row, false when done; throws on error.
bool StepRow(sqlite3* db, sqlite3_stmt* stmt);

void BindText(sqlite3* db, sqlite3_stmt* stmt, int index, const std::wstring& text);
std::wstring ColumnText(sqlite3_stmt* stmt, int column);
