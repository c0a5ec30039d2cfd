#pragma once
// Files and the progress window for the rates tests.
#include "rates/RatesUpdateDlg.h"

#include "tests/store/StoreTestSupport.h"

#include "framework/ModalSeam.h"

#include <functional>
#include <string>
#include <vector>

bool PathExists(const std::wstring& path);

// What the progress window showed when it went, and how it ended.
struct ProgressRun
{
    INT_PTR dialogResult = -1;
    int downloadResult = -1;
    std::vector<std::wstring> details; // the lines of the details box
    std::wstring caption;
    int progressPos = -1;
};

// DownloadFile over plain HTTP from 127.0.0.1 without a window; whatever the result, it must leave
// nothing of the download open (checked here).
int DownloadWithoutWindow(unsigned short port, const std::wstring& object,
                          const std::wstring& fileName);

// Runs the progress window modally over a download from 127.0.0.1; `shown` gets the window
// once it is up, before the download starts.
ProgressRun RunProgressWindow(unsigned short port, const std::wstring& object,
                              const std::wstring& fileName,
                              std::function<void(HWND)> shown = nullptr);

// Runs the action as a rates progress window shown in its scope goes away: the download is
// over and its file closed, and DownloadRates has not returned yet.
class ScopedProgressWindowEnd
{
public:
    explicit ScopedProgressWindowEnd(std::function<void()> action);
    ScopedProgressWindowEnd(const ScopedProgressWindowEnd&) = delete;
    ScopedProgressWindowEnd& operator=(const ScopedProgressWindowEnd&) = delete;

private:
    static LRESULT CALLBACK WatchDestroy(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    std::function<void()> m_action;
    ScopedModalDialogHandler m_handler;
};

// Deterministic bytes of every value, line ends and NULs included.
std::string MixedBytes(std::size_t count);
