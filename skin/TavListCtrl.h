#pragma once
// The three lists of the main window. Each opens its own pop-up menu; the chosen command
// goes to the main window.
#include "framework/Controls.h"
#include "framework/MessageMap.h"

class CTavListCtrl : public CListCtrl
{
protected:
    // Opens the first sub-menu of the menu resource at the screen point, owned by the main
    // window; `defaultItem` (a command id) is shown bold when not 0.
    void TrackMenu(UINT nMenuId, POINT screenPoint, UINT nDefaultItem);
    // The row under a mouse request's screen point, or -1 (also for a keyboard request).
    int RowAtScreenPoint(POINT screenPoint) const;
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

class CTavListCtrl_Result : public CTavListCtrl
{
protected:
    BEGIN_MSG_MAP(CTavListCtrl_Result)
        ON_WM_CONTEXTMENU(OnContextMenu)
    END_MSG_MAP(CTavListCtrl)

private:
    void OnContextMenu(HWND, POINT point);
};
