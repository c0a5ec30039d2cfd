#include "skin/BufferedDC.h"

CBufferedDC::CBufferedDC(HDC hTargetDC, const RECT& rect)
    : m_hTargetDC(hTargetDC), m_rect(rect),
      m_bPrinting(::GetDeviceCaps(hTargetDC, TECHNOLOGY) == DT_RASPRINTER)
{
    if (m_bPrinting)
        return;
    m_hMemoryDC = ::CreateCompatibleDC(hTargetDC);
    RECT device = rect;
    ::LPtoDP(hTargetDC, reinterpret_cast<POINT*>(&device), 2);
    m_hBitmap = ::CreateCompatibleBitmap(hTargetDC, device.right - device.left,
                                         device.bottom - device.top);
    m_hPreviousBitmap = ::SelectObject(m_hMemoryDC, m_hBitmap);

    // The same logical coordinates as the target, with the buffer's origin at the rectangle.
    ::SetMapMode(m_hMemoryDC, ::GetMapMode(hTargetDC));
    SIZE extent{};
    ::GetWindowExtEx(hTargetDC, &extent);
    ::SetWindowExtEx(m_hMemoryDC, extent.cx, extent.cy, nullptr);
    ::GetViewportExtEx(hTargetDC, &extent);
    ::SetViewportExtEx(m_hMemoryDC, extent.cx, extent.cy, nullptr);
    ::DPtoLP(hTargetDC, reinterpret_cast<POINT*>(&device), 2);
    ::SetWindowOrgEx(m_hMemoryDC, device.left, device.top, nullptr);
}

CBufferedDC::~CBufferedDC()
{
    if (m_bPrinting)
        return;
    ::BitBlt(m_hTargetDC, m_rect.left, m_rect.top, m_rect.right - m_rect.left,
             m_rect.bottom - m_rect.top, m_hMemoryDC, m_rect.left, m_rect.top, SRCCOPY);
    ::SelectObject(m_hMemoryDC, m_hPreviousBitmap);
    ::DeleteObject(m_hBitmap);
    ::DeleteDC(m_hMemoryDC);
}
