#include "store/TableStatements.h"

#include "store/SqlNames.h"
#include "store/Utf8.h"

namespace
{
const CBoundFields::Mask kAllFields = ~CBoundFields::Mask{0};

// One parameter for each field in the mask.
std::string Placeholders(CBoundFields::Mask mask)
{
    std::string list;
    for (; mask != 0; mask &= mask - 1)
        list += list.empty() ? "?" : ", ?";
    return list;
}
} // namespace

CTableStatements::CTableStatements(sqlite3* db, const std::wstring& query, CBoundFields& fields)
    : m_db(db), m_fields(fields), m_table(ToUtf8(TableOf(query))), m_key(ToUtf8(fields.Column(0)))
{
    const std::string byKey = " FROM " + m_table + " WHERE " + m_key + " = ?";
    m_read = PrepareStatement(m_db, "SELECT " + ColumnList(kAllFields, "") + byKey);
    m_exists = PrepareStatement(m_db, "SELECT 1" + byKey);
    m_delete = PrepareStatement(m_db, "DELETE" + byKey);
}

// Ready to run again, on the record with the key.
sqlite3_stmt* CTableStatements::ForKey(const Statement& statement, std::int64_t key)
{
    sqlite3_stmt* stmt = statement.get();
    sqlite3_reset(stmt);
    CheckSqlite(m_db, sqlite3_bind_int64(stmt, 1, key));
    return stmt;
}

bool CTableStatements::Read(std::int64_t key)
{
    sqlite3_stmt* stmt = ForKey(m_read, key);
    const bool found = StepRow(m_db, stmt);
    if (found)
        m_fields.Read(stmt);
    sqlite3_reset(stmt);
    return found;
}

bool CTableStatements::Exists(std::int64_t key)
{
    sqlite3_stmt* stmt = ForKey(m_exists, key);
    const bool found = StepRow(m_db, stmt);
    sqlite3_reset(stmt);
    return found;
}

void CTableStatements::Delete(std::int64_t key)
{
    sqlite3_stmt* stmt = ForKey(m_delete, key);
    StepToDone(m_db, stmt);
    sqlite3_reset(stmt);
}

bool CTableStatements::Update(std::int64_t key, CBoundFields::Mask mask)
{
    sqlite3_stmt* stmt = UpdateStatement(mask);
    BindMasked(stmt, mask);
    CheckSqlite(m_db, sqlite3_bind_int64(stmt, sqlite3_bind_parameter_count(stmt), key));
    StepToDone(m_db, stmt);
    sqlite3_reset(stmt);
    return sqlite3_changes(m_db) != 0;
}

std::int64_t CTableStatements::Insert(CBoundFields::Mask mask)
{
    sqlite3_stmt* stmt = InsertStatement(mask);
    BindMasked(stmt, mask);
    StepToDone(m_db, stmt);
    sqlite3_reset(stmt);
    return sqlite3_last_insert_rowid(m_db);
}

// The masked fields' columns separated by commas, each followed by suffix.
std::string CTableStatements::ColumnList(CBoundFields::Mask mask, const char* suffix) const
{
    std::string list;
    for (std::size_t i = 0; i < m_fields.Count(); ++i)
        if (mask & CBoundFields::Bit(i))
            list += (list.empty() ? "" : ", ") + ToUtf8(m_fields.Column(i)) + suffix;
    return list;
}

sqlite3_stmt* CTableStatements::UpdateStatement(CBoundFields::Mask mask)
{
    Statement& cached = m_updates[mask];
    if (!cached)
        cached = PrepareStatement(m_db, "UPDATE " + m_table + " SET " + ColumnList(mask, " = ?") +
                                            " WHERE " + m_key + " = ?");
    return cached.get();
}

sqlite3_stmt* CTableStatements::InsertStatement(CBoundFields::Mask mask)
{
    Statement& cached = m_inserts[mask];
    if (!cached)
    {
        std::string sql = "INSERT INTO " + m_table;
        if (mask == 0)
            sql += " DEFAULT VALUES";
        else
            sql += " (" + ColumnList(mask, "") + ") VALUES (" + Placeholders(mask) + ")";
        cached = PrepareStatement(m_db, sql);
    }
    return cached.get();
}

void CTableStatements::BindMasked(sqlite3_stmt* stmt, CBoundFields::Mask mask)
{
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    int parameter = 0;
    for (std::size_t i = 0; i < m_fields.Count(); ++i)
        if (mask & CBoundFields::Bit(i))
            m_fields.Bind(i, m_db, stmt, ++parameter);
}

const std::vector<FieldValue>& CTableStatements::Defaults()
{
    if (!m_haveDefaults)
    {
        const ColumnDefaults columns = ReadColumnDefaults();
        std::vector<FieldValue> defaults;
        for (std::size_t i = 0; i < m_fields.Count(); ++i)
            defaults.push_back(DefaultOf(i, columns));
        m_defaults = std::move(defaults);
        m_haveDefaults = true;
    }
    return m_defaults;
}

// Every column of the table with its default expression, empty for none (ColumnText reads a
// NULL as empty).
CTableStatements::ColumnDefaults CTableStatements::ReadColumnDefaults()
{
    Statement info = PrepareStatement(m_db, "SELECT name, dflt_value FROM pragma_table_info(?)");
    BindText(m_db, info.get(), 1, Unquoted(FromUtf8(m_table)));
    ColumnDefaults columns;
    while (StepRow(m_db, info.get()))
        columns.emplace_back(ColumnText(info.get(), 0), ColumnText(info.get(), 1));
    return columns;
}

// The field's default expression evaluated; what a NULL column reads as where there is none.
FieldValue CTableStatements::DefaultOf(std::size_t index, const ColumnDefaults& columns)
{
    std::wstring expression;
    for (const auto& column : columns)
        if (SameName(column.first, Unquoted(m_fields.Column(index))))
            expression = column.second;
    if (expression.empty())
        return m_fields.ValueOfNull(index);
    Statement eval = PrepareStatement(m_db, "SELECT " + ToUtf8(expression));
    if (!StepRow(m_db, eval.get()))
        return FieldValue();
    return m_fields.ValueOfColumn(index, eval.get(), 0);
}
