#pragma once
// The rates download over HTTP. One object is the download's controller; it owns a second
// one that is the network session proper, so that closing everything from a dispatched
// message (the user's stop) leaves the controller itself intact.
#include "framework/Internet.h"

#include <memory>
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
    // stopped.
    void CloseAll();
    void ReportStatus(const std::wstring& strText);

    CRatesUpdateDlg* m_pDialog; // not owned
    std::unique_ptr<CRatesSession> m_pSession;
    std::unique_ptr<CHttpConnection> m_pConnection;
    std::unique_ptr<CHttpFile> m_pRequest;
    int m_bStop = 0;

private:
    void OpenSession(const std::wstring& strAgent);
    DWORD SendFirstRequest(const std::wstring& strServer, const std::wstring& strObject,
                           INTERNET_PORT nPort, bool bSecure);
    DWORD FollowRedirect(const std::wstring& strRequestUrl);
    int ReceiveBody(const std::wstring& strFileName);
    void StepProgress();
};

// The largest body the download accepts; the bank's daily document is a few kilobytes.
constexpr unsigned long kMaxRatesBodyBytes = 1024UL * 1024UL;
// The result when the user stopped the download.
constexpr int kRatesDownloadStopped = 500;

// Dispatches the waiting messages; false when the next one is the quit message, which is
// left in the queue for the modal loop.
bool PumpMessages();
