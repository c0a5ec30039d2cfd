#include "skin/TavListCtrl.h"

#include "skin/BufferedDC.h"

#include "framework/FlatScrollBar.h"

#include <commctrl.h>

#include <algorithm>

namespace
{
// Whether the row being drawn was drawn as focused-selected: set at its pre-paint, read at
// its post-paint. Rows are painted one at a time on the one user-interface thread.
bool g_bDrawnFocusedSelected = false;
} // namespace

CTavListCtrl::CTavListCtrl()
    : m_clrText(RGB(0, 0, 0)), m_clrBack(RGB(255, 255, 231)), m_clrSelText(RGB(255, 255, 255)),
      m_clrSelBack(RGB(37, 100, 139))
{
}

void CTavListCtrl::PreSubclassWindow()
{
    HWND hHeader = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (hHeader)
        m_Header.SubclassWindow(hHeader);
}

void CTavListCtrl::InitSkin()
{
    // Where the flat scroll bar properties work they shrink the list's own bars to nothing;
    // Wine's common controls ignore them, so the frame calculation (WM_NCCALCSIZE) also gives
    // the bars' room back to the client. Either way the list keeps its own scroll range and
    // position, and its styles are never touched: the list view re-adds its bars when they are.
    AfxInitializeFlatSB(m_hWnd);
    for (int nProperty : {WSB_PROP_CXHSCROLL, WSB_PROP_CXVSCROLL, WSB_PROP_CXHTHUMB,
                          WSB_PROP_CYHSCROLL, WSB_PROP_CYVSCROLL, WSB_PROP_CYVTHUMB})
        AfxFlatSB_SetScrollProp(m_hWnd, static_cast<UINT>(nProperty), 0, FALSE);
    AfxFlatSB_EnableScrollBar(m_hWnd, SB_BOTH, ESB_DISABLE_BOTH);
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    m_Header.LoadSkin();
    m_ScrollV.AttachToList(this, GetParent());
}

// The list shows its own bars whenever its rows outgrow it. The frame is laid out as usual,
// then the client takes back the bars' room, never more than the frame without bars leaves,
// so the bars neither show nor take input (hit tests there answer HTCLIENT).
LRESULT CTavListCtrl::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    RECT& rect = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                        : *reinterpret_cast<RECT*>(lParam);
    const RECT window = rect;
    const LRESULT result = Default();

    const DWORD dwStyle = GetStyle();
    RECT border{};
    ::AdjustWindowRectEx(&border, dwStyle & ~(WS_VSCROLL | WS_HSCROLL), FALSE, GetExStyle());
    if (dwStyle & WS_VSCROLL)
        rect.right = (std::min)(rect.right + ::GetSystemMetrics(SM_CXVSCROLL),
                                window.right - border.right);
    if (dwStyle & WS_HSCROLL)
        rect.bottom = (std::min)(rect.bottom + ::GetSystemMetrics(SM_CYHSCROLL),
                                 window.bottom - border.bottom);
    return result;
}

void CTavListCtrl::SyncScrollBar()
{
    if (m_ScrollV.IsAttachedTo(this))
        m_ScrollV.SyncWithList();
}

void CTavListCtrl::OnPaint()
{
    CPaintDC paint(this);
    RECT client{};
    GetClientRect(&client);
    CBufferedDC buffer(paint, client);

    // The header is a child window that paints itself; the copy must not cover it.
    RECT header{};
    m_Header.GetWindowRect(&header);
    ScreenToClient(&header);
    ::ExcludeClipRect(paint, header.left, header.top, header.right, header.bottom);

    RECT clip{};
    ::GetClipBox(buffer, &clip);
    CGdiBrush background;
    background.CreateSolidBrush(m_clrBack);
    ::FillRect(buffer, &clip, background);
    SendMessage(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(m_clrText));
    SendMessage(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(m_clrBack));
    SyncScrollBar();
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(static_cast<HDC>(buffer)), 0);
}

BOOL CTavListCtrl::OnEraseBkgnd(HDC)
{
    SyncScrollBar();
    return FALSE;
}

// The bar catches up at the paint that the scroll causes.
LRESULT CTavListCtrl::OnScrollingInput(WPARAM, LPARAM)
{
    SyncScrollBar();
    return Default();
}

void CTavListCtrl::SetSelectedState(int nItem, UINT nState)
{
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = nState;
    m_bPaintingSelection = TRUE;
    SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item));
    m_bPaintingSelection = FALSE;
}

// The focused selection in the program's own colours: the control would paint its highlight
// over them, so the selection is taken off while the row is drawn and put back after.
void CTavListCtrl::OnCustomDraw(NMHDR* pNotify, LRESULT* pResult)
{
    auto* pDraw = reinterpret_cast<NMLVCUSTOMDRAW*>(pNotify);
    *pResult = CDRF_DODEFAULT;
    switch (pDraw->nmcd.dwDrawStage)
    {
    case CDDS_PREPAINT:
        *pResult = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT:
    {
        const int nItem = static_cast<int>(pDraw->nmcd.dwItemSpec);
        g_bDrawnFocusedSelected =
            (GetItemState(nItem, LVIS_SELECTED) & LVIS_SELECTED) && ::GetFocus() == m_hWnd;
        if (g_bDrawnFocusedSelected)
        {
            pDraw->clrText = m_clrSelText;
            pDraw->clrTextBk = m_clrSelBack;
            // Some list controls take the highlight from the state they reported here, not
            // from the row: both are cleared.
            pDraw->nmcd.uItemState &= ~CDIS_SELECTED;
            SetSelectedState(-1, 0);
            *pResult = CDRF_NOTIFYPOSTPAINT;
        }
        break;
    }
    case CDDS_ITEMPOSTPAINT:
        if (g_bDrawnFocusedSelected)
            SetSelectedState(static_cast<int>(pDraw->nmcd.dwItemSpec), LVIS_SELECTED);
        break;
    default:
        break;
    }
}
