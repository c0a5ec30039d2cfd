#include "skin/TavScrollbar.h"

#include "skin/BufferedDC.h"
#include "skin/SkinBitmap.h"
#include "skin/TavListCtrl.h"

#include "framework/DpiScale.h"

#include "res/resource.h"

#include <algorithm>

namespace
{
constexpr UINT kBarId = 0xFFFF;
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT_PTR kStartDelayTimer = 2;
constexpr UINT kRepeatInterval = 50;
constexpr UINT kStartDelay = 250;
// A list's row height before it has a row to measure.
constexpr int kDefaultRowHeight = 13; // at 96 DPI
constexpr COLORREF kFill = RGB(127, 127, 127);

int HeightOf(const CGdiBitmap& bitmap)
{
    return bitmap.GetSize().cy;
}

int YFrom(LPARAM lParam)
{
    return static_cast<short>(HIWORD(lParam));
}

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
    LoadSkinPicture(m_bmpTopCap, IDB_SCROLL_TOP);
    LoadSkinPicture(m_bmpUpArrow, IDB_SCROLL_UP);
    LoadSkinPicture(m_bmpThumb, IDB_SCROLL_THUMB);
    LoadSkinPicture(m_bmpDownArrow, IDB_SCROLL_DOWN);
    LoadSkinPicture(m_bmpBottomCap, IDB_SCROLL_BOTTOM);
    LoadSkinPicture(m_bmpTrack, IDB_SCROLL_TRACK);
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
    // Exactly the list's height, whatever the scale and the frame thickness.
    const RECT bar{list.right, list.top, list.right + m_nWidth, list.bottom};
    return CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOTIFY, bar, pParent,
                    kBarId);
}

int CTavScrollbarV::ClientHeight() const
{
    RECT client{};
    GetClientRect(&client);
    return client.bottom - client.top;
}

int CTavScrollbarV::GetThumbTopMin() const
{
    return m_nTopCapHeight + m_nUpArrowHeight - 1;
}

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

// The list scrolls by whole rows of its own height (14 pixels in the unit and result lists,
// 17 in the category list), so a drag converts pixels with the measured row.
int CTavScrollbarV::ListRowHeight() const
{
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (!m_pList ||
        !::SendMessageW(m_pList->m_hWnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)) ||
        row.bottom <= row.top)
        return AfxScale(kDefaultRowHeight);
    return row.bottom - row.top;
}

void CTavScrollbarV::SyncWithList()
{
    // While the user drags, the thumb is where the pointer put it; the list's paints must
    // not pull it back to the list's whole-row position.
    if (m_bDragging)
        return;
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

void CTavScrollbarV::LineUp()
{
    Step(SB_LINEUP);
}

void CTavScrollbarV::LineDown()
{
    Step(SB_LINEDOWN);
}

LRESULT CTavScrollbarV::OnLButtonDown(WPARAM, LPARAM lParam)
{
    ::SetCapture(m_hWnd);
    const int y = YFrom(lParam);
    m_bPressed = 1;
    // A track press pages toward the pointer, and only that way however often it repeats.
    m_bTrackPressed = !OnThumb(y) && !OnUpArrow(y) && !OnDownArrow(y);
    m_nPageRequest = y > m_nThumbTop ? SB_PAGEDOWN : SB_PAGEUP;
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
    // A drag leaves the thumb where it was released.
    const bool bDragged = m_bDragging != 0;
    m_bDragging = 0;
    if (!bDragged)
        SyncWithList();
    // Releasing the capture clears the pressed state, so it is read first.
    const bool bPressed = m_bPressed != 0;
    const bool bTrackPressed = m_bTrackPressed != 0;
    const bool bUpHeld = m_bUpPressed != 0;
    const bool bDownHeld = m_bDownPressed != 0;
    m_bPressed = 0;
    StopArrows();
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();

    const int y = YFrom(lParam);
    if (!bPressed || bDragged)
        return Default(); // pressed elsewhere, or a drag: nothing to page
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
    else
    {
        const UINT nRequest = bTrackPressed     ? m_nPageRequest
                              : y > m_nThumbTop ? SB_PAGEDOWN
                                                : SB_PAGEUP;
        if (nRequest == SB_PAGEDOWN ? y > m_nThumbTop + m_nThumbHeight : y < m_nThumbTop)
            Step(nRequest);
    }
    return Default();
}

// The second press of a double click counts like the first; its release then acts, paging
// the way the first click did or not at all, never back.
LRESULT CTavScrollbarV::OnLButtonDblClk(WPARAM wParam, LPARAM lParam)
{
    const UINT nFirstRequest = m_nPageRequest;
    const LRESULT result = OnLButtonDown(wParam, lParam);
    m_nPageRequest = nFirstRequest;
    return result;
}

// The wheel over the bar scrolls its list, as over the list itself.
LRESULT CTavScrollbarV::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    if (m_pList)
    {
        m_pList->SendMessage(WM_MOUSEWHEEL, wParam, lParam);
        SyncWithList();
    }
    return 0;
}

// Paint covers every pixel: erasing first with the dialog's brush would flash.
LRESULT CTavScrollbarV::OnEraseBkgnd(WPARAM, LPARAM)
{
    return TRUE;
}

LRESULT CTavScrollbarV::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (m_bDragging && m_pList)
    {
        m_nThumbTop = YFrom(lParam) - m_nThumbHeight / 2;
        ClampThumb();
        int nPos = 0;
        int nLimit = 0;
        ReadListPosition(nPos, nLimit);
        int nDy = 0;
        if (nLimit > 0 && Travel() > 0)
        {
            // The inverse of SyncWithList's placement, to the nearest whole row.
            m_dPixelsPerStep = static_cast<double>(Travel()) / nLimit;
            const int nTarget = std::min(
                nLimit,
                static_cast<int>((m_nThumbTop - GetThumbTopMin()) / m_dPixelsPerStep + 0.5));
            nDy = (nTarget - nPos) * ListRowHeight();
        }
        m_pList->SendMessage(LVM_SCROLL, 0, nDy);
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
    m_bPressed = 0;
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
