#pragma once
// HTTP over WinINet, used synchronously: a session, a connection to one server and one
// request on it. Failures of the library raise CInternetException.
#include <windows.h>
#include <wininet.h>

#include <exception>
#include <memory>
#include <string>

class CInternetException : public std::exception
{
public:
    explicit CInternetException(DWORD error);
    const char* what() const noexcept override { return m_what.c_str(); }

    DWORD m_dwError;

private:
    std::string m_what;
};

// Raises the library's last error.
[[noreturn]] void AfxThrowInternetException(DWORD error = ::GetLastError());

class CHttpConnection;
class CHttpFile;

class CInternetSession
{
public:
    // A null agent takes the program's own name.
    explicit CInternetSession(LPCWSTR agent = nullptr, DWORD_PTR context = 1,
                              DWORD accessType = INTERNET_OPEN_TYPE_PRECONFIG,
                              LPCWSTR proxyName = nullptr, LPCWSTR proxyBypass = nullptr,
                              DWORD flags = 0);
    virtual ~CInternetSession();
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    virtual void Close();
    BOOL SetOption(DWORD option, DWORD value);
    // Status events of this session and of every connection and request made from it then
    // reach OnStatusCallback, on the thread that made the blocking call.
    BOOL EnableStatusCallback(BOOL enable = TRUE);
    virtual void OnStatusCallback(DWORD_PTR context, DWORD internetStatus, LPVOID statusInformation,
                                  DWORD statusInformationLength);

    std::unique_ptr<CHttpConnection> GetHttpConnection(const std::wstring& server,
                                                       INTERNET_PORT port = 0,
                                                       LPCWSTR userName = nullptr,
                                                       LPCWSTR password = nullptr);

    HINTERNET GetHandle() const { return m_hSession; }
    DWORD_PTR GetContext() const { return m_dwContext; }

private:
    static void CALLBACK StatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status,
                                        LPVOID information, DWORD length);

    HINTERNET m_hSession = nullptr;
    DWORD_PTR m_dwContext;
};

class CHttpConnection
{
public:
    CHttpConnection(CInternetSession* session, HINTERNET connection);
    ~CHttpConnection();
    CHttpConnection(const CHttpConnection&) = delete;
    CHttpConnection& operator=(const CHttpConnection&) = delete;

    void Close();
    std::unique_ptr<CHttpFile> OpenRequest(LPCWSTR verb, const std::wstring& object,
                                           LPCWSTR referrer = nullptr, DWORD_PTR context = 1,
                                           LPCWSTR* acceptTypes = nullptr,
                                           LPCWSTR version = nullptr,
                                           DWORD flags = INTERNET_FLAG_EXISTING_CONNECT);

private:
    CInternetSession* m_pSession; // not owned; outlives the connection
    HINTERNET m_hConnection;
};

class CHttpFile
{
public:
    explicit CHttpFile(HINTERNET request);
    ~CHttpFile();
    CHttpFile(const CHttpFile&) = delete;
    CHttpFile& operator=(const CHttpFile&) = delete;

    void Close();
    BOOL SetOption(DWORD option, DWORD value);
    BOOL AddRequestHeaders(const std::wstring& headers, DWORD flags = HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    // Raises when the exchange fails (no connection, reset, certificate refused...): the
    // status code read after such a failure would be meaningless.
    BOOL SendRequest(LPCWSTR headers = nullptr, DWORD headersLength = 0, LPVOID optional = nullptr,
                     DWORD optionalLength = 0);
    BOOL QueryInfoStatusCode(DWORD& statusCode) const;
    BOOL QueryInfo(DWORD infoLevel, std::wstring& text) const;
    // The number of bytes read; 0 at the end of the body. Raises on a network error.
    UINT Read(void* buffer, UINT count);

private:
    HINTERNET m_hRequest;
};

// InternetCloseHandle, for a handle of a session that is open (another thread may close it to
// stop a transfer).
BOOL AfxInternetCloseHandle(HINTERNET handle);
// InternetCombineUrlW; throws CInternetException while WinINet cannot be loaded.
BOOL AfxInternetCombineUrl(LPCWSTR base, LPCWSTR relative, LPWSTR buffer, LPDWORD length,
                           DWORD flags);

// Services AfxParseURL tells apart.
constexpr DWORD AFX_INET_SERVICE_UNK = 0x1000;
constexpr DWORD AFX_INET_SERVICE_HTTP = 3;
constexpr DWORD AFX_INET_SERVICE_HTTPS = 0x1008;

// Splits an absolute URL into its service, server, object (path and query, "/" when empty)
// and port (80 or 443 when an http or https URL gives none). FALSE when it is not a URL
// with a host. The rules are SplitUrl's (framework/url/UrlParts.h).
BOOL AfxParseURL(const std::wstring& url, DWORD& serviceType, std::wstring& server,
                 std::wstring& object, INTERNET_PORT& port);
