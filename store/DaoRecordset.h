#pragma once

#include "store/BoundFields.h"
#include "store/DaoDatabase.h"
#include "store/KeySetCursor.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CTableStatements;

// Tells a record set which members hold which columns: DoFieldExchange makes one typed call
// per column, in the order of the select list, e.g. fx.Long(L"[CategoryId]", m_CategoryId).
class CDaoFieldExchange
{
public:
    void Long(const wchar_t* column, std::int32_t& value) { Add(column, FieldType::Long, &value); }
    void Text(const wchar_t* column, std::wstring& value) { Add(column, FieldType::Text, &value); }
    void Bool(const wchar_t* column, bool& value) { Add(column, FieldType::Bool, &value); }
    void Double(const wchar_t* column, double& value) { Add(column, FieldType::Double, &value); }

private:
    friend class CDaoRecordset;

    CDaoFieldExchange() = default;
    void Add(const wchar_t* column, FieldType type, void* member)
    {
        m_fields.push_back(BoundField{column, type, member});
    }

    std::vector<BoundField> m_fields;
};

// A dynaset over one table. Opening (or requerying) captures the keys the query selects, in
// its order; moving onto a record reads that record's current values, so changes made
// through other sets are seen. Records added here join the end of the key set; deleted ones
// are skipped by every move. The first bound column must be the table's integer key.
//
// Each Update is one autocommitted statement. Edit and Update write only the members that
// differ from the values read by Edit (doubles compared bit for bit). AddNew resets every
// member to its column's default from the table definition (0, empty, false or NaN where the
// table gives none) and Update writes only the members that then differ from it: a member
// left alone, or set to the value it already had, takes the table default, which is that
// same value. Moving, requerying, closing or starting another Edit/AddNew drops a pending
// edit, and so does a failed Update, after which the members show the stored record again.
class CDaoRecordset
{
public:
    using Bookmark = std::int64_t;

    explicit CDaoRecordset(CDaoDatabase* pDatabase);
    virtual ~CDaoRecordset();
    CDaoRecordset(const CDaoRecordset&) = delete;
    CDaoRecordset& operator=(const CDaoRecordset&) = delete;

    std::wstring m_strFilter; // WHERE condition without the keyword; empty for none
    std::wstring m_strSort;   // ORDER BY list without the keyword; empty for table order
    int m_nFields = 0;

    virtual std::wstring GetDefaultDBName();
    virtual std::wstring GetDefaultSQL() = 0;
    virtual void DoFieldExchange(CDaoFieldExchange& fx) = 0;

    // Both call GetDefaultSQL() first, then apply m_strFilter and m_strSort, and end on the
    // first record (or on none when the set is empty).
    virtual void Open();
    virtual void Requery();
    void Close();
    bool IsOpen() const { return m_open; }
    bool CanUpdate() const;

    // Moving past either end stays there rather than failing.
    void MoveFirst();
    // Onto the record whose key (the first field) is `key`; false, and past the end, when the
    // set has no such record. Reads that one record only.
    bool MoveToKey(std::int64_t key);
    void MoveNext();
    void MovePrev();
    void MoveLast();
    bool IsEOF() const;
    bool IsBOF() const;

    std::int32_t GetRecordCount() const;      // records of the key set that still exist
    std::int32_t GetAbsolutePosition() const; // 0-based place in walk order; -1 on none
    void SetAbsolutePosition(std::int32_t position);
    Bookmark GetBookmark() const;
    void SetBookmark(Bookmark bookmark);

    void AddNew();
    void Edit();
    void Update();
    void Delete();
    void CancelUpdate();

    // True when the member's column was NULL when read, or, during AddNew, while the member
    // has not been given a value of its own.
    bool IsFieldNull(const void* pMember) const;
    // During Edit or AddNew: Update writes NULL into the member's column. The member is
    // cleared (empty text, NaN); giving it a value again before Update writes that value.
    // Only text and double members can be made NULL this way.
    void SetFieldNull(void* pMember);

    std::wstring GetSQL() const { return m_sql; }
    CDaoDatabase& GetDatabase() const { return *m_pDatabase; }

protected:
    CDaoDatabase* m_pDatabase;

private:
    using Mask = CBoundFields::Mask;
    enum class Mode
    {
        None,
        Edit,
        AddNew
    };

    sqlite3* Db() const;
    void RequireOpen() const;
    void RequireRecord() const;
    void Prepare(const std::wstring& defaultSql);
    void CaptureKeys(const std::wstring& defaultSql);
    CKeySetCursor::Probe Reader();
    void CheckDeletions() const;
    void ReloadCurrent();
    bool Changed(std::size_t index) const;
    Mask ChangedFields() const;
    void WriteEdit(Mask mask);
    void WriteNew(Mask mask);

    bool m_open = false;
    CBoundFields m_fields;
    std::wstring m_defaultSql; // what GetDefaultSQL() gave when the statements were made
    std::wstring m_sql;        // the query last sent
    CKeySetCursor m_cursor;
    // When the keys were last all checked; until a row may have been deleted, the cursor
    // knows exactly which are gone.
    mutable CDaoDatabase::DeletionStamp m_checkedAt{0, -1};
    mutable bool m_checked = false;
    Mode m_mode = Mode::None;
    std::vector<FieldValue> m_snapshot; // values at Edit / AddNew, to find what changed

    // Held through a pointer: this header, which the whole program includes, needs no SQLite.
    std::unique_ptr<CTableStatements> m_statements; // for the table of m_defaultSql, while open
};
