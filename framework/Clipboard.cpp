#include "framework/Clipboard.h"

#include <cstring>

namespace
{
// Closes the clipboard however the operation ends.
class ClipboardScope
{
public:
    explicit ClipboardScope(HWND owner) : m_open(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardScope()
    {
        if (m_open)
            ::CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};
} // namespace

BOOL CopyTextToClipboard(HWND owner, const std::wstring& text)
{
    if (text.empty())
        return FALSE;
    ClipboardScope clipboard(owner);
    if (!clipboard.IsOpen())
        return FALSE;
    ::EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, bytes);
    if (!memory)
        return FALSE;
    void* data = ::GlobalLock(memory);
    std::memcpy(data, text.c_str(), bytes);
    ::GlobalUnlock(memory);
    if (!::SetClipboardData(CF_UNICODETEXT, memory))
    {
        ::GlobalFree(memory);
        return FALSE;
    }
    return TRUE;
}

std::wstring GetClipboardText(HWND owner)
{
    ClipboardScope clipboard(owner);
    if (!clipboard.IsOpen())
        return std::wstring();
    HANDLE memory = ::GetClipboardData(CF_TEXT);
    if (!memory)
        return std::wstring();
    const char* bytes = static_cast<const char*>(::GlobalLock(memory));
    if (!bytes)
        return std::wstring();
    const SIZE_T capacity = ::GlobalSize(memory);
    const int length = static_cast<int>(strnlen(bytes, capacity));
    std::wstring text;
    const int wide = ::MultiByteToWideChar(CP_ACP, 0, bytes, length, nullptr, 0);
    if (wide > 0)
    {
        text.resize(wide);
        ::MultiByteToWideChar(CP_ACP, 0, bytes, length, text.data(), wide);
    }
    ::GlobalUnlock(memory);
    return text;
}
