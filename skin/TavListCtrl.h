#pragma once
// The three lists of the main window. The base paints off-screen on a fixed light background
// with its own colours for the focused selection, draws its header from the skin and stands
// a skinned bar beside itself in place of its own. Each subclass opens its own pop-up menu;
// the chosen command goes to the main window.
#include "skin/TavHeaderCtrl.h"
#include "skin/TavScrollbar.h"

#include "framework/Controls.h"
#include "framework/MessageMap.h"

class CTavListCtrl : public CListCtrl
{
public:
    CTavListCtrl();

    // Once, after the columns and extended styles are set and the list is at its place.
    void InitSkin();

    CTavHeaderCtrl m_Header;
    const COLORREF m_clrText;
    const COLORREF m_clrBack;
    const COLORREF m_clrSelText;
    const COLORREF m_clrSelBack;
    CTavScrollbarV m_ScrollV;
    CTavScrollbarH m_ScrollH;

protected:
    void PreSubclassWindow() override;

    BEGIN_MSG_MAP(CTavListCtrl)
        ON_WM_PAINT(OnPaint)
        ON_WM_ERASEBKGND(OnEraseBkgnd)
        ON_MESSAGE(WM_MOUSEWHEEL, OnScrollingInput)
        ON_MESSAGE(WM_KEYDOWN, OnScrollingInput)
        ON_MESSAGE(WM_KEYUP, OnScrollingInput)
        ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
        ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
        ON_NOTIFY_REFLECT_EX(LVN_ITEMCHANGING, IsPaintingSelection)
        ON_NOTIFY_REFLECT_EX(LVN_ITEMCHANGED, IsPaintingSelection)
    END_MSG_MAP(CListCtrl)

    // Opens the first sub-menu of the menu resource at the screen point, owned by the main
    // window; `defaultItem` (a command id) is shown bold when not 0.
    void TrackMenu(UINT nMenuId, POINT screenPoint, UINT nDefaultItem);
    // The row under a mouse request's screen point, or -1 (also for a keyboard request).
    int RowAtScreenPoint(POINT screenPoint) const;

private:
    void OnPaint();
    BOOL OnEraseBkgnd(HDC);
    LRESULT OnScrollingInput(WPARAM, LPARAM);
    LRESULT OnNcCalcSize(WPARAM, LPARAM);
    void OnCustomDraw(NMHDR* pNotify, LRESULT* pResult);
    BOOL IsPaintingSelection(NMHDR*, LRESULT*) { return m_bPaintingSelection; }
    void SyncScrollBar();
    void SetSelectedState(int nItem, UINT nState);

    // Set while a paint takes the selection off and puts it back: those item changes are the
    // painting's own and must not reach the main window's selection handlers.
    BOOL m_bPaintingSelection = FALSE;
};

class CTavListCtrl_Category : public CTavListCtrl
{
protected:
    BEGIN_MSG_MAP(CTavListCtrl_Category)
        ON_WM_CONTEXTMENU(OnContextMenu)
    END_MSG_MAP(CTavListCtrl)

private:
    void OnContextMenu(HWND, POINT point);
};

class CTavListCtrl_Units : public CTavListCtrl
{
protected:
    BEGIN_MSG_MAP(CTavListCtrl_Units)
        ON_WM_CONTEXTMENU(OnContextMenu)
    END_MSG_MAP(CTavListCtrl)

private:
    void OnContextMenu(HWND, POINT point);
};

// Shows "unit: value" of the row under the pointer as a tooltip.
class CTavListCtrl_Result : public CTavListCtrl
{
public:
    INT_PTR OnToolHitTest(POINT point, TOOLINFOW* pTool) const override;

    // The row whose tooltip is active.
    mutable int m_nTipItem = -1;

protected:
    void PreSubclassWindow() override;

    BEGIN_MSG_MAP(CTavListCtrl_Result)
        ON_WM_CONTEXTMENU(OnContextMenu)
        ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
        ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
    END_MSG_MAP(CTavListCtrl)

private:
    void OnContextMenu(HWND, POINT point);
    BOOL OnToolTipText(UINT nId, NMHDR* pNotify, LRESULT* pResult);
    int RowAtClientPoint(POINT point, RECT& bounds) const;
};
