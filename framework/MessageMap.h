#pragma once

#include "framework/Wnd.h"

#include <commctrl.h>

#include <type_traits>

// Reflected messages: a parent first offers these to the control that sent them, as
// OCM__BASE + the original message.
#ifndef OCM__BASE
constexpr UINT OCM__BASE = WM_USER + 0x1c00;
constexpr UINT OCM_COMMAND = OCM__BASE + WM_COMMAND;
constexpr UINT OCM_NOTIFY = OCM__BASE + WM_NOTIFY;
constexpr UINT OCM_DRAWITEM = OCM__BASE + WM_DRAWITEM;
constexpr UINT OCM_MEASUREITEM = OCM__BASE + WM_MEASUREITEM;
constexpr UINT OCM_CTLCOLORBTN = OCM__BASE + WM_CTLCOLORBTN;
constexpr UINT OCM_CTLCOLOREDIT = OCM__BASE + WM_CTLCOLOREDIT;
constexpr UINT OCM_CTLCOLORLISTBOX = OCM__BASE + WM_CTLCOLORLISTBOX;
constexpr UINT OCM_CTLCOLORSCROLLBAR = OCM__BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT OCM_CTLCOLORSTATIC = OCM__BASE + WM_CTLCOLORSTATIC;
#endif

namespace MessageMapDetail
{

// Menu items and accelerators (no control, code 0 or 1) and button clicks; not other
// notifications, which ON_CONTROL matches.
inline bool IsCommand(WPARAM wParam, LPARAM lParam)
{
    UINT code = HIWORD(wParam);
    return code == BN_CLICKED || (lParam == 0 && code == 1);
}
inline bool IsCommandId(WPARAM wParam, LPARAM lParam, UINT id)
{
    return IsCommand(wParam, lParam) && LOWORD(wParam) == id;
}
inline bool IsCommandInRange(WPARAM wParam, LPARAM lParam, UINT first, UINT last)
{
    return IsCommand(wParam, lParam) && LOWORD(wParam) >= first && LOWORD(wParam) <= last;
}
inline bool IsControl(WPARAM wParam, UINT code, UINT id)
{
    return HIWORD(wParam) == code && LOWORD(wParam) == id;
}
inline NMHDR* Header(LPARAM lParam)
{
    return reinterpret_cast<NMHDR*>(lParam);
}
inline bool IsNotifyCode(LPARAM lParam, UINT code)
{
    return lParam != 0 && Header(lParam)->code == code;
}
inline bool IsNotifyInRange(LPARAM lParam, UINT code, UINT first, UINT last)
{
    return IsNotifyCode(lParam, code) && Header(lParam)->idFrom >= first &&
           Header(lParam)->idFrom <= last;
}
inline POINT PointFrom(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace MessageMapDetail

// The message map: a chain of typed entries, tried in order; the first that matches handles
// the message. END_MSG_MAP passes anything else on to the base class.
#define BEGIN_MSG_MAP(theClass)                                                                    \
    BOOL ProcessMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override        \
    {                                                                                              \
        static_assert(std::is_same<theClass*, decltype(this)>::value,                              \
                      "BEGIN_MSG_MAP must name its own class");                                    \
        lResult = 0;

#define END_MSG_MAP(baseClass)                                                                     \
    return baseClass::ProcessMessage(uMsg, wParam, lParam, lResult);                               \
    }

// LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(msg, fn)                                                                        \
    if (uMsg == (msg))                                                                             \
    {                                                                                              \
        lResult = fn(wParam, lParam);                                                              \
        return TRUE;                                                                               \
    }

// void fn(): a menu item, accelerator or button click.
#define ON_COMMAND(id, fn)                                                                         \
    if (uMsg == WM_COMMAND && MessageMapDetail::IsCommandId(wParam, lParam, (id)))                 \
    {                                                                                              \
        fn();                                                                                      \
        return TRUE;                                                                               \
    }

// void fn(UINT id)
#define ON_COMMAND_RANGE(first, last, fn)                                                          \
    if (uMsg == WM_COMMAND && MessageMapDetail::IsCommandInRange(wParam, lParam, (first), (last))) \
    {                                                                                              \
        fn(static_cast<UINT>(LOWORD(wParam)));                                                     \
        return TRUE;                                                                               \
    }

// void fn(): one notification code of WM_COMMAND from one control.
#define ON_CONTROL(code, id, fn)                                                                   \
    if (uMsg == WM_COMMAND && MessageMapDetail::IsControl(wParam, (code), (id)))                   \
    {                                                                                              \
        fn();                                                                                      \
        return TRUE;                                                                               \
    }

// void fn(NMHDR*, LRESULT*)
#define ON_NOTIFY(code, id, fn)                                                                    \
    if (uMsg == WM_NOTIFY && MessageMapDetail::IsNotifyInRange(lParam, (code), (id), (id)))        \
    {                                                                                              \
        fn(MessageMapDetail::Header(lParam), &lResult);                                            \
        return TRUE;                                                                               \
    }

// void fn(UINT id, NMHDR*, LRESULT*)
#define ON_NOTIFY_RANGE(code, first, last, fn)                                                     \
    if (uMsg == WM_NOTIFY && MessageMapDetail::IsNotifyInRange(lParam, (code), (first), (last)))   \
    {                                                                                              \
        fn(static_cast<UINT>(MessageMapDetail::Header(lParam)->idFrom),                            \
           MessageMapDetail::Header(lParam), &lResult);                                            \
        return TRUE;                                                                               \
    }

// BOOL fn(UINT id, NMHDR*, LRESULT*): FALSE leaves the notification to the entries after it.
#define ON_NOTIFY_EX_RANGE(code, first, last, fn)                                                \
    if (uMsg == WM_NOTIFY && MessageMapDetail::IsNotifyInRange(lParam, (code), (first), (last)) && \
        fn(static_cast<UINT>(MessageMapDetail::Header(lParam)->idFrom),                            \
           MessageMapDetail::Header(lParam), &lResult))                                            \
    {                                                                                              \
        return TRUE;                                                                               \
    }

// In a control: void fn(NMHDR*, LRESULT*) for a notification it sent, reflected by the parent.
#define ON_NOTIFY_REFLECT(code, fn)                                                                \
    if (uMsg == OCM_NOTIFY && MessageMapDetail::IsNotifyCode(lParam, (code)))                      \
    {                                                                                              \
        fn(MessageMapDetail::Header(lParam), &lResult);                                            \
        return TRUE;                                                                               \
    }

// In a control: BOOL fn(NMHDR*, LRESULT*); TRUE keeps the notification from the parent's map.
#define ON_NOTIFY_REFLECT_EX(code, fn)                                                             \
    if (uMsg == OCM_NOTIFY && MessageMapDetail::IsNotifyCode(lParam, (code)) &&                    \
        fn(MessageMapDetail::Header(lParam), &lResult))                                            \
    {                                                                                              \
        return TRUE;                                                                               \
    }

// In a control: LRESULT fn(WPARAM, LPARAM) for the reflected form of msg (e.g. WM_CTLCOLOREDIT).
#define ON_MESSAGE_REFLECT(msg, fn)                                                                \
    if (uMsg == OCM__BASE + (msg))                                                                 \
    {                                                                                              \
        lResult = fn(wParam, lParam);                                                              \
        return TRUE;                                                                               \
    }

// The common messages, cracked: each names its handler, e.g. ON_WM_TIMER(OnTimer).

// void fn(UINT_PTR id)
#define ON_WM_TIMER(fn)                                                                            \
    if (uMsg == WM_TIMER)                                                                          \
    {                                                                                              \
        fn(static_cast<UINT_PTR>(wParam));                                                         \
        return TRUE;                                                                               \
    }

// void fn()
#define ON_WM_DESTROY(fn)                                                                          \
    if (uMsg == WM_DESTROY)                                                                        \
    {                                                                                              \
        fn();                                                                                      \
        return TRUE;                                                                               \
    }

// BOOL fn(HDC)
#define ON_WM_ERASEBKGND(fn)                                                                       \
    if (uMsg == WM_ERASEBKGND)                                                                     \
    {                                                                                              \
        lResult = fn(reinterpret_cast<HDC>(wParam));                                               \
        return TRUE;                                                                               \
    }

// void fn(UINT type, int cx, int cy)
#define ON_WM_SIZE(fn)                                                                             \
    if (uMsg == WM_SIZE)                                                                           \
    {                                                                                              \
        fn(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),                          \
           static_cast<short>(HIWORD(lParam)));                                                    \
        return TRUE;                                                                               \
    }

// HCURSOR fn()
#define ON_WM_QUERYDRAGICON(fn)                                                                    \
    if (uMsg == WM_QUERYDRAGICON)                                                                  \
    {                                                                                              \
        lResult = reinterpret_cast<LRESULT>(fn());                                                 \
        return TRUE;                                                                               \
    }

// void fn(HWND window, POINT screenPoint); the point is (-1, -1) from the keyboard.
#define ON_WM_CONTEXTMENU(fn)                                                                      \
    if (uMsg == WM_CONTEXTMENU)                                                                    \
    {                                                                                              \
        fn(reinterpret_cast<HWND>(wParam), MessageMapDetail::PointFrom(lParam));                   \
        return TRUE;                                                                               \
    }

// void fn()
#define ON_WM_PAINT(fn)                                                                            \
    if (uMsg == WM_PAINT)                                                                          \
    {                                                                                              \
        fn();                                                                                      \
        return TRUE;                                                                               \
    }
