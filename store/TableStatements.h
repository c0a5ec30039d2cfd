#pragma once

#include "store/BoundFields.h"
#include "store/SqliteCall.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The statements a record set runs against its table, each on one record by its key (the first
// field). An update or insert writes only the fields of its mask, so one is prepared for each
// mask used and kept for the next write of the same columns.
class CTableStatements
{
public:
    // For the table the query reads from; throws when the query names none or the engine
    // rejects a statement.
    CTableStatements(sqlite3* db, const std::wstring& query, CBoundFields& fields);

    // Reads the record into the members; false when there is none.
    bool Read(std::int64_t key);
    bool Exists(std::int64_t key);
    void Delete(std::int64_t key);
    // Writes the masked members into the record; false when there is none.
    bool Update(std::int64_t key, CBoundFields::Mask mask);
    // Adds a record of the masked members (the table's defaults for the rest); returns its key.
    std::int64_t Insert(CBoundFields::Mask mask);

    // Each field's default from the table definition in the file, read on first use, so that a
    // new record's members start out as the values the engine would give them.
    const std::vector<FieldValue>& Defaults();

private:
    using ColumnDefaults = std::vector<std::pair<std::wstring, std::wstring>>; // name, expression

    sqlite3_stmt* ForKey(const Statement& statement, std::int64_t key);
    std::string ColumnList(CBoundFields::Mask mask, const char* suffix) const;
    sqlite3_stmt* UpdateStatement(CBoundFields::Mask mask);
    sqlite3_stmt* InsertStatement(CBoundFields::Mask mask);
    void BindMasked(sqlite3_stmt* stmt, CBoundFields::Mask mask);
    ColumnDefaults ReadColumnDefaults();
    FieldValue DefaultOf(std::size_t index, const ColumnDefaults& columns);

    sqlite3* m_db;
    CBoundFields& m_fields;
    std::string m_table; // as written after FROM, in UTF-8
    std::string m_key;   // the first field's column, in UTF-8
    Statement m_read;
    Statement m_exists;
    Statement m_delete;
    std::map<CBoundFields::Mask, Statement> m_updates;
    std::map<CBoundFields::Mask, Statement> m_inserts;
    std::vector<FieldValue> m_defaults;
    bool m_haveDefaults = false;
};
