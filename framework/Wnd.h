#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

// A C++ object bound to one window. Windows we create find their object through the creation
// parameter; existing controls are subclassed with the object as reference data. Either way the
// process's table of bound windows points back to the object, and WM_NCDESTROY unbinds it.
// An object that is not bound can still refer to a window (m_hWnd set): it is then only a view.
class CWnd
{
public:
    CWnd() = default;
    // Destroys a window it created; releases a control it subclassed.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to hWnd, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // A null className creates a window of the framework's own class, bound from WM_NCCREATE
    // on. Any other class is created and then subclassed. Either way the object owns it.
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id);
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    // Releases a subclassed control and returns it; null if this object did not subclass one.
    HWND UnsubclassWindow();
    // Makes this object a view on hWnd, without binding it; FALSE if it already has a window.
    BOOL Attach(HWND hWnd);
    // Lets go of a view's window and returns it. A bound window is not let go this way: null.
    HWND Detach();

    // The message map (BEGIN_MSG_MAP) overrides this. TRUE: handled, `result` is the answer.
    virtual BOOL ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Called by the message loops for messages to this window or its children. TRUE consumes.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Lets the previous procedure process the message being handled (the subclassed
    // procedure, DefWindowProc or the dialog manager's default). Reflected messages have none: 0.
    LRESULT Default();
    // The same with other parameters, e.g. WM_PAINT drawing into a given context.
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // Called with m_hWnd set, just before an existing window is subclassed.
    virtual void PreSubclassWindow() {}

    // Lets the message loops ask OnToolHitTest which tool the mouse is over; the framework
    // then shows that tool's tip in one tooltip window of its own.
    void EnableToolTips(BOOL enable = TRUE) { m_bToolTipsEnabled = enable != FALSE; }
    bool ToolTipsEnabled() const { return m_bToolTipsEnabled; }
    // The tool at a client point: fills `tool` (hwnd, uId, rect, lpszText) and returns its
    // hit code, or -1 for none.
    virtual INT_PTR OnToolHitTest(POINT point, TOOLINFOW* tool) const;

    // Offers msg to the bound objects from its target up through the parents to `stop`
    // (or to the top-level window when stop is null); TRUE as soon as one consumes it.
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

    // The child's bound object, or a view on it kept until this window is unbound.
    CWnd* GetDlgItem(int id) const;
    HWND GetDlgItemHwnd(int id) const { return ::GetDlgItem(m_hWnd, id); }
    // The parent's bound object or a view, as for GetDlgItem.
    CWnd* GetParent() const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

    void SetWindowText(const std::wstring& text) { ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const;
    void SetDlgItemText(int id, const std::wstring& text)
    {
        ::SetDlgItemTextW(m_hWnd, id, text.c_str());
    }
    std::wstring GetDlgItemText(int id) const;

    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void MoveWindow(const RECT& rect, BOOL repaint = TRUE)
    {
        ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     repaint);
    }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
    }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ScreenToClient(POINT* point) const { ::ScreenToClient(m_hWnd, point); }
    void ScreenToClient(RECT* rect) const
    {
        ::MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
    }
    void ClientToScreen(POINT* point) const { ::ClientToScreen(m_hWnd, point); }
    void ClientToScreen(RECT* rect) const
    {
        ::MapWindowPoints(m_hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(rect), 2);
    }
    // Centres a top-level window over alternateOwner, or over the work area when that is null
    // or the desktop; a child window is centred in its parent.
    void CenterWindow(HWND alternateOwner = nullptr);

    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE)
    {
        ::InvalidateRect(m_hWnd, rect, erase);
    }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(const RECT* rect = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, rect, region, flags);
    }
    void SetRedraw(BOOL redraw = TRUE) { ::SendMessageW(m_hWnd, WM_SETREDRAW, redraw, 0); }

    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    static HWND GetFocus() { return ::GetFocus(); }

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, msg, wParam, lParam);
    }

    void SetFont(HFONT font, BOOL redraw = TRUE)
    {
        ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    HFONT GetFont() const
    {
        return reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    }
    HICON SetIcon(HICON icon, BOOL big)
    {
        return reinterpret_cast<HICON>(::SendMessageW(
            m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }

    // Timers without a callback: WM_TIMER comes to this window's message map.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    // FALSE when the style was already so. Non-zero `flags` go to SetWindowPos (e.g.
    // SWP_FRAMECHANGED) after the change.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);

    BOOL DestroyWindow() { return ::DestroyWindow(m_hWnd); }
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

protected:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    enum class Binding
    {
        None,
        Window,
        Dialog,
        Subclass
    };
    struct CurrentMessage
    {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        bool reflected;
    };
    class MessageScope;

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static void RestorePreviousProc(HWND hWnd);

    void Bind(HWND hWnd, Binding binding);
    void Unbind();
    LRESULT RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT FinalMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL DispatchToMap(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    BOOL ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    BOOL RouteCommandToApp(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    CWnd* ViewOf(HWND hWnd) const;

    Binding m_binding = Binding::None;
    WNDPROC m_pfnSuper = nullptr;
    bool m_ownsWindow = false;
    bool m_bToolTipsEnabled = false;
    // Set while Default() asks the dialog manager, which first calls our dialog procedure again.
    bool m_defaultPending = false;
    const CurrentMessage* m_current = nullptr;
    mutable std::vector<std::unique_ptr<CWnd>> m_views;
};
