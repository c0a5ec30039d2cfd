#pragma once

#include <windows.h>

#include <string>

// The program's message box: caption "Kalvo", an exclamation icon unless `type` names another,
// owned by the thread's active window (or the main window). Goes through the modal seam.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK);
