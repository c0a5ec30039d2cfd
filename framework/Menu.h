#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class CWnd;

// Owns a menu loaded from the resources and destroys it with itself. Submenus are views that
// belong to the menu and live as long as it does.
class CMenu
{
public:
    CMenu() = default;
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL LoadMenu(UINT id);
    BOOL CreatePopupMenu();
    BOOL AppendMenu(UINT flags, UINT_PTR id, const wchar_t* text);
    // A non-owning view, or null when the item at `position` opens no submenu.
    CMenu* GetSubMenu(int position);
    // With TPM_RETURNCMD the chosen command (0 for none); otherwise success.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner);
    BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE);
    UINT EnableMenuItem(UINT id, UINT enable);
    int GetMenuItemCount() const;
    // Only a menu this object owns is destroyed; on a view it just lets go.
    BOOL DestroyMenu();

    operator HMENU() const { return m_hMenu; }

    HMENU m_hMenu = nullptr;

private:
    bool m_owns = false;
    std::vector<std::unique_ptr<CMenu>> m_subMenus;
};
