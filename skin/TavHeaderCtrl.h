#pragma once
// A list's column header drawn from three skin bitmaps: a left cap for the first column, a
// right cap for every column and a one-pixel middle tiled between them. All items look the
// same, pressed or not.
#include "framework/Gdi.h"
#include "framework/ListCtrl.h"
#include "framework/MessageMap.h"

class CTavHeaderCtrl : public CHeaderCtrl
{
public:
    void LoadSkin();

protected:
    BEGIN_MSG_MAP(CTavHeaderCtrl)
        ON_WM_PAINT(OnPaint)
        ON_WM_ERASEBKGND(OnEraseBkgnd)
        ON_MESSAGE(HDM_LAYOUT, OnLayout)
    END_MSG_MAP(CHeaderCtrl)

private:
    void OnPaint();
    BOOL OnEraseBkgnd(HDC) { return FALSE; }
    LRESULT OnLayout(WPARAM, LPARAM lParam);
    void DrawItem(HDC dc, HDC skin, int nIndex);
    void DrawMiddleColumns(HDC dc, HDC skin, int xFirst, int xEnd);
    void DrawItemText(HDC dc, const RECT& itemRect, const wchar_t* text);

    CGdiBitmap m_bmpLeftCap, m_bmpMiddle, m_bmpRightCap;
    int m_nLeftCapWidth = 0;
    int m_nRightCapWidth = 0;
    int m_nStripHeight = 0;
};
