#include "app/AboutDlg.h"

#include "res/resource.h"

namespace
{
constexpr POINT kOKPlace{208, 173};
constexpr RECT kNoticePlace{147, 27, 413, 142}; // inside the sunken frame of the artwork
} // namespace

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT) {}

void CAboutDlg::DoDataExchange(CDataExchange& dx)
{
    CDialog::DoDataExchange(dx);
    dx.Control(IDOK, m_btnOK);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_background.Setup(*this, IDB_ABOUT_BACKGROUND);
    m_btnOK.SetWindowPos(nullptr, kOKPlace.x, kOKPlace.y, 1, 1, SWP_NOZORDER | SWP_NOACTIVATE);
    m_btnOK.LoadStrip(IDB_STRIP_OK);
    ::MoveWindow(GetDlgItemHwnd(IDC_ABOUT_NOTICE), kNoticePlace.left, kNoticePlace.top,
                 kNoticePlace.right - kNoticePlace.left, kNoticePlace.bottom - kNoticePlace.top,
                 TRUE);
    return TRUE;
}

BOOL CAboutDlg::OnEraseBkgnd(HDC dc)
{
    if (m_background.Erase(*this, dc))
        return TRUE;
    return static_cast<BOOL>(Default());
}

// After a restore the button is drawn again over the background.
void CAboutDlg::OnSize(UINT, int, int)
{
    Default();
    m_btnOK.Invalidate(TRUE);
}

void CAboutDlg::OnDestroy()
{
    Default();
    m_background.Release();
}
