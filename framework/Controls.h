#pragma once

#include "framework/ListCtrl.h"
#include "framework/Wnd.h"

#include <commctrl.h>

#include <string>

// Typed wrappers for standard controls (the list and header controls come with ListCtrl.h,
// included here). They never own the control: bind one with
// SubclassDlgItem (or CDataExchange::Control) and it is released again when either side goes.

class CEdit : public CWnd
{
public:
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    void ReplaceSel(const std::wstring& text, BOOL canUndo = FALSE);
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    // 0 lifts the limit.
    void LimitText(int maxChars = 0);
    // Deletes the selection (WM_CLEAR).
    void Clear() { SendMessage(WM_CLEAR); }
};

class CButton : public CWnd
{
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
};

class CStatic : public CWnd
{
};

class CComboBox : public CWnd
{
public:
    // The new item's index, or CB_ERR / CB_ERRSPACE.
    int AddString(const std::wstring& text);
    int SetCurSel(int index)
    {
        return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)));
    }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    // Empty for an index out of range.
    std::wstring GetLBText(int index) const;
};

class CProgressCtrl : public CWnd
{
public:
    void SetRange(int lower, int upper)
    {
        SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(lower), upper);
    }
    int SetPos(int pos)
    {
        return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos)));
    }
};
