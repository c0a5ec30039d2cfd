// The floor for the start-up and memory figures: a Win32 program that shows one dialog from
// its resource template and exits when the dialog is closed. Nothing else.
#include <windows.h>

namespace
{
INT_PTR CALLBACK EmptyDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM)
{
    switch (message)
    {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
        {
            ::EndDialog(hWnd, 0);
            return TRUE;
        }
        break;
    case WM_CLOSE:
        ::EndDialog(hWnd, 0);
        return TRUE;
    default:
        break;
    }
    return FALSE;
}
} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    return static_cast<int>(
        ::DialogBoxParamW(hInstance, MAKEINTRESOURCEW(1), nullptr, EmptyDialogProc, 0));
}
