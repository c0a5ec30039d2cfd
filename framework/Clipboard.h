#pragma once
// Text on the clipboard: out as Unicode text, in as ANSI text (which Windows synthesises from
// Unicode text in the system code page, and back).
#include <windows.h>

#include <string>

// False, leaving the clipboard alone, when the text is empty or the clipboard is busy.
BOOL CopyTextToClipboard(HWND owner, const std::wstring& text);

// Empty when the clipboard is busy or holds no text.
std::wstring GetClipboardText(HWND owner);
