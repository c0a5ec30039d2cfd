#include "rates/RatesSession.h"

#include "rates/RatesUpdateDlg.h"

#include "framework/FileException.h"

#include <commctrl.h>

#include <cwchar>

namespace
{
constexpr DWORD kConnectTimeoutMs = 30000;
constexpr DWORD kConnectBackoffMs = 1000;
constexpr DWORD kConnectRetries = 1;
// A server that takes the request and then says nothing would otherwise hold the program
// for as long as it likes (Wine's library waits without limit); the document is small, so
// 20 s without a byte means it is not coming.
constexpr DWORD kSilenceTimeoutMs = 20000;
constexpr DWORD_PTR kContext = 1;
constexpr UINT kReadSize = 1999;
constexpr std::size_t kBufferSize = 2000;
const wchar_t kUserAgentHeader[] = L"User-Agent: Kalvo/1.0\r\n";

// Fresh from the server, never into the cache, over a connection already open. Redirects
// are ours to follow, so that the one explicit redirect is what runs on every system.
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_AUTO_REDIRECT;

bool IsRedirect(DWORD status)
{
    return status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT ||
           status == HTTP_STATUS_REDIRECT_METHOD || status == HTTP_STATUS_REDIRECT_KEEP_VERB ||
           status == HTTP_STATUS_PERMANENT_REDIRECT;
}

// The request's own address, against which a relative redirect target is resolved.
std::wstring RequestUrl(bool bSecure, const std::wstring& strServer, INTERNET_PORT nPort,
                        const std::wstring& strObject)
{
    return (bSecure ? L"https://" : L"http://") + strServer + L":" + std::to_wstring(nPort) +
           strObject;
}

// The target as an absolute address; false when the library cannot make one of it.
bool ResolveTarget(const std::wstring& strBase, const std::wstring& strTarget,
                   std::wstring& strResolved)
{
    DWORD length = INTERNET_MAX_URL_LENGTH;
    std::wstring buffer(length + 1, L'\0');
    if (!AfxInternetCombineUrl(strBase.c_str(), strTarget.c_str(), buffer.data(), &length,
                               ICU_NO_ENCODE))
        return false;
    strResolved.assign(buffer.c_str(), length);
    return true;
}

// Set on each request: Wine's library does not pass the session's timeouts on.
void LimitSilence(CHttpFile& request)
{
    request.SetOption(INTERNET_OPTION_SEND_TIMEOUT, kSilenceTimeoutMs);
    request.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, kSilenceTimeoutMs);
}

// The output file, closed however the body loop is left.
class COutputFile
{
public:
    explicit COutputFile(const std::wstring& name) : m_name(name)
    {
        m_hFile = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_hFile == INVALID_HANDLE_VALUE)
            CFileException::ThrowOsError(name);
    }
    ~COutputFile() { Close(); }
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

    void Write(const void* data, DWORD count)
    {
        DWORD written = 0;
        if (!::WriteFile(m_hFile, data, count, &written, nullptr))
            CFileException::ThrowOsError(m_name);
        if (written != count)
            throw CFileException(CFileException::diskFull, ERROR_DISK_FULL, m_name);
    }
    void Close()
    {
        if (m_hFile == INVALID_HANDLE_VALUE)
            return;
        ::CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }

private:
    std::wstring m_name;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
} // namespace

bool PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
    {
        if (msg.message == WM_QUIT)
            return false;
        if (!::GetMessageW(&msg, nullptr, 0, 0))
            return false;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

CRatesSession::CRatesSession(CRatesUpdateDlg* pDialog) : m_pDialog(pDialog) {}

CRatesSession::CRatesSession(const std::wstring& strAgent, CRatesUpdateDlg* pDialog)
    : CInternetSession(strAgent.c_str(), kContext, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr,
                       0),
      m_pDialog(pDialog)
{
}

CRatesSession::~CRatesSession()
{
    CloseAll();
}

void CRatesSession::ReportStatus(const wchar_t* line)
{
    std::lock_guard<std::mutex> lock(m_dialogLock);
    if (m_pDialog)
        m_pDialog->PostDetail(line);
}

void CRatesSession::StepProgress()
{
    std::lock_guard<std::mutex> lock(m_dialogLock);
    if (m_pDialog && m_pDialog->m_Progress.m_hWnd)
        ::PostMessageW(m_pDialog->m_Progress.m_hWnd, PBM_STEPIT, 0, 0);
}

void CRatesSession::ReportEnd()
{
    std::lock_guard<std::mutex> lock(m_dialogLock);
    if (m_pDialog && m_pDialog->m_hWnd)
    {
        ::PostMessageW(m_pDialog->m_Progress.m_hWnd, PBM_SETPOS, 0, 0);
        ::PostMessageW(m_pDialog->m_hWnd, WM_NULL, 0, 0);
    }
}

void CRatesSession::DetachDialog()
{
    {
        std::lock_guard<std::mutex> lock(m_dialogLock);
        m_pDialog = nullptr;
    }
    std::lock_guard<std::mutex> lock(m_sessionLock);
    if (m_pSession)
        m_pSession->DetachDialog();
}

void CRatesSession::OnStatusCallback(DWORD_PTR, DWORD internetStatus, LPVOID, DWORD)
{
    const wchar_t* line = nullptr;
    switch (internetStatus)
    {
    case INTERNET_STATUS_RESOLVING_NAME:
        line = L"Resolving server name";
        StepProgress();
        break;
    case INTERNET_STATUS_CONNECTING_TO_SERVER:
        line = L"Connecting to server";
        break;
    case INTERNET_STATUS_CONNECTED_TO_SERVER:
        line = L"Connected";
        break;
    case INTERNET_STATUS_SENDING_REQUEST:
        line = L"Sending request";
        break;
    case INTERNET_STATUS_REQUEST_SENT:
        line = L"Recieving data...";
        break;
    case INTERNET_STATUS_CLOSING_CONNECTION:
        line = L"Closing the connection";
        break;
    case INTERNET_STATUS_REDIRECT:
        line = L"Being redirected";
        break;
    default:
        return;
    }
    ReportStatus(line);
}

void CRatesSession::Stop()
{
    m_bStop = 1;
    std::lock_guard<std::mutex> lock(m_sessionLock);
    // Closing the session closes the connection and the request made from it.
    if (m_pSession && m_pSession->GetHandle())
        AfxInternetCloseHandle(m_pSession->GetHandle());
}

void CRatesSession::CloseAll()
{
    if (m_pRequest)
    {
        m_pRequest->Close();
        m_pRequest.reset();
    }
    if (m_pConnection)
    {
        m_pConnection->Close();
        m_pConnection.reset();
    }
    std::lock_guard<std::mutex> lock(m_sessionLock);
    if (m_pSession)
    {
        m_pSession->Close();
        m_pSession.reset();
    }
    m_bStop = 1;
}

int CRatesSession::DownloadFile(const std::wstring& strAgent, const std::wstring& strServer,
                                const std::wstring& strObject, INTERNET_PORT nPort, bool bSecure,
                                const std::wstring& strFileName)
{
    int nResult = 0;
    try
    {
        OpenSession(strAgent);
        DWORD dwStatus = SendRequest(strServer, strObject, nPort, bSecure);
        if (IsRedirect(dwStatus))
            dwStatus = FollowRedirect(RequestUrl(bSecure, strServer, nPort, strObject));
        nResult = static_cast<int>(dwStatus);
        if (dwStatus == HTTP_STATUS_OK)
            nResult = ReceiveBody(strFileName);
    }
    catch (const CInternetException&)
    {
        // Its text says nothing the details box does not: the outcome line tells the user.
        nResult = 0;
    }
    catch (const CFileException&)
    {
        // The file could not be created or written: nothing usable arrived.
        nResult = 0;
    }
    const bool bStopped = m_bStop != 0;
    CloseAll();
    ReportEnd();
    // A stop breaks the network call under way: whatever that gave, the user stopped it.
    return bStopped ? kRatesDownloadStopped : nResult;
}

// Inside the download's error handling: a library that cannot open a session is a failed
// download like any other.
void CRatesSession::OpenSession(const std::wstring& strAgent)
{
    std::lock_guard<std::mutex> lock(m_sessionLock);
    if (m_bStop)
        AfxThrowInternetException(ERROR_INTERNET_OPERATION_CANCELLED);
    CRatesUpdateDlg* pDialog = nullptr;
    {
        std::lock_guard<std::mutex> dialogLock(m_dialogLock);
        pDialog = m_pDialog;
    }
    m_pSession = std::make_unique<CRatesSession>(strAgent, pDialog);
    m_pSession->SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs);
    m_pSession->SetOption(INTERNET_OPTION_CONNECT_BACKOFF, kConnectBackoffMs);
    m_pSession->SetOption(INTERNET_OPTION_CONNECT_RETRIES, kConnectRetries);
    m_pSession->EnableStatusCallback(TRUE);
}

// One GET with the program's header and silence limit, on a connection of its own; over TLS
// the server's certificate must pass (the library refuses any other).
DWORD CRatesSession::SendRequest(const std::wstring& strServer, const std::wstring& strObject,
                                 INTERNET_PORT nPort, bool bSecure)
{
    m_pConnection = m_pSession->GetHttpConnection(strServer, nPort, nullptr, nullptr);
    const DWORD dwFlags = bSecure ? kRequestFlags | INTERNET_FLAG_SECURE : kRequestFlags;
    m_pRequest =
        m_pConnection->OpenRequest(L"GET", strObject, nullptr, kContext, nullptr, nullptr, dwFlags);
    m_pRequest->AddRequestHeaders(kUserAgentHeader, HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    LimitSilence(*m_pRequest);
    m_pRequest->SendRequest();
    DWORD dwStatus = 0;
    m_pRequest->QueryInfoStatusCode(dwStatus);
    return dwStatus;
}

// Follows the one redirect of the first answer, to an address over TLS only: anyone on the
// path could have sent a plain one. A relative target is resolved against the request.
// 0 when the answer names no usable target.
DWORD CRatesSession::FollowRedirect(const std::wstring& strRequestUrl)
{
    std::wstring strLocation, strTarget;
    if (!m_pRequest->QueryInfo(HTTP_QUERY_LOCATION, strLocation) || strLocation.empty() ||
        !ResolveTarget(strRequestUrl, strLocation, strTarget))
        return 0;

    m_pRequest->Close();
    m_pRequest.reset();
    m_pConnection->Close();
    m_pConnection.reset();

    DWORD dwService = 0;
    std::wstring strServer, strObject;
    INTERNET_PORT nPort = 0;
    if (!AfxParseURL(strTarget, dwService, strServer, strObject, nPort) ||
        dwService != AFX_INET_SERVICE_HTTPS)
        return 0;
    return SendRequest(strServer, strObject, nPort, true);
}

// Streams the body into the file. 200 when it is all there, 500 when the user stopped the
// download between two reads, 0 when the body is larger than any rates document or shorter
// than the length the server announced (the connection broke).
int CRatesSession::ReceiveBody(const std::wstring& strFileName)
{
    COutputFile file(strFileName);
    char buffer[kBufferSize];
    unsigned long nTotal = 0;
    for (;;)
    {
        const UINT nRead = m_pRequest->Read(buffer, kReadSize);
        if (nRead == 0)
            break;
        if (nRead > kMaxRatesBodyBytes - nTotal)
            return 0;
        nTotal += nRead;
        file.Write(buffer, nRead);
        StepProgress();
        if (m_bStop)
            return kRatesDownloadStopped;
    }
    std::wstring strLength;
    if (m_pRequest->QueryInfo(HTTP_QUERY_CONTENT_LENGTH, strLength))
    {
        wchar_t* pEnd = nullptr;
        const unsigned long long nAnnounced = std::wcstoull(strLength.c_str(), &pEnd, 10);
        if (pEnd == strLength.c_str() || nAnnounced != nTotal)
            return 0;
    }
    return HTTP_STATUS_OK;
}
