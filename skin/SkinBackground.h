#pragma once
// A skinned dialog's background: one bitmap, kept selected in a memory context for the
// dialog's whole life and copied to the screen on every erase, never stretched.
#include "framework/Gdi.h"
#include "framework/Wnd.h"

class CSkinBackground
{
public:
    CSkinBackground() = default;
    ~CSkinBackground() { Release(); }
    CSkinBackground(const CSkinBackground&) = delete;
    CSkinBackground& operator=(const CSkinBackground&) = delete;

    // Loads the bitmap and resizes the dialog, keeping its top-left corner, so that its
    // client area is exactly the bitmap. Without the bitmap the dialog keeps its size.
    void Setup(CWnd& dialog, UINT nBitmapId);
    // Copies the bitmap to the client rectangle; false when there is none.
    BOOL Erase(CWnd& dialog, HDC dc) const;
    // Selects the previous bitmap back and deletes the background.
    void Release();
    SIZE GetSize() const { return m_size; }

private:
    CGdiBitmap m_bitmap;
    CMemoryDC m_memoryDC;
    HGDIOBJ m_hPreviousBitmap = nullptr;
    SIZE m_size{0, 0};
};
