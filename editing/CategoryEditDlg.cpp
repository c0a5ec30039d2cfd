#include "editing/CategoryEditDlg.h"

#include "editing/FieldExchange.h"

#include "res/resource.h"

CCategoryEditDlg::CCategoryEditDlg(CRecordsetCategory* pSet, CWnd* pParent)
    : CSkinnedEditDlg(IDD_CATEGORY_EDIT, IDB_CATEGORY_BACKGROUND, POINT{268, 173},
                      POINT{343, 173}, pParent),
      m_pSet(pSet)
{
}

void CCategoryEditDlg::DoDataExchange(CDataExchange& dx)
{
    CSkinnedEditDlg::DoDataExchange(dx);
    ExchangeColumnText(dx, IDC_CATEGORY_NAME, *m_pSet, m_pSet->m_CategoryName);
    ExchangeColumnText(dx, IDC_CATEGORY_NOTE, *m_pSet, m_pSet->m_Note);
}
