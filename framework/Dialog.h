#pragma once

#include "framework/DataExchange.h"
#include "framework/MessageMap.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

// A dialog from a template in the program's resources, modal (DoModal) or modeless (Create).
// IDOK and IDCANCEL, including Enter, Escape and the close box, reach OnOK and OnCancel unless
// a derived map handles them first.
class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParent = nullptr);

    // The EndDialog result; -1 when the dialog could not be created or a WM_QUIT ended it.
    INT_PTR DoModal();
    BOOL Create(CWnd* pParent = nullptr);
    // Ends the modal loop with `result`; destroys a modeless dialog.
    void EndDialog(INT_PTR result);

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    UINT GetTemplateID() const { return m_nIDTemplate; }

    // Calls UpdateData(FALSE); TRUE lets the dialog manager set the focus.
    virtual BOOL OnInitDialog();
    // UpdateData(TRUE), then EndDialog(IDOK) if the data was valid.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange& dx);
    // Called on the owner while a modal dialog it owns runs: the owner disables and
    // re-enables itself.
    virtual void BeginModalState();
    virtual void EndModalState();
    BOOL PreTranslateMessage(MSG* msg) override;

    BEGIN_MSG_MAP(CDialog)
    ON_MESSAGE(WM_INITDIALOG, OnInitDialogMessage)
    ON_MESSAGE(WM_CLOSE, OnCloseMessage)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_HELP, OnHelpInfo)
    ON_MESSAGE(WM_CTLCOLORDLG, OnAppColor)
    ON_MESSAGE(WM_CTLCOLORSTATIC, OnAppColor)
    ON_MESSAGE(WM_CTLCOLORBTN, OnAppColor)
    END_MSG_MAP(CWnd)

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    class ModalOwner;

    LRESULT OnInitDialogMessage(WPARAM, LPARAM) { return OnInitDialog(); }
    LRESULT OnCloseMessage(WPARAM, LPARAM);
    LRESULT OnAppColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnHelpInfo(WPARAM, LPARAM);
    HWND FindOwner() const;
    void RunModalLoop();
    void FocusFailedControl(HWND control);

    bool m_bModal = false;
    bool m_bContinueModal = false;
    INT_PTR m_nModalResult = -1;
};
