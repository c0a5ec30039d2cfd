#include "store/RecordsetCategory.h"

#include "store/DaoDatabase.h"

CRecordsetCategory::CRecordsetCategory(CDaoDatabase* pDatabase) : CDaoRecordset(pDatabase)
{
    m_nFields = 8;
}

std::wstring CRecordsetCategory::GetDefaultDBName()
{
    return L"Kalvo.mdb";
}

std::wstring CRecordsetCategory::GetDefaultSQL()
{
    return L"SELECT [CategoryId], [CategoryName], [IconId], [CurrentUnitId], [IsSelected], "
           L"[SourceUnitId], [TargetUnitId], [Note] FROM [Category]";
}

void CRecordsetCategory::DoFieldExchange(CDaoFieldExchange& fx)
{
    fx.Long(L"[CategoryId]", m_CategoryId);
    fx.Text(L"[CategoryName]", m_CategoryName);
    fx.Long(L"[IconId]", m_IconId);
    fx.Long(L"[CurrentUnitId]", m_CurrentUnitId);
    fx.Bool(L"[IsSelected]", m_IsSelected);
    fx.Long(L"[SourceUnitId]", m_SourceUnitId);
    fx.Long(L"[TargetUnitId]", m_TargetUnitId);
    fx.Text(L"[Note]", m_Note);
}

void CRecordsetCategory::MarkSelected()
{
    const Bookmark current = GetBookmark();
    // One mark moves in one transaction: the file never holds two marked categories or
    // none. Only the records whose flag changes are edited; each edit reads its record again.
    CDaoTransaction transaction(*m_pDatabase);
    for (MoveFirst(); !IsEOF(); MoveNext())
    {
        if (!m_IsSelected)
            continue;
        Edit();
        m_IsSelected = false;
        Update();
    }
    SetBookmark(current);
    Edit();
    m_IsSelected = true;
    Update();
    transaction.CommitTrans();
}

void CRecordsetCategory::FindSelected(std::int32_t& nCategoryId, std::int32_t& nRow)
{
    nCategoryId = 2;
    nRow = 2;
    const bool wasOnRecord = GetAbsolutePosition() >= 0;
    const Bookmark current = wasOnRecord ? GetBookmark() : 0;
    for (MoveFirst(); !IsEOF(); MoveNext())
    {
        if (m_IsSelected)
        {
            nCategoryId = m_CategoryId;
            nRow = GetAbsolutePosition();
            break;
        }
    }
    if (wasOnRecord)
        SetBookmark(current);
    else
        MoveFirst();
}
