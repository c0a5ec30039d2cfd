// The result list's tooltip: "unit: value" of the row under the pointer.
#include "skin/SkinOwner.h"
#include "skin/TavListCtrl.h"

#include "engine/ValueText.h"

#include "framework/ToolTipCtrl.h"

#include <algorithm>
#include <string>

namespace
{
constexpr UINT_PTR kToolId = 1;
constexpr int kValueWidth = 64;
// The notification's own buffer holds 80 characters with the terminator.
constexpr std::size_t kMaxTipChars = 79;

// The row found by the previous hit test, over all result lists.
int g_nPreviousHitRow = -1;
} // namespace

void CTavListCtrl_Result::PreSubclassWindow()
{
    CTavListCtrl::PreSubclassWindow();
    EnableToolTips(TRUE);
}

// Only the rows on the page are tested.
int CTavListCtrl_Result::RowAtClientPoint(POINT point, RECT& bounds) const
{
    const int nTop = static_cast<int>(SendMessage(LVM_GETTOPINDEX));
    const int nEnd = std::min(nTop + static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)),
                              GetItemCount());
    for (int nRow = std::max(nTop, 0); nRow < nEnd; ++nRow)
    {
        if (GetItemRect(nRow, &bounds, LVIR_BOUNDS) && ::PtInRect(&bounds, point))
            return nRow;
    }
    return -1;
}

// A new row first answers "no tool", which closes the previous row's tip; the next test on
// that row opens its own.
INT_PTR CTavListCtrl_Result::OnToolHitTest(POINT point, TOOLINFOW* pTool) const
{
    RECT bounds{};
    const int nRow = RowAtClientPoint(point, bounds);
    if (nRow != g_nPreviousHitRow)
    {
        g_nPreviousHitRow = nRow;
        return -1;
    }
    if (nRow < 0)
        return -1;
    pTool->hwnd = m_hWnd;
    pTool->uId = kToolId;
    pTool->lpszText = LPSTR_TEXTCALLBACKW;
    pTool->rect = bounds;
    m_nTipItem = nRow;
    return 1;
}

BOOL CTavListCtrl_Result::OnToolTipText(UINT nId, NMHDR* pNotify, LRESULT* pResult)
{
    if (nId == 0 || m_nTipItem < 0)
        return FALSE;
    auto* pOwner = dynamic_cast<ISkinOwner*>(GetParent());
    std::wstring strName;
    double dValue = 0.0;
    if (!pOwner || !pOwner->ReadResultUnit(GetItemData(m_nTipItem), strName, dValue))
        return FALSE;
    // A value of exactly 0 gets no tooltip.
    if (dValue == 0.0)
        return FALSE;
    std::wstring strTip = strName + L": " + FormatValue(dValue, kValueWidth);
    if (strTip.size() > kMaxTipChars)
        strTip.resize(kMaxTipChars);

    if (pNotify->code == TTN_NEEDTEXTA)
    {
        auto* pText = reinterpret_cast<NMTTDISPINFOA*>(pNotify);
        pText->lpszText = pText->szText;
        pText->hinst = nullptr;
        AfxCopyTipTextA(strTip, pText->szText, static_cast<int>(sizeof pText->szText));
    }
    else
    {
        auto* pText = reinterpret_cast<NMTTDISPINFOW*>(pNotify);
        pText->lpszText = pText->szText;
        pText->hinst = nullptr;
        strTip.copy(pText->szText, kMaxTipChars);
        pText->szText[strTip.size()] = L'\0';
    }
    *pResult = 0;
    return TRUE;
}
