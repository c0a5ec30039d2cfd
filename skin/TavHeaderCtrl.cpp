#include "skin/TavHeaderCtrl.h"

#include "skin/BufferedDC.h"
#include "skin/SkinBitmap.h"

#include "framework/DpiScale.h"

#include "res/resource.h"

namespace
{
constexpr COLORREF kFill = RGB(127, 127, 127);
constexpr int kTextMargin = 2;
constexpr int kMaxText = 255;

void BlitColumn(HDC dc, int x, HDC skin, int width, int height)
{
    ::BitBlt(dc, x, 0, width, height, skin, 0, 0, SRCCOPY);
}
} // namespace

void CTavHeaderCtrl::LoadSkin()
{
    LoadSkinPicture(m_bmpLeftCap, IDB_HEADER_LEFT);
    LoadSkinPicture(m_bmpMiddle, IDB_HEADER_MIDDLE);
    LoadSkinPicture(m_bmpRightCap, IDB_HEADER_RIGHT);
    m_nLeftCapWidth = m_bmpLeftCap.GetSize().cx;
    m_nRightCapWidth = m_bmpRightCap.GetSize().cx;
    m_nStripHeight = m_bmpMiddle.GetSize().cy;
}

// The header grows with its font, but not in step with the scale: at least the skin's strip
// keeps the caption whole at every scale.
LRESULT CTavHeaderCtrl::OnLayout(WPARAM, LPARAM lParam)
{
    const LRESULT result = Default();
    auto* pLayout = reinterpret_cast<HDLAYOUT*>(lParam);
    if (result && pLayout && pLayout->pwpos->cy < m_nStripHeight)
    {
        pLayout->prc->top += m_nStripHeight - pLayout->pwpos->cy;
        pLayout->pwpos->cy = m_nStripHeight;
    }
    return result;
}

void CTavHeaderCtrl::OnPaint()
{
    CPaintDC paint(this);
    RECT client{};
    GetClientRect(&client);
    CBufferedDC dc(paint, client);
    CGdiBrush fill;
    fill.CreateSolidBrush(kFill);
    ::FillRect(dc, &client, fill);

    CMemoryDC skin;
    skin.CreateCompatibleDC(dc);
    {
        CSelectObject middle(skin, m_bmpMiddle);
        DrawMiddleColumns(dc, skin, m_nLeftCapWidth, client.right + m_nLeftCapWidth);
    }
    const int nCount = GetItemCount();
    for (int i = 0; i < nCount; ++i)
        DrawItem(dc, skin, i);
}

void CTavHeaderCtrl::DrawMiddleColumns(HDC dc, HDC skin, int xFirst, int xEnd)
{
    for (int x = xFirst; x < xEnd; ++x)
        BlitColumn(dc, x, skin, 1, m_nStripHeight);
}

void CTavHeaderCtrl::DrawItem(HDC dc, HDC skin, int nIndex)
{
    wchar_t text[kMaxText + 1] = {};
    HDITEMW item{};
    item.mask = HDI_ORDER | HDI_FORMAT | HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = kMaxText + 1;
    GetItem(nIndex, &item);
    RECT rect{};
    GetItemRect(nIndex, &rect);

    if (item.iOrder == 0)
    {
        CSelectObject leftCap(skin, m_bmpLeftCap);
        BlitColumn(dc, rect.left, skin, m_nLeftCapWidth, m_nStripHeight);
    }
    {
        CSelectObject middle(skin, m_bmpMiddle);
        if (item.iOrder != 0)
            BlitColumn(dc, rect.left + 1, skin, 1, m_nStripHeight);
        DrawMiddleColumns(dc, skin, rect.left + m_nLeftCapWidth, rect.right - m_nRightCapWidth);
    }
    {
        CSelectObject rightCap(skin, m_bmpRightCap);
        BlitColumn(dc, rect.right - m_nRightCapWidth, skin, m_nRightCapWidth, m_nStripHeight);
    }
    DrawItemText(dc, rect, text);
}

// Centred on one line whatever the column's alignment; "&" is an ordinary character.
void CTavHeaderCtrl::DrawItemText(HDC dc, const RECT& itemRect, const wchar_t* text)
{
    LOGFONTW logFont{};
    ::GetObjectW(GetFont(), sizeof logFont, &logFont);
    logFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    CGdiFont font;
    font.CreateFontIndirect(logFont);
    CSelectObject selected(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    RECT rect = itemRect;
    ::InflateRect(&rect, -AfxScale(kTextMargin), -AfxScale(kTextMargin));
    ::DrawTextW(dc, text, -1, &rect, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}
