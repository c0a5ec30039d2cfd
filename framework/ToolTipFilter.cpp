#include "framework/ToolTipFilter.h"

#include "framework/ExceptionReport.h"
#include "framework/Wnd.h"

#include <commctrl.h>

namespace
{

// One user-interface thread: one tooltip window and one current tool.
struct CurrentTool
{
    HWND hToolTip = nullptr;
    HWND hOwner = nullptr;
    INT_PTR nHit = -1;
    TOOLINFOW info{};
};
CurrentTool g_current;

bool IsMouseMessage(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

CWnd* FindToolOwner(HWND hWnd)
{
    while (hWnd)
    {
        CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
        if (wnd && wnd->ToolTipsEnabled())
            return wnd;
        hWnd = (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : nullptr;
    }
    return nullptr;
}

void RemoveCurrentTool()
{
    if (g_current.nHit != -1 && ::IsWindow(g_current.hToolTip))
        ::SendMessageW(g_current.hToolTip, TTM_DELTOOLW, 0,
                       reinterpret_cast<LPARAM>(&g_current.info));
    g_current.nHit = -1;
    g_current.hOwner = nullptr;
}

// Owned by the tool's top-level window, so it goes with it.
HWND ToolTipFor(HWND hOwner)
{
    HWND hRoot = ::GetAncestor(hOwner, GA_ROOT);
    if (::IsWindow(g_current.hToolTip) && ::GetWindow(g_current.hToolTip, GW_OWNER) == hRoot)
        return g_current.hToolTip;
    if (::IsWindow(g_current.hToolTip))
        ::DestroyWindow(g_current.hToolTip);
    g_current.hToolTip = ::CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hRoot, nullptr,
        ::GetModuleHandleW(nullptr), nullptr);
    return g_current.hToolTip;
}

void AddTool(CWnd& owner, INT_PTR nHit, TOOLINFOW info)
{
    HWND hToolTip = ToolTipFor(owner.m_hWnd);
    if (!hToolTip)
        return;
    // The classic size: version 5 common controls reject the larger structure.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    if (!::SendMessageW(hToolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)))
        return;
    ::SendMessageW(hToolTip, TTM_ACTIVATE, TRUE, 0);
    g_current.info = info;
    g_current.nHit = nHit;
    g_current.hOwner = owner.m_hWnd;
}

} // namespace

void AfxFilterToolTipMessage(const MSG* msg)
{
    if (!msg || !IsMouseMessage(msg->message))
        return;
    CWnd* owner = FindToolOwner(msg->hwnd);
    INT_PTR nHit = -1;
    TOOLINFOW info{};
    if (owner)
    {
        POINT point{};
        ::GetCursorPos(&point);
        owner->ScreenToClient(&point);
        info.cbSize = TTTOOLINFOW_V2_SIZE;
        nHit = GuardCallback<INT_PTR>(-1, [&] { return owner->OnToolHitTest(point, &info); });
    }
    if (nHit != g_current.nHit || (owner ? owner->m_hWnd : nullptr) != g_current.hOwner)
    {
        RemoveCurrentTool();
        if (owner && nHit != -1)
            AddTool(*owner, nHit, info);
    }
    if (g_current.nHit != -1)
    {
        MSG relayed = *msg;
        ::SendMessageW(g_current.hToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
}
