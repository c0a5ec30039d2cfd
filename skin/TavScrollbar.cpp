#include "skin/TavScrollbar.h"

#include "skin/BufferedDC.h"
#include "skin/TavListCtrl.h"

#include "res/resource.h"

#include <algorithm>

namespace
{
constexpr UINT kBarId = 0xFFFF;
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT_PTR kStartDelayTimer = 2;
constexpr UINT kRepeatInterval = 50;
constexpr UINT kStartDelay = 250;
// One list row in the thumb drag's reckoning; the list rounds a scroll to whole rows.
constexpr int kDragPixelsPerRow = 13;
constexpr COLORREF kFill = RGB(127, 127, 127);

int HeightOf(const CGdiBitmap& bitmap) { return bitmap.GetSize().cy; }

int YFrom(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

// Copies the top `height` rows of a bitmap to (0, y), through one memory context per paint.
void Blit(HDC target, HDC source, int y, const CGdiBitmap& bitmap, int width, int height)
{
    CSelectObject selected(source, bitmap);
    ::BitBlt(target, 0, y, width, height, source, 0, 0, SRCCOPY);
}
} // namespace

BOOL CTavScrollbarV::AttachToList(CTavListCtrl* pList, CWnd* pParent)
{
    m_pList = pList;
    m_bmpTopCap.LoadFromResource(IDB_SCROLL_TOP);
    m_bmpUpArrow.LoadFromResource(IDB_SCROLL_UP);
    m_bmpThumb.LoadFromResource(IDB_SCROLL_THUMB);
    m_bmpDownArrow.LoadFromResource(IDB_SCROLL_DOWN);
    m_bmpBottomCap.LoadFromResource(IDB_SCROLL_BOTTOM);
    m_bmpTrack.LoadFromResource(IDB_SCROLL_TRACK);
    m_nTopCapHeight = HeightOf(m_bmpTopCap);
    m_nUpArrowHeight = HeightOf(m_bmpUpArrow);
    m_nThumbHeight = HeightOf(m_bmpThumb);
    m_nDownArrowHeight = HeightOf(m_bmpDownArrow);
    m_nBottomCapHeight = HeightOf(m_bmpBottomCap);
    m_nTrackHeight = HeightOf(m_bmpTrack);
    m_nWidth = m_bmpTrack.GetSize().cx;
    m_nThumbTop = GetThumbTopMin();

    RECT list{};
    pList->GetWindowRect(&list);
    pParent->ScreenToClient(&list);
    // With the main window's dialog frame this gives the bar exactly the list's height.
    int nFrame = ::GetSystemMetrics(SM_CYDLGFRAME);
    if (pParent->GetStyle() & WS_THICKFRAME)
        ++nFrame;
    const RECT bar{list.right, list.top, list.right + m_nWidth,
                   list.bottom + m_nBottomCapHeight + 1 - nFrame};
    return CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOTIFY, bar,
                    pParent, kBarId);
}

int CTavScrollbarV::ClientHeight() const
{
    RECT client{};
    GetClientRect(&client);
    return client.bottom - client.top;
}

int CTavScrollbarV::GetThumbTopMin() const { return m_nTopCapHeight + m_nUpArrowHeight - 1; }

int CTavScrollbarV::GetThumbTopMax() const
{
    return ClientHeight() - m_nBottomCapHeight - m_nDownArrowHeight - m_nThumbHeight + 1;
}

int CTavScrollbarV::Travel() const
{
    return ClientHeight() - m_nTopCapHeight - m_nUpArrowHeight - m_nThumbHeight -
           m_nDownArrowHeight - m_nBottomCapHeight;
}

void CTavScrollbarV::ReadListPosition(int& nPos, int& nLimit) const
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS | SIF_RANGE | SIF_PAGE;
    nPos = 0;
    nLimit = 0;
    if (!m_pList || !::GetScrollInfo(m_pList->m_hWnd, SB_VERT, &info))
        return;
    nPos = info.nPos;
    nLimit = std::max(0, info.nMax - std::max(static_cast<int>(info.nPage) - 1, 0) - info.nMin);
}

void CTavScrollbarV::SyncWithList()
{
    int nPos = 0;
    int nLimit = 0;
    ReadListPosition(nPos, nLimit);
    const int nMax = GetThumbTopMax();
    if (nLimit == 0)
    {
        // Nothing to scroll: the thumb rests at the bottom end.
        m_dPixelsPerStep = 0.0;
        m_nThumbTop = nMax;
    }
    else
    {
        m_dPixelsPerStep = static_cast<double>(Travel()) / nLimit;
        m_nThumbTop = static_cast<int>(m_dPixelsPerStep * nPos) + GetThumbTopMin();
        // At the end of the list the thumb touches the bottom, whatever the rounding.
        if (nMax - m_nThumbTop < 3 && nPos == nLimit)
            m_nThumbTop = nMax;
    }
    ClampThumb();
    Paint();
}

void CTavScrollbarV::ClampThumb()
{
    m_nThumbTop = std::min(m_nThumbTop, GetThumbTopMax());
    m_nThumbTop = std::max(m_nThumbTop, GetThumbTopMin());
}

// Through a client-area context, so it serves both WM_PAINT and every thumb change.
void CTavScrollbarV::Paint()
{
    if (!m_hWnd)
        return;
    CClientDC client(this);
    RECT rect{};
    GetClientRect(&rect);
    const int nHeight = rect.bottom;
    CBufferedDC dc(client, rect);
    CGdiBrush fill;
    fill.CreateSolidBrush(kFill);
    ::FillRect(dc, &rect, fill);
    CMemoryDC source;
    source.CreateCompatibleDC(dc);
    Blit(dc, source, 0, m_bmpTopCap, m_nWidth, m_nTopCapHeight);
    Blit(dc, source, m_nTopCapHeight, m_bmpUpArrow, m_nWidth, m_nUpArrowHeight);
    {
        CSelectObject selected(source, m_bmpTrack);
        for (int y = m_nTopCapHeight + m_nUpArrowHeight; y < nHeight; ++y)
            ::BitBlt(dc, 0, y, m_nWidth, 1, source, 0, 0, SRCCOPY);
    }
    Blit(dc, source, nHeight - m_nBottomCapHeight - m_nDownArrowHeight, m_bmpDownArrow, m_nWidth,
         m_nDownArrowHeight);
    Blit(dc, source, nHeight - m_nBottomCapHeight, m_bmpBottomCap, m_nWidth, m_nBottomCapHeight);
    Blit(dc, source, m_nThumbTop, m_bmpThumb, m_nWidth, m_nThumbHeight);
}

void CTavScrollbarV::OnPaint()
{
    CPaintDC validate(this);
    Paint();
}

bool CTavScrollbarV::OnUpArrow(int y) const
{
    return y >= m_nTopCapHeight && y < m_nTopCapHeight + m_nUpArrowHeight;
}

bool CTavScrollbarV::OnDownArrow(int y) const
{
    const int nTop = ClientHeight() - m_nBottomCapHeight - m_nDownArrowHeight;
    return y >= nTop && y < nTop + m_nDownArrowHeight;
}

bool CTavScrollbarV::OnThumb(int y) const
{
    return y >= m_nThumbTop && y < m_nThumbTop + m_nThumbHeight;
}

void CTavScrollbarV::Step(UINT nRequest)
{
    if (!m_pList)
        return;
    m_pList->SendMessage(WM_VSCROLL, MAKEWPARAM(nRequest, 0), 0);
    SyncWithList();
}

void CTavScrollbarV::LineUp() { Step(SB_LINEUP); }

void CTavScrollbarV::LineDown() { Step(SB_LINEDOWN); }

LRESULT CTavScrollbarV::OnLButtonDown(WPARAM, LPARAM lParam)
{
    ::SetCapture(m_hWnd);
    const int y = YFrom(lParam);
    if (OnThumb(y))
        m_bDragging = 1;
    if (OnDownArrow(y))
    {
        m_bDownPressed = 1;
        SetTimer(kStartDelayTimer, kStartDelay);
    }
    if (OnUpArrow(y))
    {
        m_bUpPressed = 1;
        SetTimer(kStartDelayTimer, kStartDelay);
    }
    return Default();
}

LRESULT CTavScrollbarV::OnLButtonUp(WPARAM, LPARAM lParam)
{
    SyncWithList();
    // Releasing the capture clears the pressed state, so it is read first.
    const bool bUpHeld = m_bUpPressed != 0;
    const bool bDownHeld = m_bDownPressed != 0;
    StopArrows();
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();

    const int y = YFrom(lParam);
    if (OnUpArrow(y))
    {
        if (bUpHeld)
            LineUp();
    }
    else if (OnDownArrow(y))
    {
        if (bDownHeld)
            LineDown();
    }
    else if (y < m_nThumbTop || y > m_nThumbTop + m_nThumbHeight)
    {
        Step(y > m_nThumbTop ? SB_PAGEDOWN : SB_PAGEUP);
    }
    m_bDragging = 0;
    return Default();
}

// The second click of a double click counts like the first.
LRESULT CTavScrollbarV::OnLButtonDblClk(WPARAM wParam, LPARAM lParam)
{
    OnLButtonUp(wParam, lParam);
    return OnLButtonDown(wParam, lParam);
}

LRESULT CTavScrollbarV::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (m_bDragging && m_pList)
    {
        m_nThumbTop = YFrom(lParam) - m_nThumbHeight / 2;
        int nPos = 0;
        int nLimit = 0;
        ReadListPosition(nPos, nLimit);
        int nDy = 0;
        if (nLimit > 0)
        {
            m_dPixelsPerStep = static_cast<double>(Travel() - 2) / nLimit;
            const int nTarget = static_cast<int>(
                (m_nThumbTop - m_nTopCapHeight - m_nUpArrowHeight + 1) / m_dPixelsPerStep);
            nDy = (nTarget - nPos) * kDragPixelsPerRow;
        }
        m_pList->SendMessage(LVM_SCROLL, 0, nDy);
        ClampThumb();
        Paint();
    }
    return Default();
}

// A held arrow must not repeat on after the capture went elsewhere (a message box, another
// program): the release would never reach the bar.
LRESULT CTavScrollbarV::OnCaptureChanged(WPARAM, LPARAM)
{
    StopArrows();
    m_bDragging = 0;
    return Default();
}

void CTavScrollbarV::StopArrows()
{
    KillTimer(kStartDelayTimer);
    KillTimer(kRepeatTimer);
    m_bUpPressed = 0;
    m_bDownPressed = 0;
}

void CTavScrollbarV::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kStartDelayTimer)
    {
        if (m_bDownPressed || m_bUpPressed)
        {
            KillTimer(kStartDelayTimer);
            SetTimer(kRepeatTimer, kRepeatInterval);
        }
        return;
    }
    if (nIDEvent == kRepeatTimer)
    {
        if (m_bDownPressed)
            LineDown();
        if (m_bUpPressed)
            LineUp();
    }
}
