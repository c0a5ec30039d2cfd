#include "framework/Wnd.h"

#include "framework/ExceptionReport.h"
#include "framework/MessageMap.h"
#include "framework/WinApp.h"

#include <commctrl.h>

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace
{

// The bound object of each window, whichever way it was bound. It is asked for every message
// the framework routes, so it is a table in the process rather than a window property (a
// round trip to the window server under Wine). Window handles are unique across processes,
// so another instance's windows are simply not in it.
std::unordered_map<HWND, CWnd*> g_boundWindows;
// The procedure each subclass replaced, for as long as ours stays in the window's chain. Our
// procedure is set with SetWindowLongPtr rather than SetWindowSubclass: Wine's comctl32 finds
// its subclass data through a window property on every message, twice.
std::unordered_map<HWND, WNDPROC> g_previousProcs;
const wchar_t kWindowClass[] = L"KalvoWindow";

// Messages whose dialog-procedure answer is the result itself, not DWLP_MSGRESULT.
bool DialogReturnsResultDirectly(UINT msg)
{
    return (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) || msg == WM_INITDIALOG ||
           msg == WM_COMPAREITEM || msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM ||
           msg == WM_QUERYDRAGICON;
}

} // namespace

// Remembers the message being handled so Default() can pass it on; restores the outer one
// for nested messages.
class CWnd::MessageScope
{
public:
    MessageScope(CWnd& wnd, const CurrentMessage& message) : m_wnd(wnd), m_outer(wnd.m_current)
    {
        m_wnd.m_current = &message;
    }
    ~MessageScope() { m_wnd.m_current = m_outer; }
    MessageScope(const MessageScope&) = delete;
    MessageScope& operator=(const MessageScope&) = delete;

private:
    CWnd& m_wnd;
    const CurrentMessage* m_outer;
};

CWnd::~CWnd()
{
    if (!m_hWnd)
        return;
    HWND hWnd = m_hWnd;
    bool owns = m_ownsWindow;
    if (m_binding == Binding::Subclass)
        RestorePreviousProc(hWnd);
    // Unbound first, so none of the destruction messages reach a half-destroyed object.
    Unbind();
    if (owns && ::IsWindow(hWnd))
        ::DestroyWindow(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    const auto found = g_boundWindows.find(hWnd);
    return found != g_boundWindows.end() ? found->second : nullptr;
}

void CWnd::Bind(HWND hWnd, Binding binding)
{
    m_hWnd = hWnd;
    m_binding = binding;
    m_ownsWindow = binding != Binding::Subclass;
    g_boundWindows[hWnd] = this;
}

void CWnd::Unbind()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        g_boundWindows.erase(m_hWnd);
    m_hWnd = nullptr;
    m_binding = Binding::None;
    m_pfnSuper = nullptr;
    m_ownsWindow = false;
    m_views.clear();
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id)
{
    if (m_hWnd)
        return FALSE;
    HWND parentWnd = parent ? parent->m_hWnd : nullptr;
    HMENU menuOrId =
        (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    HINSTANCE instance = AfxGetInstanceHandle();

    if (!className)
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        if (!::GetClassInfoExW(instance, kWindowClass, &wc))
        {
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = &CWnd::WindowProc;
            wc.hInstance = instance;
            wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            wc.lpszClassName = kWindowClass;
            if (!::RegisterClassExW(&wc))
                return FALSE;
        }
        // Bound at WM_NCCREATE; a failed creation has already unbound again.
        return ::CreateWindowExW(exStyle, kWindowClass, windowName, style, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, parentWnd,
                                 menuOrId, instance, this) != nullptr;
    }

    HWND hWnd = ::CreateWindowExW(exStyle, className, windowName, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parentWnd,
                                  menuOrId, instance, nullptr);
    if (!hWnd)
        return FALSE;
    if (!SubclassWindow(hWnd))
    {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    m_ownsWindow = true;
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (m_hWnd || !::IsWindow(hWnd) || FromHandlePermanent(hWnd))
        return FALSE;
    m_hWnd = hWnd;
    PreSubclassWindow();
    // Bound first, so the first message through our procedure finds its object.
    Bind(hWnd, Binding::Subclass);
    auto found = g_previousProcs.find(hWnd);
    if (found == g_previousProcs.end())
    {
        const auto previous = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
            hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
        if (!previous)
        {
            Unbind();
            return FALSE;
        }
        found = g_previousProcs.emplace(hWnd, previous).first;
    }
    // Otherwise ours is still in the chain under a later subclass, and serves this object.
    m_pfnSuper = found->second;
    return TRUE;
}

// Puts the replaced procedure back, unless another subclass went on top of ours since; then
// ours stays in the chain and passes every message on.
void CWnd::RestorePreviousProc(HWND hWnd)
{
    const auto found = g_previousProcs.find(hWnd);
    if (found == g_previousProcs.end())
        return;
    if (::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc))
    {
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second));
        g_previousProcs.erase(found);
    }
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    if (!parent || !parent->m_hWnd)
        return FALSE;
    HWND control = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
    return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_binding != Binding::Subclass)
        return nullptr;
    HWND hWnd = m_hWnd;
    RestorePreviousProc(hWnd);
    Unbind();
    return hWnd;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (m_hWnd || !hWnd)
        return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    if (m_binding != Binding::None)
        return nullptr;
    m_views.clear();
    return std::exchange(m_hWnd, nullptr);
}

BOOL CWnd::ProcessMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

LRESULT CWnd::Default()
{
    if (!m_current || !m_hWnd || m_current->reflected)
        return 0;
    return DefWindowProc(m_current->msg, m_current->wParam, m_current->lParam);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (m_binding)
    {
    case Binding::Subclass:
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, msg, wParam, lParam);
    case Binding::Window:
        return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
    case Binding::Dialog:
    {
        // DefDlgProc calls our dialog procedure first; it sees the flag and declines, so the
        // dialog manager's own processing runs and its result comes back here.
        m_defaultPending = true;
        LRESULT result = ::DefDlgProcW(m_hWnd, msg, wParam, lParam);
        m_defaultPending = false;
        return result;
    }
    case Binding::None:
        break;
    }
    return 0;
}

INT_PTR CWnd::OnToolHitTest(POINT, TOOLINFOW*) const
{
    return -1;
}

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg)
{
    HWND hWnd = msg->hwnd;
    while (hWnd)
    {
        if (CWnd* wnd = FromHandlePermanent(hWnd))
        {
            if (wnd->PreTranslateMessage(msg))
                return TRUE;
        }
        if (hWnd == stop)
            return FALSE;
        hWnd = (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : nullptr;
    }
    // A thread message, or one for a window outside stop's tree: stop still sees it.
    if (CWnd* wnd = FromHandlePermanent(stop))
        return wnd->PreTranslateMessage(msg);
    return FALSE;
}

LRESULT CALLBACK CWnd::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* self = FromHandlePermanent(hWnd);
    if (!self && msg == WM_NCCREATE)
    {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<CWnd*>(create->lpCreateParams);
        if (self)
            self->Bind(hWnd, Binding::Window);
    }
    if (!self)
        return ::DefWindowProcW(hWnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        return self->FinalMessage(msg, wParam, lParam);
    return GuardCallback<LRESULT>(0, [&] { return self->RouteMessage(msg, wParam, lParam); });
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* self = FromHandlePermanent(hWnd);
    if (!self || self->m_binding != Binding::Subclass)
    {
        const auto found = g_previousProcs.find(hWnd);
        if (found == g_previousProcs.end())
            return ::DefWindowProcW(hWnd, msg, wParam, lParam);
        const WNDPROC previous = found->second;
        if (msg == WM_NCDESTROY)
            g_previousProcs.erase(found);
        return ::CallWindowProcW(previous, hWnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY)
        return self->FinalMessage(msg, wParam, lParam);
    return GuardCallback<LRESULT>(0, [&] { return self->RouteMessage(msg, wParam, lParam); });
}

INT_PTR CALLBACK CWnd::DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* self = FromHandlePermanent(hWnd);
    if (!self && msg == WM_INITDIALOG)
    {
        self = reinterpret_cast<CWnd*>(lParam);
        if (self)
            self->Bind(hWnd, Binding::Dialog);
    }
    if (!self)
        return FALSE;
    if (self->m_defaultPending)
    {
        self->m_defaultPending = false;
        return FALSE;
    }
    if (msg == WM_NCDESTROY)
    {
        // The dialog manager's own cleanup runs after we return.
        self->Unbind();
        return FALSE;
    }

    LRESULT result = 0;
    BOOL handled = GuardCallback<BOOL>(FALSE,
                                       [&]
                                       {
                                           const CurrentMessage message{msg, wParam, lParam, false};
                                           MessageScope scope(*self, message);
                                           return self->DispatchToMap(msg, wParam, lParam, result);
                                       });
    if (!handled)
        return FALSE;
    if (DialogReturnsResultDirectly(msg))
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

LRESULT CWnd::RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const CurrentMessage message{msg, wParam, lParam, false};
    MessageScope scope(*this, message);
    LRESULT result = 0;
    if (DispatchToMap(msg, wParam, lParam, result))
        return result;
    return Default();
}

LRESULT CWnd::FinalMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = m_hWnd;
    LRESULT result = 0;
    if (m_binding == Binding::Subclass)
    {
        result = ::CallWindowProcW(m_pfnSuper, hWnd, msg, wParam, lParam);
        g_previousProcs.erase(hWnd);
    }
    else
    {
        result = ::DefWindowProcW(hWnd, msg, wParam, lParam);
    }
    Unbind();
    return result;
}

BOOL CWnd::DispatchToMap(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (ReflectToChild(msg, wParam, lParam, result))
        return TRUE;
    result = 0;
    if (ProcessMessage(msg, wParam, lParam, result))
        return TRUE;
    return RouteCommandToApp(msg, wParam, lParam, result);
}

// A command that a top-level window leaves unhandled goes on to the application object.
BOOL CWnd::RouteCommandToApp(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_COMMAND || !MessageMapDetail::IsCommand(wParam, lParam) ||
        (GetStyle() & WS_CHILD))
        return FALSE;
    CWinApp* app = AfxGetApp();
    result = 0;
    return app && app->ProcessMessage(msg, wParam, lParam, result);
}

BOOL CWnd::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    HWND child = nullptr;
    switch (msg)
    {
    case WM_COMMAND:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        if (lParam)
            child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM:
    {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (draw && draw->CtlType != ODT_MENU)
            child = draw->hwndItem;
        break;
    }
    case WM_MEASUREITEM:
    {
        const auto* measure = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (measure && measure->CtlType != ODT_MENU)
            child = ::GetDlgItem(m_hWnd, static_cast<int>(measure->CtlID));
        break;
    }
    default:
        return FALSE;
    }
    if (!child || child == m_hWnd)
        return FALSE;
    CWnd* control = FromHandlePermanent(child);
    if (!control)
        return FALSE;

    const UINT reflected = OCM__BASE + msg;
    const CurrentMessage message{reflected, wParam, lParam, true};
    MessageScope scope(*control, message);
    LRESULT childResult = 0;
    if (!control->ProcessMessage(reflected, wParam, lParam, childResult))
        return FALSE;
    result = childResult;
    return TRUE;
}

CWnd* CWnd::ViewOf(HWND hWnd) const
{
    if (!hWnd)
        return nullptr;
    if (CWnd* bound = FromHandlePermanent(hWnd))
        return bound;
    auto found =
        std::find_if(m_views.begin(), m_views.end(),
                     [hWnd](const std::unique_ptr<CWnd>& view) { return view->m_hWnd == hWnd; });
    if (found != m_views.end())
        return found->get();
    m_views.push_back(std::make_unique<CWnd>());
    m_views.back()->m_hWnd = hWnd;
    return m_views.back().get();
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return ViewOf(::GetDlgItem(m_hWnd, id));
}

CWnd* CWnd::GetParent() const
{
    return ViewOf(::GetParent(m_hWnd));
}

std::wstring CWnd::GetWindowText() const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

std::wstring CWnd::GetDlgItemText(int id) const
{
    HWND control = ::GetDlgItem(m_hWnd, id);
    if (!control)
        return {};
    int length = ::GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

void CWnd::CenterWindow(HWND alternateOwner)
{
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;

    RECT over{};
    RECT area{};
    if (GetStyle() & WS_CHILD)
    {
        ::GetClientRect(::GetParent(m_hWnd), &over);
        area = over;
    }
    else
    {
        if (alternateOwner == ::GetDesktopWindow())
            alternateOwner = nullptr;
        HMONITOR monitor =
            ::MonitorFromWindow(alternateOwner ? alternateOwner : m_hWnd, MONITOR_DEFAULTTONEAREST);
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        ::GetMonitorInfoW(monitor, &info);
        area = info.rcWork;
        over = area;
        if (alternateOwner)
            ::GetWindowRect(alternateOwner, &over);
    }

    int x = over.left + (over.right - over.left - width) / 2;
    int y = over.top + (over.bottom - over.top - height) / 2;
    // Keep it on screen even when the owner is near an edge.
    x = std::max(static_cast<int>(area.left), std::min(x, static_cast<int>(area.right) - width));
    y = std::max(static_cast<int>(area.top), std::min(y, static_cast<int>(area.bottom) - height));
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    DWORD style = GetStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
    if (flags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}
