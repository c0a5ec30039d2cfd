#include "framework/Menu.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <algorithm>

CMenu::~CMenu()
{
    DestroyMenu();
}

BOOL CMenu::LoadMenu(UINT id)
{
    DestroyMenu();
    m_hMenu = ::LoadMenuW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(id));
    m_owns = m_hMenu != nullptr;
    return m_owns;
}

BOOL CMenu::CreatePopupMenu()
{
    DestroyMenu();
    m_hMenu = ::CreatePopupMenu();
    m_owns = m_hMenu != nullptr;
    return m_owns;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const wchar_t* text)
{
    return ::AppendMenuW(m_hMenu, flags, id, text);
}

CMenu* CMenu::GetSubMenu(int position)
{
    HMENU sub = ::GetSubMenu(m_hMenu, position);
    if (!sub)
        return nullptr;
    auto found =
        std::find_if(m_subMenus.begin(), m_subMenus.end(),
                     [sub](const std::unique_ptr<CMenu>& view) { return view->m_hMenu == sub; });
    if (found != m_subMenus.end())
        return found->get();
    m_subMenus.push_back(std::make_unique<CMenu>());
    m_subMenus.back()->m_hMenu = sub;
    return m_subMenus.back().get();
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner)
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : nullptr, nullptr);
}

BOOL CMenu::SetDefaultItem(UINT item, BOOL byPosition)
{
    return ::SetMenuDefaultItem(m_hMenu, item, static_cast<UINT>(byPosition));
}

UINT CMenu::EnableMenuItem(UINT id, UINT enable)
{
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, id, enable));
}

int CMenu::GetMenuItemCount() const
{
    return ::GetMenuItemCount(m_hMenu);
}

BOOL CMenu::DestroyMenu()
{
    // Views on submenus die with their handles.
    m_subMenus.clear();
    BOOL destroyed = FALSE;
    if (m_hMenu && m_owns)
        destroyed = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    m_owns = false;
    return destroyed;
}
