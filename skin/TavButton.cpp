#include "skin/TavButton.h"

#include "skin/SkinBitmap.h"

namespace
{
enum Frame
{
    kNormal = 0,
    kPressed = 1,
    kHovered = 2
};
} // namespace

BOOL CTavButton::LoadStrip(UINT nBitmapId)
{
    LoadSkinStrip(m_strip, nBitmapId);
    const SIZE size = m_strip.GetSize();
    m_nFrameWidth = size.cx / 3;
    m_nFrameHeight = size.cy;
    SetWindowPos(nullptr, 0, 0, m_nFrameWidth, m_nFrameHeight,
                 SWP_NOMOVE | SWP_NOOWNERZORDER | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

LRESULT CTavButton::OnDrawItem(WPARAM, LPARAM lParam)
{
    const auto* pItem = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    CMemoryDC memoryDC;
    memoryDC.CreateCompatibleDC(pItem->hDC);
    HGDIOBJ hPrevious = ::SelectObject(memoryDC, m_strip);
    // Pressed wins over hovered; focus and disabled states have no frame of their own.
    const int nFrame = (pItem->itemState & ODS_SELECTED) ? kPressed : m_bHover ? kHovered : kNormal;
    ::BitBlt(pItem->hDC, 0, 0, m_nFrameWidth, m_nFrameHeight, memoryDC, nFrame * m_nFrameWidth, 0,
             SRCCOPY);
    ::SelectObject(memoryDC, hPrevious);
    return TRUE;
}

LRESULT CTavButton::OnMouseMove(WPARAM, LPARAM)
{
    if (!m_bTracking)
    {
        TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, m_hWnd, 1};
        m_bTracking = ::TrackMouseEvent(&track) ? 1 : 0;
    }
    return Default();
}

LRESULT CTavButton::OnMouseHover(WPARAM, LPARAM)
{
    m_bHover = 1;
    Invalidate(FALSE);
    return 0;
}

LRESULT CTavButton::OnMouseLeave(WPARAM, LPARAM)
{
    m_bTracking = 0;
    m_bHover = 0;
    Invalidate(FALSE);
    return 0;
}

// A quick double click on a key counts as two clicks: the second press is replayed.
LRESULT CTavButton::OnDoubleClick(WPARAM wParam, LPARAM lParam)
{
    PostMessage(WM_LBUTTONUP, wParam, lParam);
    PostMessage(WM_LBUTTONDOWN, wParam, lParam);
    return 0;
}
