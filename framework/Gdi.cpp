#include "framework/Gdi.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace
{

HBITMAP LoadBitmapResource(UINT id, UINT flags)
{
    return static_cast<HBITMAP>(
        ::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, flags));
}

} // namespace

BOOL CGdiBitmap::LoadFromResource(UINT id)
{
    return Reset(LoadBitmapResource(id, LR_DEFAULTCOLOR));
}

BOOL CGdiBitmap::LoadMappedFromResource(UINT id)
{
    return Reset(LoadBitmapResource(id, LR_LOADMAP3DCOLORS));
}

SIZE CGdiBitmap::GetSize() const
{
    BITMAP info{};
    if (!m_handle || !::GetObjectW(m_handle, sizeof(info), &info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

BOOL CMemoryDC::CreateCompatibleDC(HDC dc)
{
    DeleteDC();
    m_hDC = ::CreateCompatibleDC(dc);
    return m_hDC != nullptr;
}

BOOL CMemoryDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(std::exchange(m_hDC, nullptr));
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd)
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr)
{
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, m_hDC);
}
