#pragma once

#include "framework/Wnd.h"

#include <string>

// A tooltip window owned by this object. Tools are identified by their window; the program
// forwards mouse messages itself with RelayEvent (no TTF_SUBCLASS).
class CToolTipCtrl : public CWnd
{
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    BOOL AddTool(HWND tool, const std::wstring& text);
    BOOL AddTool(CWnd* tool, const std::wstring& text)
    {
        return AddTool(tool ? tool->m_hWnd : nullptr, text);
    }
    void UpdateTipText(const std::wstring& text, HWND tool);
    void UpdateTipText(const std::wstring& text, CWnd* tool)
    {
        UpdateTipText(text, tool ? tool->m_hWnd : nullptr);
    }
    void Activate(BOOL activate);
    void RelayEvent(MSG* msg);
};
