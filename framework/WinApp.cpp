#include "framework/WinApp.h"

#include "framework/CommonControls.h"
#include "framework/ExceptionReport.h"
#include "framework/ToolTipFilter.h"
#include "framework/Wnd.h"

namespace
{

CWinApp* g_app = nullptr;

bool IsDialogWindow(HWND hWnd)
{
    wchar_t className[16] = {};
    ::GetClassNameW(hWnd, className, 16);
    return ::lstrcmpW(className, L"#32770") == 0;
}

int RunMessageLoop()
{
    MSG msg{};
    for (;;)
    {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(msg.wParam);
        if (got == -1)
            return -1;
        AfxFilterToolTipMessage(&msg);
        if (GuardCallback<BOOL>(FALSE, [&] { return CWnd::WalkPreTranslateTree(nullptr, &msg); }))
            continue;
        // Keyboard navigation for whichever modeless dialog the message belongs to.
        HWND top = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (top && IsDialogWindow(top) && ::IsDialogMessageW(top, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace

CWinApp::CWinApp() : m_hInstance(::GetModuleHandleW(nullptr))
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
    if (m_hDialogBkBrush)
        ::DeleteObject(m_hDialogBkBrush);
}

void CWinApp::SetDialogBkColor(COLORREF background, COLORREF text)
{
    HBRUSH brush = ::CreateSolidBrush(background);
    if (!brush)
        return;
    if (m_hDialogBkBrush)
        ::DeleteObject(m_hDialogBkBrush);
    m_hDialogBkBrush = brush;
    m_dialogBkColor = background;
    m_dialogTextColor = text;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return m_nExitCode;
}

BOOL CWinApp::ProcessMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return FALSE;
}

std::wstring AfxGetModuleBasePath(HMODULE hModule)
{
    // Grown until the whole path fits: a program may live deeper than MAX_PATH.
    std::wstring path(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD length =
            ::GetModuleFileNameW(hModule, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size())
        {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t dot = path.find_last_of(L'.');
    const size_t slash = path.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash))
        path.erase(dot);
    return path;
}

std::wstring CWinApp::GetHelpFilePath() const
{
    const std::wstring path = AfxGetModuleBasePath(m_hInstance);
    return path.empty() ? path : path + L".HLP";
}

CWinApp* AfxGetApp()
{
    return g_app;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_app ? g_app->m_hInstance : ::GetModuleHandleW(nullptr);
}

int AfxWinMain(HINSTANCE hInstance)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    // wWinMain is called by the C runtime: an exception escaping here would end the program
    // without a word.
    return GuardCallback<int>(-1,
                              [&]
                              {
                                  if (hInstance)
                                      app->m_hInstance = hInstance;
                                  AfxInitCommonControls();
                                  if (!app->InitInstance())
                                      return app->ExitInstance();
                                  app->m_nExitCode = RunMessageLoop();
                                  return app->ExitInstance();
                              });
}
