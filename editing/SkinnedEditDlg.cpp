#include "editing/SkinnedEditDlg.h"

#include "res/resource.h"

CSkinnedEditDlg::CSkinnedEditDlg(UINT nIDTemplate, UINT nBackgroundId, POINT ptOK,
                                 POINT ptCancel, CWnd* pParent)
    : CSkinnedDialog(nIDTemplate, nBackgroundId, pParent), m_ptOK(ptOK), m_ptCancel(ptCancel)
{
}

void CSkinnedEditDlg::DoDataExchange(CDataExchange& dx)
{
    CSkinnedDialog::DoDataExchange(dx);
    dx.Control(IDOK, m_btnOK);
    dx.Control(IDCANCEL, m_btnCancel);
}

BOOL CSkinnedEditDlg::OnInitDialog()
{
    CSkinnedDialog::OnInitDialog();
    PlaceButton(m_btnOK, m_ptOK, IDB_STRIP_OK);
    PlaceButton(m_btnCancel, m_ptCancel, IDB_STRIP_CANCEL);
    // Saving once at the start brings the members to what the fields show (numbers at 15
    // digits); nothing is written unless OK follows.
    UpdateData(TRUE);
    return FALSE;
}
