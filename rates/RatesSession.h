#pragma once
// The rates download over HTTP. One object is the download's controller; it owns a second
// one that is the network session proper. The progress window runs the controller on a
// worker thread: every blocking network call is made there, and what the window shows is
// posted to it.
#include "framework/Internet.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

class CRatesUpdateDlg;

class CRatesSession : public CInternetSession
{
public:
    // The controller; a null dialog reports nothing.
    explicit CRatesSession(CRatesUpdateDlg* pDialog);
    // The inner session, opened under the agent name.
    CRatesSession(const std::wstring& strAgent, CRatesUpdateDlg* pDialog);
    ~CRatesSession() override;

    void OnStatusCallback(DWORD_PTR context, DWORD internetStatus, LPVOID statusInformation,
                          DWORD statusInformationLength) override;

    // An HTTP status (200 once the whole body is in the file), 0 for a failure without a
    // usable status, or 500 when the user stopped the download. With bSecure the request
    // goes over TLS and the server's certificate must pass.
    int DownloadFile(const std::wstring& strAgent, const std::wstring& strServer,
                     const std::wstring& strObject, INTERNET_PORT nPort, bool bSecure,
                     const std::wstring& strFileName);
    // Closes the request, the connection and the inner session, and marks the download
    // stopped. Only on the thread that runs DownloadFile.
    void CloseAll();
    // From any thread: marks the download stopped and closes the inner session's handle,
    // which makes most network calls under way fail at once (a wait for an answer may last
    // until its timeout). The objects stay for CloseAll.
    void Stop();
    // From any thread: nothing more reaches the dialog, which may go away now.
    void DetachDialog();
    // The line must outlive the window (the status lines are literals).
    void ReportStatus(const wchar_t* line);
    // Wakes the dialog's wait for the end of the download.
    void ReportEnd();

    CRatesUpdateDlg* m_pDialog; // not owned
    std::unique_ptr<CRatesSession> m_pSession;
    std::unique_ptr<CHttpConnection> m_pConnection;
    std::unique_ptr<CHttpFile> m_pRequest;
    std::atomic<int> m_bStop{0};

private:
    void OpenSession(const std::wstring& strAgent);
    DWORD SendRequest(const std::wstring& strServer, const std::wstring& strObject,
                      INTERNET_PORT nPort, bool bSecure);
    DWORD FollowRedirect(const std::wstring& strRequestUrl);
    int ReceiveBody(const std::wstring& strFileName);
    void StepProgress();

    std::mutex m_sessionLock; // the inner session's creation and end against Stop
    std::mutex m_dialogLock;  // m_pDialog against DetachDialog
};

// The largest body the download accepts; the bank's daily document is a few kilobytes.
constexpr unsigned long kMaxRatesBodyBytes = 1024UL * 1024UL;
// The result when the user stopped the download.
constexpr int kRatesDownloadStopped = 500;

// Dispatches the waiting messages; false when the next one is the quit message, which is
// left in the queue for the modal loop.
bool PumpMessages();
