#pragma once

#include "framework/Wnd.h"

#include <commctrl.h>

#include <string>

class CHeaderCtrl : public CWnd
{
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
    BOOL GetItemRect(int index, RECT* rect) const
    {
        return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(index),
                                             reinterpret_cast<LPARAM>(rect)));
    }
    BOOL GetItem(int index, HDITEMW* item) const
    {
        return static_cast<BOOL>(
            SendMessage(HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)));
    }
};

// A report-view list control; like the other control wrappers it does not own the window.
class CListCtrl : public CWnd
{
public:
    // A negative width leaves the column at the control's default.
    int InsertColumn(int index, const std::wstring& title, int format = LVCFMT_LEFT,
                     int width = -1);
    int GetColumnWidth(int column) const;
    BOOL SetColumnWidth(int column, int width);

    int InsertItem(int index, const std::wstring& text);
    int InsertItem(UINT mask, int index, const std::wstring& text, UINT state, UINT stateMask,
                   int image, LPARAM lParam);
    BOOL SetItemText(int item, int subItem, const std::wstring& text);
    std::wstring GetItemText(int item, int subItem) const;
    BOOL SetItemData(int item, DWORD_PTR data);
    DWORD_PTR GetItemData(int item) const;
    BOOL SetItemImage(int item, int image);
    int GetItemImage(int item) const; // -1 when the item has none or does not exist
    BOOL SetItemState(int item, UINT state, UINT mask);
    UINT GetItemState(int item, UINT mask) const;
    BOOL DeleteAllItems();
    int GetItemCount() const;
    int GetNextItem(int start, UINT flags) const;
    BOOL EnsureVisible(int item, BOOL partialOK);
    BOOL GetItemRect(int item, RECT* rect, UINT code) const;
    int HitTest(LVHITTESTINFO* info) const;
    int HitTest(POINT point, UINT* flags = nullptr) const;

    DWORD SetExtendedStyle(DWORD exStyle);
    DWORD GetExtendedStyle() const;
    // The control is made to share its image lists, so the CImageList stays their only owner.
    HIMAGELIST SetImageList(HIMAGELIST imageList, int type);
    int GetStringWidth(const std::wstring& text) const;
    // The header's bound object or a view, valid while this control lives.
    CHeaderCtrl* GetHeaderCtrl() const;

private:
    mutable CHeaderCtrl m_headerView;
};
