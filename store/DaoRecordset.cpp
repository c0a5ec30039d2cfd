#include "store/DaoRecordset.h"

#include "store/DaoException.h"
#include "store/SqliteCall.h"
#include "store/TableStatements.h"
#include "store/Utf8.h"

#include <memory>
#include <utility>

namespace
{
[[noreturn]] void ThrowNoCurrentRecord()
{
    throw CDaoException(SQLITE_NOTFOUND, L"No current record.");
}
} // namespace

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
    m_pDatabase->Detach(this);
}

void CDaoRecordset::Prepare(const std::wstring& defaultSql)
{
    m_statements.reset();
    m_defaultSql.clear();
    m_statements = std::make_unique<CTableStatements>(Db(), defaultSql, m_fields);
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

// The cursor reads each record it moves onto into the members through this.
CKeySetCursor::Probe CDaoRecordset::Reader()
{
    return [this](std::int64_t key) { return m_statements->Read(key); };
}

// Counting and positioning need to know which keys are gone; probing every key costs a
// lookup each, so it is done again only after a row may have been deleted.
void CDaoRecordset::CheckDeletions() const
{
    const CDaoDatabase::DeletionStamp now = m_pDatabase->CurrentDeletionStamp();
    if (m_checked && now == m_checkedAt)
        return;
    m_cursor.Recheck([this](std::int64_t key) { return m_statements->Exists(key); });
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

void CDaoRecordset::AddNew()
{
    RequireOpen();
    m_mode = Mode::None;
    const std::vector<FieldValue>& defaults = m_statements->Defaults();
    for (std::size_t i = 0; i < m_fields.Count(); ++i)
        m_fields.Assign(i, defaults[i]);
    m_snapshot = defaults;
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

void CDaoRecordset::WriteEdit(Mask mask)
{
    if (mask == 0)
        return;
    if (!m_statements->Update(m_cursor.CurrentKey(), mask))
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
    m_cursor.Append(m_statements->Insert(mask));
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
    m_statements->Delete(m_cursor.CurrentKey());
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
