#include "skin/SkinnedDialog.h"

#include "framework/DpiScale.h"

CSkinnedDialog::CSkinnedDialog(UINT nIDTemplate, UINT nBackgroundId, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_nBackgroundId(nBackgroundId)
{
}

BOOL CSkinnedDialog::OnInitDialog()
{
    const BOOL bResult = CDialog::OnInitDialog();
    m_background.Setup(*this, m_nBackgroundId);
    return bResult;
}

void CSkinnedDialog::PlaceButton(CTavButton& button, POINT point, UINT nStripId)
{
    const POINT scaled = AfxScalePoint(point);
    button.SetWindowPos(nullptr, scaled.x, scaled.y, 1, 1, SWP_NOZORDER | SWP_NOACTIVATE);
    button.LoadStrip(nStripId);
}

BOOL CSkinnedDialog::OnEraseBkgnd(HDC dc)
{
    if (m_background.Erase(*this, dc))
        return TRUE;
    return static_cast<BOOL>(Default());
}

void CSkinnedDialog::OnSize(UINT, int, int)
{
    Default();
    // The buttons sit on the background and are painted again over it.
    for (int id : {IDOK, IDCANCEL})
        if (HWND button = GetDlgItemHwnd(id))
            ::InvalidateRect(button, nullptr, TRUE);
}

void CSkinnedDialog::OnDestroy()
{
    Default();
    m_background.Release();
}
