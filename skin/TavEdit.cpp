#include "skin/TavEdit.h"

#include "skin/SkinOwner.h"

#include "framework/Clipboard.h"
#include "framework/Menu.h"

namespace
{
// Hidden and shown again, so the field repaints over the skin behind it.
void RepaintOverSkin(CWnd& field)
{
    field.ShowWindow(SW_HIDE);
    field.ShowWindow(SW_SHOW);
}

// A keyboard request (-1, -1) opens the menu at the field's top-left corner.
POINT MenuPoint(const CWnd& field, POINT point)
{
    if (point.x == -1 && point.y == -1)
    {
        point = POINT{0, 0};
        field.ClientToScreen(&point);
    }
    return point;
}

HWND MainWindowOf(const CWnd& field) { return ::GetAncestor(field.m_hWnd, GA_ROOT); }

// The fields' pop-up menu: Copy, and Paste for the value field; the field gets the command.
void TrackEditMenu(CWnd& field, POINT point, bool bWithPaste, bool bCanPaste)
{
    field.SetFocus();
    CMenu menu;
    menu.CreatePopupMenu();
    const bool bEmpty = field.GetWindowText().empty();
    menu.AppendMenu(MF_STRING | (bEmpty ? MF_GRAYED : 0), ID_EDIT_COPY_TEXT, L"&Copy");
    if (bWithPaste)
        menu.AppendMenu(MF_STRING | (bCanPaste ? 0 : MF_GRAYED), ID_EDIT_PASTE_TEXT, L"&Paste");
    point = MenuPoint(field, point);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, &field);
}
} // namespace

CTavEditLCD::CTavEditLCD()
    : m_crBack(::GetSysColor(COLOR_BTNFACE)), m_crText(::GetSysColor(COLOR_WINDOWTEXT))
{
    m_brBack.CreateSolidBrush(m_crBack);
}

void CTavEditLCD::SetBackColor(COLORREF color)
{
    m_crBack = color;
    m_brBack.CreateSolidBrush(m_crBack);
    if (IsWindow())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CTavEditLCD::OnSetFocus(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    HideCaret();
    return result;
}

LRESULT CTavEditLCD::OnKillFocus(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    RepaintOverSkin(*this);
    return result;
}

LRESULT CTavEditLCD::OnCtlColor(WPARAM wParam, LPARAM)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetBkColor(dc, m_crBack);
    ::SetTextColor(dc, m_crText);
    return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_brBack));
}

void CTavEditLCD::OnContextMenu(HWND, POINT point)
{
    const bool bCanPaste = ::IsClipboardFormatAvailable(CF_TEXT) && !(GetStyle() & ES_READONLY);
    TrackEditMenu(*this, point, true, bCanPaste);
}

std::wstring CTavEditLCD::SelectedOrWholeText() const
{
    const std::wstring text = GetWindowText();
    int nStart = 0, nEnd = 0;
    GetSel(nStart, nEnd);
    if (nStart < nEnd && static_cast<std::size_t>(nEnd) <= text.size())
        return text.substr(nStart, nEnd - nStart);
    return text;
}

void CTavEditLCD::OnCopy() { CopyTextToClipboard(MainWindowOf(*this), SelectedOrWholeText()); }

// A paste over a selection replaces the selected part of the text as shown.
void CTavEditLCD::OnPaste()
{
    std::wstring text = GetClipboardText(MainWindowOf(*this));
    int nStart = 0, nEnd = 0;
    GetSel(nStart, nEnd);
    const std::wstring shown = GetWindowText();
    if (nStart < nEnd && static_cast<std::size_t>(nEnd) <= shown.size())
        text = shown.substr(0, nStart) + text + shown.substr(nEnd);
    if (auto* pOwner = dynamic_cast<ISkinOwner*>(GetParent()))
        pOwner->PasteValueText(text);
}

CTavEditTransparent::CTavEditTransparent()
    : m_crBack(::GetSysColor(COLOR_BTNFACE)), m_crText(::GetSysColor(COLOR_WINDOWTEXT))
{
}

void CTavEditTransparent::SetTextColor(COLORREF color)
{
    m_crText = color;
    if (IsWindow())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CTavEditTransparent::OnKillFocus(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    RepaintOverSkin(*this);
    return result;
}

LRESULT CTavEditTransparent::OnCtlColor(WPARAM wParam, LPARAM)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_crText);
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

void CTavEditTransparent::OnContextMenu(HWND, POINT point) { TrackEditMenu(*this, point, false, false); }

void CTavEditTransparent::OnCopy() { CopyTextToClipboard(MainWindowOf(*this), GetWindowText()); }
