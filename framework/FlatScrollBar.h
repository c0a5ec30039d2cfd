#pragma once
// The common controls' flat scroll bar functions. The MinGW import library does not carry
// them, so they are looked up in comctl32 at run time; where one is missing the call does
// nothing and reports failure.
#include <windows.h>

BOOL AfxInitializeFlatSB(HWND hWnd);
BOOL AfxFlatSB_SetScrollProp(HWND hWnd, UINT index, INT_PTR newValue, BOOL redraw);
BOOL AfxFlatSB_EnableScrollBar(HWND hWnd, int bar, UINT arrows);
