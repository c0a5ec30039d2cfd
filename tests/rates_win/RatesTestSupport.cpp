#include "tests/rates_win/RatesTestSupport.h"

#include "framework/ModalSeam.h"
#include "rates/RatesSession.h"

#include "res/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>

bool PathExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace
{
ProgressRun* g_run = nullptr;

// Reads the window's state as it goes, while its children still exist.
LRESULT CALLBACK WatchDestroy(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                              DWORD_PTR)
{
    if (msg == WM_DESTROY && g_run)
    {
        wchar_t caption[256] = {};
        ::GetWindowTextW(hWnd, caption, 256);
        g_run->caption = caption;
        HWND details = ::GetDlgItem(hWnd, IDC_RATES_DETAILS);
        std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(details)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            ::GetWindowTextW(details, text.data(), static_cast<int>(text.size()))));
        std::size_t start = 0;
        while (start < text.size())
        {
            const std::size_t end = text.find(L"\r\n", start);
            if (end == std::wstring::npos)
            {
                g_run->details.push_back(text.substr(start));
                break;
            }
            g_run->details.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        g_run->progressPos = static_cast<int>(
            ::SendMessageW(::GetDlgItem(hWnd, IDC_RATES_PROGRESS), PBM_GETPOS, 0, 0));
        ::RemoveWindowSubclass(hWnd, WatchDestroy, id);
    }
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}
} // namespace

int DownloadWithoutWindow(unsigned short port, const std::wstring& object,
                          const std::wstring& fileName)
{
    CRatesSession controller(nullptr);
    const int result = controller.DownloadFile(L"Kalvo", L"127.0.0.1", object, port, false, fileName);
    EXPECT_FALSE(controller.m_pSession);
    EXPECT_FALSE(controller.m_pConnection);
    EXPECT_FALSE(controller.m_pRequest);
    return result;
}

ProgressRun RunProgressWindow(unsigned short port, const std::wstring& object,
                              const std::wstring& fileName, std::function<void(HWND)> shown)
{
    ProgressRun run;
    CRatesUpdateDlg dlg;
    dlg.m_strServer = L"127.0.0.1";
    dlg.m_nPort = port;
    dlg.m_bSecure = false;
    dlg.m_strObject = object;
    dlg.m_strFileName = fileName;
    g_run = &run;
    {
        ScopedModalDialogHandler handler(
            [&](CDialog& dialog)
            {
                if (&dialog != &dlg)
                    return;
                ::SetWindowSubclass(dlg.m_hWnd, WatchDestroy, 1, 0);
                if (shown)
                    shown(dlg.m_hWnd);
            });
        run.dialogResult = dlg.DoModal();
    }
    g_run = nullptr;
    run.downloadResult = dlg.m_nDownloadResult;
    return run;
}

ScopedProgressWindowEnd::ScopedProgressWindowEnd(std::function<void()> action)
    : m_action(std::move(action)),
      m_handler(
          [this](CDialog& dialog)
          {
              if (dialog.GetTemplateID() == IDD_RATES_PROGRESS)
                  ::SetWindowSubclass(dialog.m_hWnd, WatchDestroy, 2,
                                      reinterpret_cast<DWORD_PTR>(this));
          })
{
}

LRESULT CALLBACK ScopedProgressWindowEnd::WatchDestroy(HWND hWnd, UINT msg, WPARAM wParam,
                                                       LPARAM lParam, UINT_PTR id, DWORD_PTR self)
{
    if (msg == WM_DESTROY)
    {
        ::RemoveWindowSubclass(hWnd, WatchDestroy, id);
        reinterpret_cast<ScopedProgressWindowEnd*>(self)->m_action();
    }
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}

std::string MixedBytes(std::size_t count)
{
    std::string bytes(count, '\0');
    unsigned state = 12345;
    for (std::size_t i = 0; i < count; ++i)
    {
        state = state * 1103515245u + 12345u;
        bytes[i] = static_cast<char>(state >> 16);
        if (i % 97 == 0)
            bytes[i] = '\n';
        if (i % 89 == 0)
            bytes[i] = '\r';
    }
    return bytes;
}
