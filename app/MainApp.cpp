#include "app/MainApp.h"

#include "app/AboutDlg.h"
#include "app/MainDlg.h"

#include "store/DatabaseFile.h"

namespace
{
constexpr COLORREF kDialogBackground = RGB(232, 232, 232);
}

BOOL CMainApp::InitInstance()
{
    // Control containers and 3-D controls need no set-up here: Win32 dialogs draw their
    // controls in 3-D by themselves (DS_3DLOOK) and the program hosts no ActiveX controls.
    SetDialogBkColor(kDialogBackground, RGB(0, 0, 0));

    CMainDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

// The help file when there is one, else the About box: the help viewer would block behind a
// "cannot find" box for a missing file.
void CMainApp::OnHelp()
{
    const std::wstring strHelpPath = GetHelpFilePath();
    if (FileExists(strHelpPath))
    {
        ::WinHelpW(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, strHelpPath.c_str(), HELP_CONTENTS,
                   0);
        return;
    }
    CAboutDlg about;
    about.DoModal();
}
