#include "framework/ToolTipCtrl.h"

#include <commctrl.h>

namespace
{

// The classic size: the program runs with version 5 common controls (no manifest), which
// reject the larger structure of version 6.
TOOLINFOW ToolInfo(HWND tool, const std::wstring* text)
{
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = ::GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    if (text)
        info.lpszText = const_cast<wchar_t*>(text->c_str());
    return info;
}

} // namespace

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    RECT rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    return CreateEx(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, rect, parent, 0);
}

BOOL CToolTipCtrl::AddTool(HWND tool, const std::wstring& text)
{
    if (!tool)
        return FALSE;
    TOOLINFOW info = ToolInfo(tool, &text);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::UpdateTipText(const std::wstring& text, HWND tool)
{
    if (!tool)
        return;
    TOOLINFOW info = ToolInfo(tool, &text);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::Activate(BOOL activate)
{
    SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(activate));
}

void CToolTipCtrl::RelayEvent(MSG* msg)
{
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

int AfxCopyTipTextA(const std::wstring& text, char* pBuffer, int nBufferBytes, UINT codePage)
{
    if (nBufferBytes <= 0)
        return 0;
    for (int nChars = static_cast<int>(text.size()); nChars > 0; --nChars)
    {
        // Never half of a surrogate pair.
        if (IS_HIGH_SURROGATE(text[static_cast<std::size_t>(nChars) - 1]))
            continue;
        const int nBytes = ::WideCharToMultiByte(codePage, 0, text.data(), nChars, nullptr, 0,
                                                 nullptr, nullptr);
        if (nBytes > 0 && nBytes < nBufferBytes)
        {
            ::WideCharToMultiByte(codePage, 0, text.data(), nChars, pBuffer, nBytes, nullptr,
                                  nullptr);
            pBuffer[nBytes] = '\0';
            return nBytes;
        }
    }
    pBuffer[0] = '\0';
    return 0;
}
