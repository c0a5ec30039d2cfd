#include "framework/DpiScale.h"

int AfxGetSystemDpi()
{
    static const int dpi = [] {
        HDC screen = ::GetDC(nullptr);
        const int value = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : kDefaultDpi;
        if (screen)
            ::ReleaseDC(nullptr, screen);
        return value > 0 ? value : kDefaultDpi;
    }();
    return dpi;
}

int AfxScaleTo(int value, int dpi) { return ::MulDiv(value, dpi, kDefaultDpi); }

RECT AfxScaleRect(const RECT& rect)
{
    return RECT{AfxScale(rect.left), AfxScale(rect.top), AfxScale(rect.right),
                AfxScale(rect.bottom)};
}

POINT AfxScalePoint(POINT point) { return POINT{AfxScale(point.x), AfxScale(point.y)}; }
