// The floor for the start-up and memory figures: a Win32 program that shows one dialog from
// its resource template and exits when the dialog is closed. Nothing else.
//
//   EmptyDialog.exe                 its own empty dialog of the main window's size
//   EmptyDialog.exe PROGRAM.exe ID  dialog template ID of PROGRAM.exe with all its controls
//                                   (the common controls registered, nothing drawn by code)
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cwchar>

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
    HINSTANCE hTemplates = hInstance;
    UINT nTemplate = 1;
    // The C runtime's arguments: CommandLineToArgvW would load shell32 into the floor.
    if (__argc >= 3)
    {
        // Loaded only here, so that the empty dialog itself loads no more than it needs.
        HMODULE hCommonControls = ::LoadLibraryW(L"comctl32.dll");
        using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const auto init = reinterpret_cast<InitFunction>(
            reinterpret_cast<void*>(::GetProcAddress(hCommonControls, "InitCommonControlsEx")));
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
        if (!init || !init(&classes))
            return 2;
        hTemplates = ::LoadLibraryExW(__wargv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
        nTemplate = static_cast<UINT>(std::wcstoul(__wargv[2], nullptr, 10));
        if (!hTemplates)
            return 2;
    }
    return static_cast<int>(
        ::DialogBoxParamW(hTemplates, MAKEINTRESOURCEW(nTemplate), nullptr, EmptyDialogProc, 0));
}
