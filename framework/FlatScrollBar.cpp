#include "framework/FlatScrollBar.h"

namespace
{
template <class Function> Function Lookup(const char* name)
{
    HMODULE hComCtl = ::GetModuleHandleW(L"comctl32.dll");
    if (!hComCtl)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(hComCtl, name)));
}
} // namespace

BOOL AfxInitializeFlatSB(HWND hWnd)
{
    static const auto pInitialize = Lookup<BOOL(WINAPI*)(HWND)>("InitializeFlatSB");
    return pInitialize ? pInitialize(hWnd) : FALSE;
}

BOOL AfxFlatSB_SetScrollProp(HWND hWnd, UINT index, INT_PTR newValue, BOOL redraw)
{
    static const auto pSetProp =
        Lookup<BOOL(WINAPI*)(HWND, UINT, INT_PTR, BOOL)>("FlatSB_SetScrollProp");
    return pSetProp ? pSetProp(hWnd, index, newValue, redraw) : FALSE;
}

BOOL AfxFlatSB_EnableScrollBar(HWND hWnd, int bar, UINT arrows)
{
    static const auto pEnable = Lookup<BOOL(WINAPI*)(HWND, int, UINT)>("FlatSB_EnableScrollBar");
    return pEnable ? pEnable(hWnd, bar, arrows) : FALSE;
}
