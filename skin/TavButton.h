#pragma once
// A push button drawn from a bitmap strip of three frames: normal, pressed, hovered.
#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "framework/MessageMap.h"

class CTavButton : public CButton
{
public:
    // Loads the strip and sizes the button to one frame, without moving it.
    BOOL LoadStrip(UINT nBitmapId);

protected:
    BEGIN_MSG_MAP(CTavButton)
        ON_MESSAGE_REFLECT(WM_DRAWITEM, OnDrawItem)
        ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
        ON_MESSAGE(WM_MOUSEHOVER, OnMouseHover)
        ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
        ON_MESSAGE(WM_LBUTTONDBLCLK, OnDoubleClick)
        ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    END_MSG_MAP(CButton)

private:
    LRESULT OnDrawItem(WPARAM, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnMouseHover(WPARAM, LPARAM);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    LRESULT OnDoubleClick(WPARAM wParam, LPARAM lParam);
    // Every frame covers the whole button: erasing first would only flash the dialog's colour.
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

    int m_bHover = 0;
    int m_nFrameWidth = 0;
    int m_nFrameHeight = 0;
    CGdiBitmap m_strip;
    int m_bTracking = 0;
};
