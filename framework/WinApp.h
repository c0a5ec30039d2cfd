#pragma once

#include <windows.h>

#include <string>

class CWnd;

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

// The program object. At most one exists; AfxGetApp() finds it, and everything else in the
// framework also works without one.
class CWinApp
{
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // FALSE ends the program without a message loop (a dialog-based program runs its main
    // dialog modally in here).
    virtual BOOL InitInstance();
    // The program's exit code; by default that of the WM_QUIT which ended the loop.
    virtual int ExitInstance();

    // Commands that no window handled end here (BEGIN_MSG_MAP in the derived class). TRUE:
    // handled.
    virtual BOOL ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The program path with its extension replaced by ".HLP".
    std::wstring GetHelpFilePath() const;

    // Gives every CDialog this background (dialog face, static text, check boxes) and text
    // colour from now on.
    void SetDialogBkColor(COLORREF background = RGB(192, 192, 192), COLORREF text = RGB(0, 0, 0));
    // Null until SetDialogBkColor is called.
    HBRUSH GetDialogBkBrush() const { return m_hDialogBkBrush; }
    COLORREF GetDialogBkColor() const { return m_dialogBkColor; }
    COLORREF GetDialogTextColor() const { return m_dialogTextColor; }

    HINSTANCE m_hInstance;
    CWnd* m_pMainWnd = nullptr;

protected:
    int m_nExitCode = 0;

private:
    HBRUSH m_hDialogBkBrush = nullptr;
    COLORREF m_dialogBkColor = 0;
    COLORREF m_dialogTextColor = 0;

    friend int AfxWinMain(HINSTANCE hInstance);
};

CWinApp* AfxGetApp();
// The program's module, even when there is no CWinApp.
HINSTANCE AfxGetInstanceHandle();

// The full path of a module's file without its extension (e.g. C:\Apps\Kalvo); the program
// itself for null. Empty when Windows cannot say.
std::wstring AfxGetModuleBasePath(HMODULE hModule);

// Called by wWinMain: initialises the common controls, runs InitInstance and, if it returns
// TRUE, the message loop; returns ExitInstance().
int AfxWinMain(HINSTANCE hInstance);
