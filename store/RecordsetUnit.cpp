#include "store/RecordsetUnit.h"

CRecordsetUnit::CRecordsetUnit(CDaoDatabase* pDatabase, std::int32_t* pCategoryId)
    : CDaoRecordset(pDatabase), m_pCategoryId(pCategoryId)
{
    m_nFields = 9;
}

std::int32_t CRecordsetUnit::CurrentCategoryId() const
{
    return m_pCategoryId != nullptr ? *m_pCategoryId : 0;
}

std::wstring CRecordsetUnit::GetDefaultSQL()
{
    m_strFilter = L" (([CategoryId]) = " + std::to_wstring(CurrentCategoryId()) + L") ";
    m_strSort = L"[UnitName]";
    return L"SELECT [UnitId], [UnitName], [CategoryId], [FactorMul], [FactorAdd], "
           L"[IsInvertResult], [IsSelected], [Note], [UserValue] FROM [Units]";
}

void CRecordsetUnit::DoFieldExchange(CDaoFieldExchange& fx)
{
    fx.Long(L"[UnitId]", m_UnitId);
    fx.Text(L"[UnitName]", m_UnitName);
    fx.Long(L"[CategoryId]", m_CategoryId);
    fx.Double(L"[FactorMul]", m_FactorMul);
    fx.Double(L"[FactorAdd]", m_FactorAdd);
    fx.Bool(L"[IsInvertResult]", m_IsInvertResult);
    fx.Bool(L"[IsSelected]", m_IsSelected);
    fx.Text(L"[Note]", m_Note);
    fx.Double(L"[UserValue]", m_UserValue);
}

// Re-reads the category before every query; the base then builds the query from the result.
void CRecordsetUnit::Open()
{
    GetDefaultSQL();
    CDaoRecordset::Open();
}

void CRecordsetUnit::Requery()
{
    GetDefaultSQL();
    CDaoRecordset::Requery();
}

// UnitId is the set's key: one lookup instead of reading every unit up to it.
bool CRecordsetUnit::FindUnit(std::int32_t nUnitId)
{
    return MoveToKey(nUnitId);
}
