#include "framework/Dialog.h"

#include "framework/DataExchange.h"
#include "framework/ExceptionReport.h"
#include "framework/ModalSeam.h"
#include "framework/ToolTipFilter.h"
#include "framework/WinApp.h"

// Disables a modal dialog's owner for as long as the dialog runs. An owner that is one of our
// dialogs does it itself through BeginModalState/EndModalState.
class CDialog::ModalOwner
{
public:
    explicit ModalOwner(HWND owner)
    {
        if (!owner || !::IsWindowEnabled(owner))
            return;
        m_owner = owner;
        m_dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(owner));
        if (m_dialog)
            m_dialog->BeginModalState();
        else
            ::EnableWindow(owner, FALSE);
    }
    ~ModalOwner() { Restore(); }
    ModalOwner(const ModalOwner&) = delete;
    ModalOwner& operator=(const ModalOwner&) = delete;

    void Restore() noexcept
    {
        if (!m_owner)
            return;
        HWND owner = m_owner;
        m_owner = nullptr;
        if (m_dialog && CWnd::FromHandlePermanent(owner) == m_dialog)
            GuardCallback<int>(0,
                               [&]
                               {
                                   m_dialog->EndModalState();
                                   return 0;
                               });
        else if (::IsWindow(owner))
            ::EnableWindow(owner, TRUE);
    }

private:
    HWND m_owner = nullptr;
    CDialog* m_dialog = nullptr;
};

CDialog::CDialog(UINT nIDTemplate, CWnd* pParent)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParent)
{
}

HWND CDialog::FindOwner() const
{
    HWND owner = nullptr;
    if (m_pParentWnd)
        owner = m_pParentWnd->m_hWnd;
    else if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd && app->m_pMainWnd != this)
        owner = app->m_pMainWnd->m_hWnd;
    return owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd)
        return -1;
    const HWND owner = FindOwner();
    ModalOwner ownerState(owner);
    m_bModal = true;
    m_bContinueModal = true;
    m_nModalResult = -1;

    // Runs however DoModal is left: hide, give the owner back its input and activation, and
    // only then destroy, so the system does not activate some other program's window.
    struct Finish
    {
        CDialog& dialog;
        ModalOwner& ownerState;
        HWND owner;
        ~Finish()
        {
            if (dialog.m_hWnd)
                ::SetWindowPos(dialog.m_hWnd, nullptr, 0, 0, 0, 0,
                               SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER |
                                   SWP_NOACTIVATE);
            ownerState.Restore();
            if (owner && ::IsWindow(owner))
                ::SetActiveWindow(owner);
            if (dialog.m_hWnd)
                ::DestroyWindow(dialog.m_hWnd);
            dialog.m_bModal = false;
            dialog.m_bContinueModal = false;
        }
    } finish{*this, ownerState, owner};

    HWND hWnd =
        ::CreateDialogParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), owner,
                             &CWnd::DialogProc, reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
    if (!hWnd || !m_hWnd)
        return -1;
    if (m_bContinueModal)
    {
        ::ShowWindow(hWnd, SW_SHOW);
        RunModalDialogHandler(*this);
    }
    RunModalLoop();
    return m_nModalResult;
}

void CDialog::RunModalLoop()
{
    MSG msg{};
    while (m_bContinueModal && m_hWnd)
    {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == 0)
        {
            // The outer loop must see it too, or the program would not end.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        AfxFilterToolTipMessage(&msg);
        if (GuardCallback<BOOL>(FALSE, [&] { return CWnd::WalkPreTranslateTree(m_hWnd, &msg); }))
            continue;
        if (m_hWnd && ::IsDialogMessageW(m_hWnd, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

BOOL CDialog::Create(CWnd* pParent)
{
    if (m_hWnd)
        return FALSE;
    if (pParent)
        m_pParentWnd = pParent;
    m_bModal = false;
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    HWND hWnd =
        ::CreateDialogParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), parent,
                             &CWnd::DialogProc, reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
    return hWnd != nullptr && m_hWnd == hWnd;
}

void CDialog::EndDialog(INT_PTR result)
{
    m_nModalResult = result;
    if (m_bModal)
    {
        m_bContinueModal = false;
        // Wakes GetMessage so the loop sees the flag.
        if (m_hWnd)
            ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    }
    else if (m_hWnd)
    {
        ::DestroyWindow(m_hWnd);
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try
    {
        DoDataExchange(dx);
    }
    catch (const CDataExchangeFailure& failure)
    {
        FocusFailedControl(failure.m_hWndControl);
        return FALSE;
    }
    return TRUE;
}

void CDialog::FocusFailedControl(HWND control)
{
    if (!control || !m_hWnd)
        return;
    // Through the dialog manager, so the default button follows the focus.
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    wchar_t className[16] = {};
    ::GetClassNameW(control, className, 16);
    if (::lstrcmpiW(className, L"ComboBox") == 0)
        ::SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else if (::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        ::SendMessageW(control, EM_SETSEL, 0, -1);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange&) {}

void CDialog::BeginModalState()
{
    ::EnableWindow(m_hWnd, FALSE);
}

void CDialog::EndModalState()
{
    ::EnableWindow(m_hWnd, TRUE);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // The modal loop runs IsDialogMessage itself; nothing to add here.
    return CWnd::PreTranslateMessage(msg);
}

LRESULT CDialog::OnAppColor(WPARAM wParam, LPARAM)
{
    // 0 from a dialog procedure leaves the colours to the dialog manager.
    CWinApp* app = AfxGetApp();
    if (!app || !app->GetDialogBkBrush())
        return 0;
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetBkColor(dc, app->GetDialogBkColor());
    ::SetTextColor(dc, app->GetDialogTextColor());
    return reinterpret_cast<LRESULT>(app->GetDialogBkBrush());
}

LRESULT CDialog::OnCloseMessage(WPARAM, LPARAM)
{
    // The dialog manager would post IDCANCEL only while a Cancel button is enabled; the close
    // box must always reach OnCancel (or the map's IDCANCEL entry).
    ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, IDCANCEL)));
    return 0;
}

// F1 anywhere is the main window's Help command, which reaches the application object when
// no window handles it. While a modal dialog has disabled the main window, F1 does nothing.
LRESULT CDialog::OnHelpInfo(WPARAM, LPARAM)
{
    CWinApp* app = AfxGetApp();
    CWnd* main = app ? app->m_pMainWnd : nullptr;
    if (main && main->m_hWnd && ::IsWindowEnabled(main->m_hWnd))
        main->SendMessage(WM_COMMAND, ID_HELP, 0);
    return TRUE;
}
