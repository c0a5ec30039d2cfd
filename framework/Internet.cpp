#include "framework/Internet.h"

#include "framework/ExceptionReport.h"
#include "framework/url/UrlParts.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

namespace
{

// The library passes our session pointer back with every event, also for a handle that
// happens to be released after its session object; only live sessions get the call.
std::mutex g_sessionsLock;
std::set<const CInternetSession*> g_sessions;

bool IsLive(const CInternetSession* session)
{
    std::lock_guard<std::mutex> lock(g_sessionsLock);
    return g_sessions.count(session) != 0;
}

std::wstring ProgramName()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length);
    const std::size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return name.empty() ? std::wstring(L"Kalvo") : name;
}

} // namespace

CInternetException::CInternetException(DWORD error)
    : m_dwError(error), m_what("Internet error " + std::to_string(error) + ".")
{
}

void AfxThrowInternetException(DWORD error)
{
    throw CInternetException(error);
}

CInternetSession::CInternetSession(LPCWSTR agent, DWORD_PTR context, DWORD accessType,
                                   LPCWSTR proxyName, LPCWSTR proxyBypass, DWORD flags)
    : m_dwContext(context)
{
    const std::wstring name = agent ? std::wstring(agent) : ProgramName();
    m_hSession = ::InternetOpenW(name.c_str(), accessType, proxyName, proxyBypass, flags);
    if (!m_hSession)
        AfxThrowInternetException();
    std::lock_guard<std::mutex> lock(g_sessionsLock);
    g_sessions.insert(this);
}

CInternetSession::~CInternetSession()
{
    {
        std::lock_guard<std::mutex> lock(g_sessionsLock);
        g_sessions.erase(this);
    }
    if (m_hSession)
    {
        ::InternetSetStatusCallbackW(m_hSession, nullptr);
        ::InternetCloseHandle(m_hSession);
        m_hSession = nullptr;
    }
}

void CInternetSession::Close()
{
    if (!m_hSession)
        return;
    HINTERNET session = m_hSession;
    m_hSession = nullptr;
    ::InternetCloseHandle(session);
}

BOOL CInternetSession::SetOption(DWORD option, DWORD value)
{
    return ::InternetSetOptionW(m_hSession, option, &value, sizeof(value));
}

BOOL CHttpFile::SetOption(DWORD option, DWORD value)
{
    return ::InternetSetOptionW(m_hRequest, option, &value, sizeof(value));
}

BOOL CInternetSession::EnableStatusCallback(BOOL enable)
{
    const INTERNET_STATUS_CALLBACK previous = ::InternetSetStatusCallbackW(
        m_hSession, enable ? &CInternetSession::StatusCallback : nullptr);
    return previous != INTERNET_INVALID_STATUS_CALLBACK;
}

void CInternetSession::OnStatusCallback(DWORD_PTR, DWORD, LPVOID, DWORD) {}

void CALLBACK CInternetSession::StatusCallback(HINTERNET, DWORD_PTR context, DWORD status,
                                               LPVOID information, DWORD length)
{
    auto* session = reinterpret_cast<CInternetSession*>(context);
    if (!session || !IsLive(session))
        return;
    GuardCallback<int>(0,
                       [&]
                       {
                           session->OnStatusCallback(session->m_dwContext, status, information,
                                                     length);
                           return 0;
                       });
}

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const std::wstring& server,
                                                                     INTERNET_PORT port,
                                                                     LPCWSTR userName,
                                                                     LPCWSTR password)
{
    // The library's context is this object, so that its events find their way back here.
    HINTERNET connection =
        ::InternetConnectW(m_hSession, server.c_str(), port, userName, password,
                           INTERNET_SERVICE_HTTP, 0, reinterpret_cast<DWORD_PTR>(this));
    if (!connection)
        AfxThrowInternetException();
    return std::make_unique<CHttpConnection>(this, connection);
}

CHttpConnection::CHttpConnection(CInternetSession* session, HINTERNET connection)
    : m_pSession(session), m_hConnection(connection)
{
}

CHttpConnection::~CHttpConnection()
{
    Close();
}

void CHttpConnection::Close()
{
    if (!m_hConnection)
        return;
    HINTERNET connection = m_hConnection;
    m_hConnection = nullptr;
    ::InternetCloseHandle(connection);
}

std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(LPCWSTR verb, const std::wstring& object,
                                                        LPCWSTR referrer, DWORD_PTR,
                                                        LPCWSTR* acceptTypes, LPCWSTR version,
                                                        DWORD flags)
{
    HINTERNET request =
        ::HttpOpenRequestW(m_hConnection, verb, object.c_str(), version, referrer, acceptTypes,
                           flags, reinterpret_cast<DWORD_PTR>(m_pSession));
    if (!request)
        AfxThrowInternetException();
    return std::make_unique<CHttpFile>(request);
}

CHttpFile::CHttpFile(HINTERNET request) : m_hRequest(request) {}

CHttpFile::~CHttpFile()
{
    Close();
}

void CHttpFile::Close()
{
    if (!m_hRequest)
        return;
    HINTERNET request = m_hRequest;
    m_hRequest = nullptr;
    ::InternetCloseHandle(request);
}

BOOL CHttpFile::AddRequestHeaders(const std::wstring& headers, DWORD flags)
{
    return ::HttpAddRequestHeadersW(m_hRequest, headers.c_str(), static_cast<DWORD>(headers.size()),
                                    flags);
}

BOOL CHttpFile::SendRequest(LPCWSTR headers, DWORD headersLength, LPVOID optional,
                            DWORD optionalLength)
{
    if (!::HttpSendRequestW(m_hRequest, headers, headersLength, optional, optionalLength))
        AfxThrowInternetException();
    return TRUE;
}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& statusCode) const
{
    statusCode = 0;
    DWORD size = sizeof(statusCode);
    return ::HttpQueryInfoW(m_hRequest, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                            &statusCode, &size, nullptr);
}

BOOL CHttpFile::QueryInfo(DWORD infoLevel, std::wstring& text) const
{
    text.clear();
    DWORD size = 0;
    if (::HttpQueryInfoW(m_hRequest, infoLevel, nullptr, &size, nullptr))
        return TRUE; // nothing to copy
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return FALSE;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (!::HttpQueryInfoW(m_hRequest, infoLevel, buffer.data(), &size, nullptr))
        return FALSE;
    text.assign(buffer.data(), size / sizeof(wchar_t));
    return TRUE;
}

UINT CHttpFile::Read(void* buffer, UINT count)
{
    DWORD read = 0;
    if (!::InternetReadFile(m_hRequest, buffer, count, &read))
        AfxThrowInternetException();
    return read;
}

BOOL AfxParseURL(const std::wstring& url, DWORD& serviceType, std::wstring& server,
                 std::wstring& object, INTERNET_PORT& port)
{
    serviceType = AFX_INET_SERVICE_UNK;
    server.clear();
    object.clear();
    port = 0;
    const std::optional<UrlParts> parts = SplitUrl(url);
    if (!parts)
        return FALSE;
    switch (parts->scheme)
    {
    case UrlScheme::Http:
        serviceType = AFX_INET_SERVICE_HTTP;
        break;
    case UrlScheme::Https:
        serviceType = AFX_INET_SERVICE_HTTPS;
        break;
    case UrlScheme::Other:
        break;
    }
    server = parts->server;
    object = parts->object;
    port = parts->port;
    return TRUE;
}
