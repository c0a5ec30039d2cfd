#include "store/DaoRecordset.h"

#include "store/DaoException.h"
#include "store/SqlNames.h"
#include "store/SqliteCall.h"
#include "store/Utf8.h"

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

namespace
{
[[noreturn]] void ThrowNoCurrentRecord()
{
    throw CDaoException(SQLITE_NOTFOUND, L"No current record.");
}
} // namespace

struct CDaoRecordset::Statements
{
    Statement read;   // one record by key
    Statement exists; // whether a key still has a record
    Statement remove;
    std::map<std::uint64_t, Statement> updates; // by the set of columns written
    std::map<std::uint64_t, Statement> inserts;
};

CDaoRecordset::CDaoRecordset(CDaoDatabase* pDatabase) : m_pDatabase(pDatabase) {}

CDaoRecordset::~CDaoRecordset()
{
    Close();
}

std::wstring CDaoRecordset::GetDefaultDBName()
{
    return std::wstring();
}

sqlite3* CDaoRecordset::Db() const
{
    return m_pDatabase->Handle();
}

void CDaoRecordset::RequireOpen() const
{
    if (!m_open)
        throw CDaoException(SQLITE_MISUSE, L"The record set is not open.");
}

void CDaoRecordset::RequireRecord() const
{
    RequireOpen();
    if (!m_cursor.OnRecord())
        ThrowNoCurrentRecord();
}

bool CDaoRecordset::CanUpdate() const
{
    return m_open && sqlite3_db_readonly(Db(), "main") == 0;
}

void CDaoRecordset::Open()
{
    Close();
    if (m_pDatabase == nullptr || !m_pDatabase->IsOpen())
        throw CDaoException(SQLITE_MISUSE, L"The database is not open.");
    if (m_fields.Empty())
    {
        CDaoFieldExchange fx;
        DoFieldExchange(fx);
        if (fx.m_fields.empty() || fx.m_fields.size() > CBoundFields::kMaxCount)
            throw CDaoException(SQLITE_MISUSE, L"A record set binds between 1 and 64 columns.");
        m_fields = CBoundFields(std::move(fx.m_fields));
    }
    std::wstring defaultSql = GetDefaultSQL();
    try
    {
        m_open = true;
        m_pDatabase->Attach(this);
        Prepare(defaultSql);
        CaptureKeys(defaultSql);
    }
    catch (...)
    {
        Close();
        throw;
    }
}

void CDaoRecordset::Requery()
{
    if (!m_open)
    {
        Open();
        return;
    }
    m_mode = Mode::None;
    std::wstring defaultSql = GetDefaultSQL();
    if (defaultSql != m_defaultSql)
    {
        try
        {
            Prepare(defaultSql);
        }
        catch (...)
        {
            Close(); // the statements are gone; an open set without them could not move
            throw;
        }
    }
    CaptureKeys(defaultSql);
}

void CDaoRecordset::Close()
{
    if (!m_open)
        return;
    m_open = false;
    m_mode = Mode::None;
    m_statements.reset();
    m_cursor.Reset({});
    m_defaultSql.clear();
    m_haveDefaults = false;
    m_pDatabase->Detach(this);
}

void CDaoRecordset::Prepare(const std::wstring& defaultSql)
{
    m_statements.reset();
    m_haveDefaults = false;
    m_defaultSql.clear();

    m_table = ToUtf8(TableOf(defaultSql));
    std::string key = ToUtf8(m_fields.Column(0));
    std::string list;
    for (std::size_t i = 0; i < m_fields.Count(); ++i)
        list += (list.empty() ? "" : ", ") + ToUtf8(m_fields.Column(i));
    auto statements = std::make_unique<Statements>();
    statements->read =
        PrepareStatement(Db(), "SELECT " + list + " FROM " + m_table + " WHERE " + key + " = ?");
    statements->exists =
        PrepareStatement(Db(), "SELECT 1 FROM " + m_table + " WHERE " + key + " = ?");
    statements->remove =
        PrepareStatement(Db(), "DELETE FROM " + m_table + " WHERE " + key + " = ?");
    m_statements = std::move(statements);
    m_defaultSql = defaultSql;
}

void CDaoRecordset::CaptureKeys(const std::wstring& defaultSql)
{
    m_sql = defaultSql;
    if (!m_strFilter.empty())
        m_sql += L" WHERE " + m_strFilter;
    if (!m_strSort.empty())
        m_sql += L" ORDER BY " + m_strSort;
    m_cursor.Reset({});
    std::vector<std::int64_t> keys;
    Statement query = PrepareStatement(Db(), ToUtf8(m_sql));
    while (StepRow(Db(), query.get()))
        keys.push_back(sqlite3_column_int64(query.get(), 0));
    m_cursor.Reset(std::move(keys)); // only a complete key set: a failed query leaves none
    m_checkedAt = m_pDatabase->CurrentDeletionStamp();
    m_checked = true;
    m_cursor.First(Reader());
}

// Reads the record with the key into the members; false when it has been deleted since the
// keys were captured.
bool CDaoRecordset::ReadRecord(std::int64_t key)
{
    sqlite3_stmt* stmt = m_statements->read.get();
    sqlite3_reset(stmt);
    CheckSqlite(Db(), sqlite3_bind_int64(stmt, 1, key));
    if (!StepRow(Db(), stmt))
    {
        sqlite3_reset(stmt);
        return false;
    }
    m_fields.Read(stmt);
    sqlite3_reset(stmt);
    return true;
}

bool CDaoRecordset::RecordExists(std::int64_t key) const
{
    sqlite3_stmt* stmt = m_statements->exists.get();
    sqlite3_reset(stmt);
    CheckSqlite(Db(), sqlite3_bind_int64(stmt, 1, key));
    bool found = StepRow(Db(), stmt);
    sqlite3_reset(stmt);
    return found;
}

CKeySetCursor::Probe CDaoRecordset::Reader()
{
    return [this](std::int64_t key) { return ReadRecord(key); };
}

// Counting and positioning need to know which keys are gone; probing every key costs a
// lookup each, so it is done again only after a row may have been deleted.
void CDaoRecordset::CheckDeletions() const
{
    const CDaoDatabase::DeletionStamp now = m_pDatabase->CurrentDeletionStamp();
    if (m_checked && now == m_checkedAt)
        return;
    m_cursor.Recheck([this](std::int64_t key) { return RecordExists(key); });
    m_checkedAt = now;
    m_checked = true;
}

void CDaoRecordset::ReloadCurrent()
{
    m_cursor.Reread(Reader());
}

void CDaoRecordset::MoveFirst()
{
    RequireOpen();
    m_mode = Mode::None;
    m_cursor.First(Reader());
}

bool CDaoRecordset::MoveToKey(std::int64_t key)
{
    RequireOpen();
    m_mode = Mode::None;
    if (m_cursor.Seek(key, Reader()))
        return true;
    m_cursor.MovePastEnd();
    return false;
}

void CDaoRecordset::MoveLast()
{
    RequireOpen();
    m_mode = Mode::None;
    m_cursor.Last(Reader());
}

void CDaoRecordset::MoveNext()
{
    RequireOpen();
    m_mode = Mode::None;
    m_cursor.Next(Reader());
}

void CDaoRecordset::MovePrev()
{
    RequireOpen();
    m_mode = Mode::None;
    m_cursor.Prev(Reader());
}

bool CDaoRecordset::IsEOF() const
{
    return !m_open || m_cursor.IsEOF();
}

bool CDaoRecordset::IsBOF() const
{
    return !m_open || m_cursor.IsBOF();
}

std::int32_t CDaoRecordset::GetRecordCount() const
{
    if (!m_open)
        return 0;
    CheckDeletions();
    return m_cursor.Count();
}

std::int32_t CDaoRecordset::GetAbsolutePosition() const
{
    if (!m_open || !m_cursor.OnRecord())
        return -1;
    CheckDeletions();
    return m_cursor.Position();
}

void CDaoRecordset::SetAbsolutePosition(std::int32_t position)
{
    RequireOpen();
    m_mode = Mode::None;
    CheckDeletions();
    if (!m_cursor.SeekPosition(position, Reader()))
        throw CDaoException(SQLITE_RANGE,
                            L"No record at position " + std::to_wstring(position) + L".");
}

CDaoRecordset::Bookmark CDaoRecordset::GetBookmark() const
{
    RequireRecord();
    return m_cursor.CurrentKey();
}

void CDaoRecordset::SetBookmark(Bookmark bookmark)
{
    RequireOpen();
    m_mode = Mode::None;
    if (!m_cursor.Seek(bookmark, Reader()))
        throw CDaoException(SQLITE_NOTFOUND, L"The bookmarked record is not in the set.");
}

// Reads each bound column's default from the table definition in the file, so that a new
// record's members start out as the values the engine would give them.
void CDaoRecordset::LoadDefaults()
{
    if (m_haveDefaults)
        return;
    std::vector<std::wstring> names;
    std::vector<std::wstring> expressions;
    {
        Statement info =
            PrepareStatement(Db(), "SELECT name, dflt_value FROM pragma_table_info(?)");
        BindText(Db(), info.get(), 1, Unquoted(FromUtf8(m_table)));
        while (StepRow(Db(), info.get()))
        {
            names.push_back(ColumnText(info.get(), 0));
            expressions.push_back(sqlite3_column_type(info.get(), 1) == SQLITE_NULL
                                      ? std::wstring()
                                      : ColumnText(info.get(), 1));
        }
    }
    m_defaults.assign(m_fields.Count(), FieldValue());
    for (std::size_t i = 0; i < m_fields.Count(); ++i)
    {
        std::wstring expression;
        for (std::size_t c = 0; c < names.size(); ++c)
            if (SameName(names[c], Unquoted(m_fields.Column(i))))
                expression = expressions[c];
        if (expression.empty())
        {
            m_defaults[i] = m_fields.ValueOfNull(i);
            continue;
        }
        Statement eval = PrepareStatement(Db(), "SELECT " + ToUtf8(expression));
        if (StepRow(Db(), eval.get()))
            m_defaults[i] = m_fields.ValueOfColumn(i, eval.get(), 0);
    }
    m_haveDefaults = true;
}

void CDaoRecordset::AddNew()
{
    RequireOpen();
    m_mode = Mode::None;
    LoadDefaults();
    for (std::size_t i = 0; i < m_fields.Count(); ++i)
        m_fields.Assign(i, m_defaults[i]);
    m_snapshot = m_defaults;
    m_fields.NoteAllNull();
    m_fields.ClearNullMarks();
    m_mode = Mode::AddNew;
}

void CDaoRecordset::Edit()
{
    RequireRecord();
    m_mode = Mode::None;
    if (!m_cursor.Reread(Reader())) // start from what is stored now, not from what was read
        ThrowNoCurrentRecord();
    m_snapshot.clear();
    for (std::size_t i = 0; i < m_fields.Count(); ++i)
        m_snapshot.push_back(m_fields.Capture(i));
    m_fields.ClearNullMarks();
    m_mode = Mode::Edit;
}

// Text made NULL counts as changed even when it was empty already: empty is not NULL.
bool CDaoRecordset::Changed(std::size_t index) const
{
    return m_fields.Capture(index) != m_snapshot[index] || m_fields.IsMarkedNull(index);
}

CDaoRecordset::Mask CDaoRecordset::ChangedFields() const
{
    Mask mask = 0;
    for (std::size_t i = 0; i < m_fields.Count(); ++i)
        if (Changed(i))
            mask |= CBoundFields::Bit(i);
    return mask;
}

void CDaoRecordset::BindChanged(sqlite3_stmt* stmt, Mask mask) const
{
    int parameter = 0;
    for (std::size_t i = 0; i < m_fields.Count(); ++i)
        if (mask & CBoundFields::Bit(i))
            m_fields.Bind(i, Db(), stmt, ++parameter);
}

sqlite3_stmt* CDaoRecordset::UpdateStatement(Mask mask)
{
    Statement& cached = m_statements->updates[mask];
    if (!cached)
    {
        std::string sql = "UPDATE " + m_table + " SET ";
        const char* separator = "";
        for (std::size_t i = 0; i < m_fields.Count(); ++i)
        {
            if (mask & CBoundFields::Bit(i))
            {
                sql += separator + ToUtf8(m_fields.Column(i)) + " = ?";
                separator = ", ";
            }
        }
        sql += " WHERE " + ToUtf8(m_fields.Column(0)) + " = ?";
        cached = PrepareStatement(Db(), sql);
    }
    return cached.get();
}

sqlite3_stmt* CDaoRecordset::InsertStatement(Mask mask)
{
    Statement& cached = m_statements->inserts[mask];
    if (!cached)
    {
        std::string sql = "INSERT INTO " + m_table;
        if (mask == 0)
        {
            sql += " DEFAULT VALUES";
        }
        else
        {
            std::string columns;
            std::string values;
            for (std::size_t i = 0; i < m_fields.Count(); ++i)
            {
                if (mask & CBoundFields::Bit(i))
                {
                    columns += (columns.empty() ? "" : ", ") + ToUtf8(m_fields.Column(i));
                    values += values.empty() ? "?" : ", ?";
                }
            }
            sql += " (" + columns + ") VALUES (" + values + ")";
        }
        cached = PrepareStatement(Db(), sql);
    }
    return cached.get();
}

void CDaoRecordset::WriteEdit(Mask mask)
{
    if (mask == 0)
        return;
    sqlite3_stmt* stmt = UpdateStatement(mask);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    BindChanged(stmt, mask);
    const int keyParameter = sqlite3_bind_parameter_count(stmt);
    CheckSqlite(Db(), sqlite3_bind_int64(stmt, keyParameter, m_cursor.CurrentKey()));
    StepToDone(Db(), stmt);
    sqlite3_reset(stmt);
    if (sqlite3_changes(Db()) == 0)
    {
        m_cursor.MarkCurrentGone();
        throw CDaoException(SQLITE_NOTFOUND, L"The record has been deleted.");
    }
    m_fields.NoteWritten(mask);
    if (mask & CBoundFields::Bit(0))
        m_cursor.RekeyCurrent(m_fields.Key());
}

void CDaoRecordset::WriteNew(Mask mask)
{
    sqlite3_stmt* stmt = InsertStatement(mask);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    BindChanged(stmt, mask);
    StepToDone(Db(), stmt);
    sqlite3_reset(stmt);
    m_cursor.Append(sqlite3_last_insert_rowid(Db()));
    // Every move ends an AddNew, so the cursor is still where AddNew was called.
    ReloadCurrent();
}

void CDaoRecordset::Update()
{
    RequireOpen();
    if (m_mode == Mode::None)
        throw CDaoException(SQLITE_MISUSE, L"Update without Edit or AddNew.");
    const Mode mode = m_mode;
    m_mode = Mode::None; // whatever happens below, this edit is finished
    const Mask mask = ChangedFields();
    try
    {
        if (mode == Mode::Edit)
            WriteEdit(mask);
        else
            WriteNew(mask);
        m_fields.ClearNullMarks();
    }
    catch (...)
    {
        m_fields.ClearNullMarks();
        try
        {
            ReloadCurrent();
        }
        catch (...)
        {
            // The first error is the one worth reporting.
        }
        throw;
    }
}

void CDaoRecordset::CancelUpdate()
{
    if (m_mode == Mode::None)
        return;
    m_mode = Mode::None;
    ReloadCurrent();
}

void CDaoRecordset::Delete()
{
    RequireRecord();
    m_mode = Mode::None;
    sqlite3_stmt* stmt = m_statements->remove.get();
    sqlite3_reset(stmt);
    CheckSqlite(Db(), sqlite3_bind_int64(stmt, 1, m_cursor.CurrentKey()));
    StepToDone(Db(), stmt);
    sqlite3_reset(stmt);
    m_cursor.MarkCurrentGone();
}

bool CDaoRecordset::IsFieldNull(const void* pMember) const
{
    const std::size_t index = m_fields.IndexOf(pMember);
    if (index == m_fields.Count())
        return false;
    if (m_mode != Mode::None && m_fields.IsMarkedNull(index))
        return true;
    if (m_mode != Mode::None && Changed(index))
        return false;
    return m_fields.WasNull(index);
}

void CDaoRecordset::SetFieldNull(void* pMember)
{
    RequireOpen();
    if (m_mode == Mode::None)
        throw CDaoException(SQLITE_MISUSE, L"SetFieldNull without Edit or AddNew.");
    const std::size_t index = m_fields.IndexOf(pMember);
    if (index == m_fields.Count() || !m_fields.SetNull(index))
        throw CDaoException(SQLITE_MISUSE, L"SetFieldNull on a member that cannot be NULL.");
}
