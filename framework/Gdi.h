#pragma once

#include <windows.h>

#include <utility>

class CWnd;

// Owns one GDI object and deletes it with itself; move-only.
template <class Handle> class CGdiObject
{
public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_handle(other.Detach()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }

    operator Handle() const { return m_handle; }
    Handle GetSafeHandle() const { return m_handle; }
    Handle Detach() { return std::exchange(m_handle, nullptr); }
    BOOL DeleteObject()
    {
        if (!m_handle)
            return FALSE;
        return ::DeleteObject(std::exchange(m_handle, nullptr));
    }

protected:
    BOOL Reset(Handle handle)
    {
        DeleteObject();
        m_handle = handle;
        return m_handle != nullptr;
    }

    Handle m_handle = nullptr;
};

class CGdiBitmap : public CGdiObject<HBITMAP>
{
public:
    // A bitmap resource of the program, as stored.
    BOOL LoadFromResource(UINT id);
    // The same with its greys mapped to the current 3-D colours (LR_LOADMAP3DCOLORS).
    BOOL LoadMappedFromResource(UINT id);
    // A device-independent bitmap of the described form; `ppBits` receives its pixels.
    BOOL CreateDIBSection(const BITMAPINFO* pInfo, void** ppBits)
    {
        return Reset(::CreateDIBSection(nullptr, pInfo, DIB_RGB_COLORS, ppBits, nullptr, 0));
    }
    SIZE GetSize() const;
    // Takes ownership of `bitmap`; false when it is null.
    BOOL Attach(HBITMAP bitmap) { return Reset(bitmap); }
};

class CGdiFont : public CGdiObject<HFONT>
{
public:
    BOOL CreateFontIndirect(const LOGFONTW& logFont)
    {
        return Reset(::CreateFontIndirectW(&logFont));
    }
};

class CGdiBrush : public CGdiObject<HBRUSH>
{
public:
    BOOL CreateSolidBrush(COLORREF color) { return Reset(::CreateSolidBrush(color)); }
};

// Owns a memory device context.
class CMemoryDC
{
public:
    CMemoryDC() = default;
    ~CMemoryDC() { DeleteDC(); }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    CMemoryDC(CMemoryDC&& other) noexcept : m_hDC(std::exchange(other.m_hDC, nullptr)) {}
    CMemoryDC& operator=(CMemoryDC&& other) noexcept
    {
        if (this != &other)
        {
            DeleteDC();
            m_hDC = std::exchange(other.m_hDC, nullptr);
        }
        return *this;
    }

    // Compatible with `dc`, or with the screen when it is null.
    BOOL CreateCompatibleDC(HDC dc);
    BOOL DeleteDC();
    operator HDC() const { return m_hDC; }

    HDC m_hDC = nullptr;
};

// BeginPaint/EndPaint for one WM_PAINT.
class CPaintDC
{
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    operator HDC() const { return m_hDC; }

    HDC m_hDC = nullptr;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

// GetDC/ReleaseDC on a window's client area; a null window means the screen.
class CClientDC
{
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC();
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

    operator HDC() const { return m_hDC; }

    HDC m_hDC = nullptr;

private:
    HWND m_hWnd;
};

// Selects an object into a DC for one scope and puts the previous one back.
class CSelectObject
{
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_hDC(dc), m_hOld(::SelectObject(dc, object)) {}
    ~CSelectObject()
    {
        if (m_hOld)
            ::SelectObject(m_hDC, m_hOld);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};
