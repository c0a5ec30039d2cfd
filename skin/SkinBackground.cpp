#include "skin/SkinBackground.h"

#include "skin/SkinBitmap.h"

void CSkinBackground::Setup(CWnd& dialog, UINT nBitmapId)
{
    Release();
    if (!LoadSkinPicture(m_bitmap, nBitmapId))
        return;
    m_size = m_bitmap.GetSize();
    HDC clientDC = ::GetDC(dialog.m_hWnd);
    m_memoryDC.CreateCompatibleDC(clientDC);
    ::ReleaseDC(dialog.m_hWnd, clientDC);
    m_hPreviousBitmap = ::SelectObject(m_memoryDC, m_bitmap);

    RECT window, client;
    dialog.GetWindowRect(&window);
    dialog.GetClientRect(&client);
    const int width = (window.right - window.left) - client.right + m_size.cx;
    const int height = (window.bottom - window.top) - client.bottom + m_size.cy;
    // About the same centre: a template that centres its dialog did so at the template's size.
    const int x = window.left + ((window.right - window.left) - width) / 2;
    const int y = window.top + ((window.bottom - window.top) - height) / 2;
    dialog.SetWindowPos(nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CSkinBackground::Erase(CWnd& dialog, HDC dc) const
{
    if (!m_hPreviousBitmap)
        return FALSE;
    RECT client;
    dialog.GetClientRect(&client);
    ::BitBlt(dc, client.left, client.top, client.right - client.left, client.bottom - client.top,
             m_memoryDC, 0, 0, SRCCOPY);
    return TRUE;
}

void CSkinBackground::Release()
{
    if (m_hPreviousBitmap)
    {
        ::SelectObject(m_memoryDC, m_hPreviousBitmap);
        m_hPreviousBitmap = nullptr;
    }
    m_memoryDC.DeleteDC();
    m_bitmap.DeleteObject();
}
