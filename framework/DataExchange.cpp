#include "framework/DataExchange.h"

#include <stdexcept>

CDataExchange::CDataExchange(CWnd* pDlg, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlg)
{
}

HWND CDataExchange::Find(int id)
{
    HWND control = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
    // A wrong id in DoDataExchange is a programming error worth seeing at once.
    if (!control)
        throw std::invalid_argument("The dialog has no control " + std::to_string(id) + ".");
    m_hWndLast = control;
    return control;
}

void CDataExchange::Control(int id, CWnd& control)
{
    HWND hWnd = Find(id);
    if (control.m_hWnd)
        return;
    if (!control.SubclassWindow(hWnd))
        throw std::runtime_error("Control " + std::to_string(id) + " cannot be subclassed.");
}

void CDataExchange::Text(int id, std::wstring& value)
{
    HWND control = Find(id);
    if (m_bSaveAndValidate)
    {
        int length = ::GetWindowTextLengthW(control);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        int copied = ::GetWindowTextW(control, text.data(), length + 1);
        text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        value = std::move(text);
    }
    else
    {
        ::SetWindowTextW(control, value.c_str());
    }
}

void CDataExchange::MaxChars(int id, int nChars)
{
    HWND control = Find(id);
    if (!m_bSaveAndValidate)
        ::SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
}

void CDataExchange::Check(int id, BOOL& value)
{
    HWND control = Find(id);
    if (m_bSaveAndValidate)
        value = static_cast<BOOL>(::SendMessageW(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void CDataExchange::Fail()
{
    throw CDataExchangeFailure(m_hWndLast);
}
