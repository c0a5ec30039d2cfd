#pragma once
// An off-screen picture for one paint: everything is drawn on the buffer, and the whole
// rectangle reaches the target in one copy when the buffer goes, so the screen never shows a
// half-drawn control. On a printer it draws straight on the target.
#include <windows.h>

class CBufferedDC
{
public:
    // `rect` is in the target's logical units.
    CBufferedDC(HDC hTargetDC, const RECT& rect);
    ~CBufferedDC();
    CBufferedDC(const CBufferedDC&) = delete;
    CBufferedDC& operator=(const CBufferedDC&) = delete;

    operator HDC() const { return m_bPrinting ? m_hTargetDC : m_hMemoryDC; }
    const RECT& GetRect() const { return m_rect; }

private:
    HDC m_hTargetDC;
    RECT m_rect;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hPreviousBitmap = nullptr;
    bool m_bPrinting;
    HDC m_hMemoryDC = nullptr;
};
