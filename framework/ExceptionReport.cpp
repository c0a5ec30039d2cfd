#include "framework/ExceptionReport.h"

#include "framework/MessageBox.h"

#include <windows.h>

#include <string>

namespace
{

std::wstring Widen(const char* text)
{
    if (!text || !*text)
        return {};
    // Most of our messages are UTF-8; a stray ANSI string from a library still reads sensibly.
    UINT codePage = CP_UTF8;
    DWORD flags = MB_ERR_INVALID_CHARS;
    int length = ::MultiByteToWideChar(codePage, flags, text, -1, nullptr, 0);
    if (length == 0)
    {
        codePage = CP_ACP;
        flags = 0;
        length = ::MultiByteToWideChar(codePage, flags, text, -1, nullptr, 0);
    }
    if (length <= 1)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, flags, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

void Report(const std::wstring& text) noexcept
{
    try
    {
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
    }
    catch (...)
    {
        // Nothing more can be done from inside a callback; the caller carries on.
    }
}

} // namespace

void ReportException(const std::exception& e) noexcept
{
    if (dynamic_cast<const std::bad_alloc*>(&e))
    {
        Report(L"Out of memory.");
        return;
    }
    try
    {
        std::wstring text = Widen(e.what());
        Report(text.empty() ? L"An unexpected error occurred." : text);
    }
    catch (...)
    {
        Report(L"Out of memory.");
    }
}

void ReportUnknownException() noexcept
{
    Report(L"An unexpected error occurred.");
}
