#include "editing/SkinnedEditDlg.h"

#include "res/resource.h"

CSkinnedEditDlg::CSkinnedEditDlg(UINT nIDTemplate, UINT nBackgroundId, POINT ptOK,
                                 POINT ptCancel, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_nBackgroundId(nBackgroundId), m_ptOK(ptOK),
      m_ptCancel(ptCancel)
{
}

void CSkinnedEditDlg::DoDataExchange(CDataExchange& dx)
{
    CDialog::DoDataExchange(dx);
    dx.Control(IDOK, m_btnOK);
    dx.Control(IDCANCEL, m_btnCancel);
}

BOOL CSkinnedEditDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_background.Setup(*this, m_nBackgroundId);
    PlaceButton(m_btnOK, m_ptOK, IDB_STRIP_OK);
    PlaceButton(m_btnCancel, m_ptCancel, IDB_STRIP_CANCEL);
    // Saving once at the start brings the members to what the fields show (numbers at 15
    // digits); nothing is written unless OK follows.
    UpdateData(TRUE);
    return FALSE;
}

void CSkinnedEditDlg::PlaceButton(CTavButton& button, POINT point, UINT nStripId)
{
    button.SetWindowPos(nullptr, point.x, point.y, 1, 1, SWP_NOZORDER | SWP_NOACTIVATE);
    button.LoadStrip(nStripId);
}

BOOL CSkinnedEditDlg::OnEraseBkgnd(HDC dc)
{
    if (m_background.Erase(*this, dc))
        return TRUE;
    return static_cast<BOOL>(Default());
}

void CSkinnedEditDlg::OnSize(UINT, int, int)
{
    Default();
    // The buttons sit on the background and are painted again over it.
    for (int id : {IDOK, IDCANCEL})
        if (HWND button = GetDlgItemHwnd(id))
            ::InvalidateRect(button, nullptr, TRUE);
}

void CSkinnedEditDlg::OnDestroy()
{
    Default();
    m_background.Release();
}
