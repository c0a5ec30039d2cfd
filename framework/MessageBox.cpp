#include "framework/MessageBox.h"

#include "framework/ModalSeam.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

int AfxMessageBox(const std::wstring& text, UINT type)
{
    if ((type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;

    HWND owner = ::GetActiveWindow();
    if (!owner)
    {
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd)
            owner = app->m_pMainWnd->m_hWnd;
    }
    return RunMessageBox(owner, MessageBoxRequest{text, L"Kalvo", type});
}
