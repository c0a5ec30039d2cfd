#pragma once
// The skinned vertical bar that stands beside a list in place of its own bar. It reads the
// list's scroll position to place its fixed-size thumb and scrolls the list with the
// ordinary requests; the arrows repeat while held.
#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "framework/MessageMap.h"

class CTavListCtrl;

class CTavScrollbarV : public CStatic
{
public:
    // Loads the bitmaps and creates the bar as a child of `pParent`, right of the list, with
    // the list's top and height (the list must be at its final place).
    BOOL AttachToList(CTavListCtrl* pList, CWnd* pParent);
    bool IsAttachedTo(const CTavListCtrl* pList) const { return m_pList && m_pList == pList; }
    // Places the thumb from the list's position and repaints.
    void SyncWithList();

    // Thumb top in the bar's client coordinates.
    int GetThumbTop() const { return m_nThumbTop; }
    int GetThumbTopMin() const;
    int GetThumbTopMax() const;

protected:
    BEGIN_MSG_MAP(CTavScrollbarV)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_MOUSEWHEEL, OnMouseWheel)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_WM_TIMER(OnTimer)
    ON_WM_PAINT(OnPaint)
    END_MSG_MAP(CStatic)

private:
    LRESULT OnLButtonDown(WPARAM, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM, LPARAM lParam);
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM, LPARAM lParam);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    void OnTimer(UINT_PTR nIDEvent);
    void OnPaint();

    void Paint();
    void LineUp();
    void LineDown();
    void Step(UINT nRequest);
    void StopArrows();
    void ClampThumb();
    // The list's vertical position and the largest position it can take.
    void ReadListPosition(int& nPos, int& nLimit) const;
    int ClientHeight() const;
    int Travel() const;
    int ListRowHeight() const;
    bool OnUpArrow(int y) const;
    bool OnDownArrow(int y) const;
    bool OnThumb(int y) const;

    CTavListCtrl* m_pList = nullptr;
    int m_bUpPressed = 0;
    int m_bDownPressed = 0;
    int m_bDragging = 0;
    int m_bPressed = 0;                // the button went down on the bar itself
    int m_bTrackPressed = 0;           // ... on its track
    UINT m_nPageRequest = SB_PAGEDOWN; // the way a track press pages
    int m_nThumbTop = 0;
    double m_dPixelsPerStep = 0.0;
    CGdiBitmap m_bmpTopCap, m_bmpUpArrow, m_bmpThumb, m_bmpDownArrow, m_bmpBottomCap, m_bmpTrack;
    int m_nWidth = 0;
    int m_nTopCapHeight = 0, m_nUpArrowHeight = 0, m_nThumbHeight = 0, m_nDownArrowHeight = 0,
        m_nBottomCapHeight = 0;
    int m_nTrackHeight = 0;
};

// The horizontal twin: the lists carry one, but no list offers a horizontal bar, so it is
// never attached and never gets a window.
class CTavScrollbarH : public CStatic
{
};
