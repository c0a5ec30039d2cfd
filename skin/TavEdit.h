#pragma once
// The value field and the transparent text fields of the skin: no caret, their own
// colours, and a Copy (and, for the value field, Paste) pop-up menu.
#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "framework/MessageMap.h"

#include <string>

// Command ids of the fields' pop-up menus; they equal WM_COPY and WM_PASTE but arrive as
// commands, so the edit control never pastes raw text by itself.
constexpr UINT ID_EDIT_COPY_TEXT = 769;
constexpr UINT ID_EDIT_PASTE_TEXT = 770;

class CTavEditLCD : public CEdit
{
public:
    CTavEditLCD();
    void SetBackColor(COLORREF color);
    void HideCaret() { ::HideCaret(m_hWnd); }

    COLORREF m_crBack;
    COLORREF m_crText;
    CGdiBrush m_brBack;

protected:
    BEGIN_MSG_MAP(CTavEditLCD)
        ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
        ON_MESSAGE(WM_KILLFOCUS, OnKillFocus)
        ON_MESSAGE_REFLECT(WM_CTLCOLOREDIT, OnCtlColor)
        ON_MESSAGE_REFLECT(WM_CTLCOLORSTATIC, OnCtlColor)
        ON_WM_CONTEXTMENU(OnContextMenu)
        ON_COMMAND(ID_EDIT_COPY_TEXT, OnCopy)
        ON_COMMAND(ID_EDIT_PASTE_TEXT, OnPaste)
    END_MSG_MAP(CEdit)

private:
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnCtlColor(WPARAM wParam, LPARAM);
    void OnContextMenu(HWND, POINT point);
    void OnCopy();
    void OnPaste();
    std::wstring SelectedOrWholeText() const;
};

class CTavEditTransparent : public CEdit
{
public:
    CTavEditTransparent();
    void SetTextColor(COLORREF color);

    COLORREF m_crBack;
    COLORREF m_crText;

protected:
    BEGIN_MSG_MAP(CTavEditTransparent)
        ON_MESSAGE(WM_KILLFOCUS, OnKillFocus)
        ON_MESSAGE_REFLECT(WM_CTLCOLOREDIT, OnCtlColor)
        ON_MESSAGE_REFLECT(WM_CTLCOLORSTATIC, OnCtlColor)
        ON_WM_CONTEXTMENU(OnContextMenu)
        ON_COMMAND(ID_EDIT_COPY_TEXT, OnCopy)
    END_MSG_MAP(CEdit)

private:
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnCtlColor(WPARAM wParam, LPARAM);
    void OnContextMenu(HWND, POINT point);
    void OnCopy();
};
