// The source value from the keypad, the keyboard and the clipboard.
#include "app/MainDlg.h"

#include "engine/ValueText.h"

#include <cmath>

namespace
{
bool IsHeld(int nVirtualKey) { return (::GetKeyState(nVirtualKey) & 0x8000) != 0; }
} // namespace

// The value field handles its copy and paste commands itself, so the key is consumed.
BOOL CMainDlg::SendToValueField(UINT nCommand)
{
    m_editValue.SendMessage(WM_COMMAND, nCommand);
    return TRUE;
}

void CMainDlg::OnValueKey(int nCode)
{
    int nSelStart = 0, nSelEnd = 0;
    m_editValue.GetSel(nSelStart, nSelEnd);
    m_ValueEntry.PressKey(nCode, nSelStart, nSelEnd);
    ApplyValue();
    RefreshResultValues();
}

void CMainDlg::ApplyValue()
{
    m_editValue.HideCaret();
    m_editValue.SetWindowText(m_ValueEntry.Text());
    if (m_catalogue.IsOpen())
        RunCatalogueCommand(kNoList, [this] { m_catalogue.StoreValue(m_ValueEntry.Value()); });
}

void CMainDlg::PasteValueText(const std::wstring& strText)
{
    // A number too large for a double (hundreds of digits) would store infinity in every
    // unit of the category: it is refused like text that holds no number.
    double dValue = 0.0;
    if (!ParseNumber(strText, dValue) || !std::isfinite(dValue))
        return;
    m_ValueEntry.SetText(strText);
    OnValueKey(CValueEntry::kRefresh);
}

// The keys that edit the value, whichever control has the focus. Everything else goes on
// to the focused control (letters and the edit's own keys reach the value field itself).
BOOL CMainDlg::TranslateValueKey(const MSG& msg)
{
    if (msg.message == WM_KEYDOWN)
    {
        switch (msg.wParam)
        {
        case VK_BACK:
            OnValueKey(CValueEntry::kBackspace);
            return TRUE;
        case VK_ESCAPE:
            OnValueKey(CValueEntry::kClear);
            return TRUE;
        case 'C':
            if (IsHeld(VK_CONTROL))
                return SendToValueField(ID_EDIT_COPY_TEXT);
            break;
        case 'V':
            if (IsHeld(VK_CONTROL))
                return SendToValueField(ID_EDIT_PASTE_TEXT);
            break;
        case VK_INSERT:
            if (IsHeld(VK_CONTROL))
                return SendToValueField(ID_EDIT_COPY_TEXT);
            if (IsHeld(VK_SHIFT))
                return SendToValueField(ID_EDIT_PASTE_TEXT);
            break;
        }
        return FALSE;
    }
    if (msg.message == WM_CHAR)
    {
        const wchar_t c = static_cast<wchar_t>(msg.wParam);
        if (c == L'+' || c == L'-')
            OnValueKey(CValueEntry::kSign);
        else if (c == L'.')
            OnValueKey(CValueEntry::kPoint);
        else if (c >= L'0' && c <= L'9')
            OnValueKey(c - L'0');
        else
            return FALSE;
        return TRUE;
    }
    return FALSE;
}
