#include "store/CatalogueSchema.h"

#include "store/DaoException.h"
#include "store/FileSystem.h"
#include "store/SqliteCall.h"
#include "store/Utf8.h"

#include <new>

namespace
{
// The factors and the user's value carry no declared type: a REAL column would store an
// integral value as an integer and so turn -0.0 into 0. Without affinity a double is kept
// bit for bit (NaN excepted, which SQLite stores as NULL). No index may hold a text column:
// the program sorts NOCASE columns in its own linguistic order (store/NameOrder.h).
const char kSchema[] = R"sql(
BEGIN;
CREATE TABLE Category (
    CategoryId    INTEGER PRIMARY KEY AUTOINCREMENT,
    CategoryName  TEXT COLLATE NOCASE DEFAULT '' CHECK (length(CategoryName) <= 255),
    IconId        INTEGER DEFAULT 1000,
    CurrentUnitId INTEGER DEFAULT 0,
    IsSelected    INTEGER DEFAULT 0 CHECK (IsSelected IN (0, 1)),
    SourceUnitId  INTEGER DEFAULT 0,
    TargetUnitId  INTEGER DEFAULT 0,
    Note          TEXT COLLATE NOCASE DEFAULT '' CHECK (length(Note) <= 255)
);
CREATE TABLE Units (
    UnitId         INTEGER PRIMARY KEY AUTOINCREMENT,
    UnitName       TEXT COLLATE NOCASE DEFAULT '' CHECK (length(UnitName) <= 255),
    CategoryId     INTEGER DEFAULT 0,
    FactorMul      DEFAULT 1.0,
    FactorAdd      DEFAULT 0.0,
    IsInvertResult INTEGER DEFAULT 0 CHECK (IsInvertResult IN (0, 1)),
    IsSelected     INTEGER DEFAULT 0 CHECK (IsSelected IN (0, 1)),
    Note           TEXT COLLATE NOCASE DEFAULT '' CHECK (length(Note) <= 255),
    UserValue      DEFAULT 0.0
);
CREATE INDEX UnitsByCategory ON Units (CategoryId);
COMMIT;
)sql";
} // namespace

void CreateCatalogue(const std::wstring& path)
{
    if (FileSystem::Exists(path))
        throw CDaoException(SQLITE_CANTOPEN, L"The file already exists: " + path);
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(ToUtf8(path).c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    Connection db(raw);
    if (rc != SQLITE_OK)
        ThrowSqliteError(db.get(), rc);
    sqlite3_extended_result_codes(db.get(), 1);
    char* message = nullptr;
    rc = sqlite3_exec(db.get(), kSchema, nullptr, nullptr, &message);
    if (rc != SQLITE_OK)
    {
        std::wstring description = FromUtf8(message != nullptr ? message : sqlite3_errstr(rc));
        sqlite3_free(message);
        db.reset();
        FileSystem::Remove(path); // a half-made catalogue would pass for a real one later
        if ((rc & 0xFF) == SQLITE_NOMEM)
            throw std::bad_alloc();
        throw CDaoException(rc, description);
    }
}
