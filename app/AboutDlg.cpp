#include "app/AboutDlg.h"

#include "framework/DpiScale.h"

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
    const RECT notice = AfxScaleRect(kNoticePlace);
    ::MoveWindow(GetDlgItemHwnd(IDC_ABOUT_NOTICE), notice.left, notice.top,
                 notice.right - notice.left, notice.bottom - notice.top, TRUE);
    return TRUE;
}
