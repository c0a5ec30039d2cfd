#pragma once

#include "framework/Wnd.h"

#include <exception>
#include <string>

// Thrown by CDataExchange::Fail; UpdateData catches it.
class CDataExchangeFailure : public std::exception
{
public:
    explicit CDataExchangeFailure(HWND control) : m_hWndControl(control) {}
    const char* what() const noexcept override { return "Dialog data validation failed."; }
    HWND m_hWndControl;
};

// Moves values between a dialog's controls and variables: to the variables when
// m_bSaveAndValidate is TRUE, to the controls otherwise.
class CDataExchange
{
public:
    CDataExchange(CWnd* pDlg, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // Subclasses the control on the first exchange.
    void Control(int id, CWnd& control);
    // Window text of an edit, combo box or any other control.
    void Text(int id, std::wstring& value);
    // Load: the edit takes at most nChars characters as the user types or pastes. Save:
    // nothing; a longer text set by the program is left to the column's own check.
    void MaxChars(int id, int nChars);
    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    void Check(int id, BOOL& value);
    // Validation failed on the control exchanged last: UpdateData focuses it, selects its
    // text and returns FALSE.
    [[noreturn]] void Fail();

private:
    HWND Find(int id);

    HWND m_hWndLast = nullptr;
};
