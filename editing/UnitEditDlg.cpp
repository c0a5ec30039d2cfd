#include "editing/UnitEditDlg.h"

#include "editing/FieldExchange.h"

#include "res/resource.h"

CUnitEditDlg::CUnitEditDlg(CRecordsetUnit* pSet, const std::wstring& strCategory, CWnd* pParent)
    : CSkinnedEditDlg(IDD_UNIT_EDIT, IDB_UNIT_BACKGROUND, POINT{268, 263}, POINT{343, 263},
                      pParent),
      m_pSet(pSet), m_strCategory(strCategory)
{
}

void CUnitEditDlg::DoDataExchange(CDataExchange& dx)
{
    CSkinnedEditDlg::DoDataExchange(dx);
    CRecordsetUnit& unit = *m_pSet;
    dx.Text(IDC_UNIT_CATEGORY, m_strCategory);
    ExchangeColumnText(dx, IDC_UNIT_NAME, unit, unit.m_UnitName);
    ExchangeColumnNumber(dx, IDC_UNIT_FACTOR, unit, unit.m_FactorMul);
    ExchangeColumnNumber(dx, IDC_UNIT_SHIFT, unit, unit.m_FactorAdd);
    ExchangeColumnCheck(dx, IDC_UNIT_INVERT, unit, unit.m_IsInvertResult);
    ExchangeColumnText(dx, IDC_UNIT_NOTE, unit, unit.m_Note);
    ExchangeColumnNumber(dx, IDC_UNIT_VALUE, unit, unit.m_UserValue);
}
