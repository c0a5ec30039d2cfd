// Prints the clipboard's sequence number on one line and its text (UTF-8) after it, for the
// end-to-end tests. Read inside Wine, the clipboard is the one the program wrote; through X
// it would depend on Wine handing the selection over from whichever X program held it last.
#include <windows.h>

#include <cstdio>
#include <string>

namespace
{
std::string ClipboardText()
{
    // The program under test may hold the clipboard open for a moment.
    bool bOpen = false;
    for (int attempt = 0; attempt < 50 && !bOpen; ++attempt)
    {
        bOpen = ::OpenClipboard(nullptr) != FALSE;
        if (!bOpen)
            ::Sleep(20);
    }
    if (!bOpen)
        return {};
    std::string text;
    if (HANDLE hData = ::GetClipboardData(CF_UNICODETEXT))
    {
        if (const auto* wide = static_cast<const wchar_t*>(::GlobalLock(hData)))
        {
            const int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr,
                                                     nullptr);
            if (nBytes > 1)
            {
                text.resize(static_cast<std::size_t>(nBytes));
                ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), nBytes, nullptr,
                                      nullptr);
                text.resize(static_cast<std::size_t>(nBytes - 1));
            }
            ::GlobalUnlock(hData);
        }
    }
    ::CloseClipboard();
    return text;
}
} // namespace

int main()
{
    const DWORD nSequence = ::GetClipboardSequenceNumber();
    std::printf("%lu\n%s", static_cast<unsigned long>(nSequence), ClipboardText().c_str());
    return 0;
}
