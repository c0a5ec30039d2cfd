#pragma once
// The display scale the program draws at: the system DPI at start-up against 96. The program
// declares itself system-DPI-aware, so Windows neither stretches it nor changes the scale
// while it runs; every fixed pixel measure of the skin is scaled by one rule.
#include <windows.h>

constexpr int kDefaultDpi = 96;

// The screen's DPI, read once.
int AfxGetSystemDpi();
// A length or coordinate of the 96-DPI layout at `dpi`: MulDiv, so halves round up.
int AfxScaleTo(int value, int dpi);
inline int AfxScale(int value) { return AfxScaleTo(value, AfxGetSystemDpi()); }
// Scales the edges, not the sizes, so pieces that touch at 96 DPI still touch.
RECT AfxScaleRect(const RECT& rect);
POINT AfxScalePoint(POINT point);
