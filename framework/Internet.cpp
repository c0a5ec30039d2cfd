#include "framework/Internet.h"

#include "framework/ExceptionReport.h"
#include "framework/LazyImport.h"
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

// WinINet's functions, looked up together when the first session opens, so that the library
// loads with the first download. Every handle comes from a session, so every other call
// finds them looked up.
struct WinInetApi
{
    decltype(&::InternetOpenW) InternetOpenW;
    decltype(&::InternetCloseHandle) InternetCloseHandle;
    decltype(&::InternetSetOptionW) InternetSetOptionW;
    decltype(&::InternetSetStatusCallbackW) InternetSetStatusCallbackW;
    decltype(&::InternetConnectW) InternetConnectW;
    decltype(&::InternetReadFile) InternetReadFile;
    decltype(&::InternetCombineUrlW) InternetCombineUrlW;
    decltype(&::HttpOpenRequestW) HttpOpenRequestW;
    decltype(&::HttpAddRequestHeadersW) HttpAddRequestHeadersW;
    decltype(&::HttpSendRequestW) HttpSendRequestW;
    decltype(&::HttpQueryInfoW) HttpQueryInfoW;
};

template <class Function> void LookUp(Function& function, const char* name, bool& complete)
{
    function = AfxLazyImport<Function>(L"wininet.dll", name);
    complete = complete && function != nullptr;
}

WinInetApi LookUpWinInet()
{
    WinInetApi api{};
    bool complete = true;
    LookUp(api.InternetOpenW, "InternetOpenW", complete);
    LookUp(api.InternetCloseHandle, "InternetCloseHandle", complete);
    LookUp(api.InternetSetOptionW, "InternetSetOptionW", complete);
    LookUp(api.InternetSetStatusCallbackW, "InternetSetStatusCallbackW", complete);
    LookUp(api.InternetConnectW, "InternetConnectW", complete);
    LookUp(api.InternetReadFile, "InternetReadFile", complete);
    LookUp(api.InternetCombineUrlW, "InternetCombineUrlW", complete);
    LookUp(api.HttpOpenRequestW, "HttpOpenRequestW", complete);
    LookUp(api.HttpAddRequestHeadersW, "HttpAddRequestHeadersW", complete);
    LookUp(api.HttpSendRequestW, "HttpSendRequestW", complete);
    LookUp(api.HttpQueryInfoW, "HttpQueryInfoW", complete);
    if (!complete)
        AfxThrowInternetException(ERROR_MOD_NOT_FOUND);
    return api;
}

// Throws CInternetException while the library cannot be loaded.
const WinInetApi& WinInet()
{
    static const WinInetApi api = LookUpWinInet();
    return api;
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
    m_hSession = WinInet().InternetOpenW(name.c_str(), accessType, proxyName, proxyBypass, flags);
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
        WinInet().InternetSetStatusCallbackW(m_hSession, nullptr);
        WinInet().InternetCloseHandle(m_hSession);
        m_hSession = nullptr;
    }
}

void CInternetSession::Close()
{
    if (!m_hSession)
        return;
    HINTERNET session = m_hSession;
    m_hSession = nullptr;
    WinInet().InternetCloseHandle(session);
}

BOOL CInternetSession::SetOption(DWORD option, DWORD value)
{
    return WinInet().InternetSetOptionW(m_hSession, option, &value, sizeof(value));
}

BOOL CHttpFile::SetOption(DWORD option, DWORD value)
{
    return WinInet().InternetSetOptionW(m_hRequest, option, &value, sizeof(value));
}

BOOL CInternetSession::EnableStatusCallback(BOOL enable)
{
    const INTERNET_STATUS_CALLBACK previous = WinInet().InternetSetStatusCallbackW(
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
        WinInet().InternetConnectW(m_hSession, server.c_str(), port, userName, password,
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
    WinInet().InternetCloseHandle(connection);
}

std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(LPCWSTR verb, const std::wstring& object,
                                                        LPCWSTR referrer, DWORD_PTR,
                                                        LPCWSTR* acceptTypes, LPCWSTR version,
                                                        DWORD flags)
{
    HINTERNET request =
        WinInet().HttpOpenRequestW(m_hConnection, verb, object.c_str(), version, referrer,
                                   acceptTypes, flags, reinterpret_cast<DWORD_PTR>(m_pSession));
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
    WinInet().InternetCloseHandle(request);
}

BOOL CHttpFile::AddRequestHeaders(const std::wstring& headers, DWORD flags)
{
    return WinInet().HttpAddRequestHeadersW(m_hRequest, headers.c_str(),
                                            static_cast<DWORD>(headers.size()), flags);
}

BOOL CHttpFile::SendRequest(LPCWSTR headers, DWORD headersLength, LPVOID optional,
                            DWORD optionalLength)
{
    if (!WinInet().HttpSendRequestW(m_hRequest, headers, headersLength, optional, optionalLength))
        AfxThrowInternetException();
    return TRUE;
}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& statusCode) const
{
    statusCode = 0;
    DWORD size = sizeof(statusCode);
    return WinInet().HttpQueryInfoW(m_hRequest, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                                    &statusCode, &size, nullptr);
}

BOOL CHttpFile::QueryInfo(DWORD infoLevel, std::wstring& text) const
{
    text.clear();
    DWORD size = 0;
    if (WinInet().HttpQueryInfoW(m_hRequest, infoLevel, nullptr, &size, nullptr))
        return TRUE; // nothing to copy
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return FALSE;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (!WinInet().HttpQueryInfoW(m_hRequest, infoLevel, buffer.data(), &size, nullptr))
        return FALSE;
    text.assign(buffer.data(), size / sizeof(wchar_t));
    return TRUE;
}

UINT CHttpFile::Read(void* buffer, UINT count)
{
    DWORD read = 0;
    if (!WinInet().InternetReadFile(m_hRequest, buffer, count, &read))
        AfxThrowInternetException();
    return read;
}

BOOL AfxInternetCloseHandle(HINTERNET handle)
{
    return WinInet().InternetCloseHandle(handle);
}

BOOL AfxInternetCombineUrl(LPCWSTR base, LPCWSTR relative, LPWSTR buffer, LPDWORD length,
                           DWORD flags)
{
    return WinInet().InternetCombineUrlW(base, relative, buffer, length, flags);
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
