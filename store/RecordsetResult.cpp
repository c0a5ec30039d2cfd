#include "store/RecordsetResult.h"

CRecordsetResult::CRecordsetResult(CDaoDatabase* pDatabase, std::int32_t* pCategoryId)
    : CRecordsetUnit(pDatabase, pCategoryId)
{
}

std::wstring CRecordsetResult::GetDefaultSQL()
{
    std::wstring sql = CRecordsetUnit::GetDefaultSQL();
    m_strFilter = L" ((([IsSelected])=True) AND (([CategoryId]) = " +
                  std::to_wstring(CurrentCategoryId()) + L")) ";
    return sql;
}
