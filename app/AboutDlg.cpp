#include "app/AboutDlg.h"

#include "res/resource.h"

namespace
{
constexpr POINT kOKPlace{208, 173};
constexpr RECT kNoticePlace{147, 27, 413, 142}; // inside the sunken frame of the artwork
} // namespace

CAboutDlg::CAboutDlg() : CSkinnedDialog(IDD_ABOUT, IDB_ABOUT_BACKGROUND, nullptr) {}

void CAboutDlg::DoDataExchange(CDataExchange& dx)
{
    CSkinnedDialog::DoDataExchange(dx);
    dx.Control(IDOK, m_btnOK);
}

BOOL CAboutDlg::OnInitDialog()
{
    CSkinnedDialog::OnInitDialog();
    PlaceButton(m_btnOK, kOKPlace, IDB_STRIP_OK);
    ::MoveWindow(GetDlgItemHwnd(IDC_ABOUT_NOTICE), kNoticePlace.left, kNoticePlace.top,
                 kNoticePlace.right - kNoticePlace.left, kNoticePlace.bottom - kNoticePlace.top,
                 TRUE);
    return TRUE;
}
