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

// Fills the fixed byte buffer of a TTN_NEEDTEXTA answer with `text` in `codePage`, cut after
// the last whole character that fits with its terminator (a double-byte code page takes up
// to two bytes a character). Returns the bytes written before the terminator.
int AfxCopyTipTextA(const std::wstring& text, char* pBuffer, int nBufferBytes,
                    UINT codePage = CP_ACP);
