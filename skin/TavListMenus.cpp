// The pop-up menus of the three lists.
#include "skin/SkinOwner.h"
#include "skin/TavListCtrl.h"

#include "framework/Menu.h"

#include "res/resource.h"

namespace
{
bool IsKeyboardRequest(POINT point) { return point.x == -1 && point.y == -1; }
} // namespace

void CTavListCtrl::TrackMenu(UINT nMenuId, POINT screenPoint, UINT nDefaultItem)
{
    CMenu menu;
    if (!menu.LoadMenu(nMenuId))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return;
    if (nDefaultItem != 0)
        pPopup->SetDefaultItem(nDefaultItem);
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y,
                           GetParent());
}

int CTavListCtrl::RowAtScreenPoint(POINT screenPoint) const
{
    if (IsKeyboardRequest(screenPoint))
        return -1;
    POINT client = screenPoint;
    ScreenToClient(&client);
    LVHITTESTINFO hit{};
    hit.pt = client;
    const int nRow = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    const int nCount = static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
    return nRow >= 0 && nRow < nCount ? nRow : -1;
}

// Anywhere in the list; from the keyboard just above and left of the client area.
void CTavListCtrl_Category::OnContextMenu(HWND, POINT point)
{
    if (IsKeyboardRequest(point))
    {
        point = POINT{-1, -1};
        ClientToScreen(&point);
    }
    auto* pOwner = dynamic_cast<ISkinOwner*>(GetParent());
    TrackMenu(pOwner ? pOwner->GetCategoryMenuId() : IDM_CATEGORY_POPUP, point, 0);
}

// Only over an existing row.
void CTavListCtrl_Units::OnContextMenu(HWND, POINT point)
{
    if (RowAtScreenPoint(point) >= 0)
        TrackMenu(IDM_UNIT_POPUP, point, ID_UNIT_SHOW_IN_RESULT);
}

void CTavListCtrl_Result::OnContextMenu(HWND, POINT point)
{
    if (RowAtScreenPoint(point) >= 0)
        TrackMenu(IDM_RESULT_POPUP, point, ID_RESULT_SET_AS_SOURCE);
}
