#include "app/MainApp.h"

#include "app/MainDlg.h"

namespace
{
constexpr COLORREF kDialogBackground = RGB(232, 232, 232);
}

BOOL CMainApp::InitInstance()
{
    // Control containers and 3-D controls need no set-up here: Win32 dialogs draw their
    // controls in 3-D by themselves (DS_3DLOOK) and the program hosts no ActiveX controls.
    SetDialogBkColor(kDialogBackground, RGB(0, 0, 0));

    CMainDlg dlg(L"Kalvo");
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
