#include "tests/rates_win/LoopbackHttpServer.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace
{
struct WinsockUser
{
    WinsockUser()
    {
        WSADATA data;
        if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
            throw std::runtime_error("WSAStartup failed");
    }
    ~WinsockUser() { ::WSACleanup(); }
};

SOCKET BindLoopback(unsigned short& port)
{
    static WinsockUser winsock;
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
        throw std::runtime_error("bind failed");
    int length = sizeof(address);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return s;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}
} // namespace

bool SeenRequest::IsHttp() const
{
    return !raw.empty() && std::isupper(static_cast<unsigned char>(raw[0]));
}

std::string SeenRequest::RequestLine() const
{
    return raw.substr(0, raw.find("\r\n"));
}

std::string SeenRequest::Header(const std::string& name) const
{
    const std::string lowered = Lower(raw);
    const std::string key = "\r\n" + Lower(name) + ":";
    const std::size_t at = lowered.find(key);
    if (at == std::string::npos)
        return {};
    std::size_t begin = at + key.size();
    while (begin < raw.size() && raw[begin] == ' ')
        ++begin;
    return raw.substr(begin, raw.find("\r\n", begin) - begin);
}

bool SeenRequest::HasHeader(const std::string& name) const
{
    return Lower(raw).find("\r\n" + Lower(name) + ":") != std::string::npos;
}

bool ServerConnection::Send(const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size())
    {
        const int n =
            ::send(m_socket, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

bool ServerConnection::ClientGone()
{
    if (m_stopping)
        return true;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(m_socket, &readable);
    timeval none{0, 0};
    if (::select(0, &readable, nullptr, nullptr, &none) <= 0)
        return false;
    char byte;
    return ::recv(m_socket, &byte, 1, MSG_PEEK) <= 0;
}

LoopbackHttpServer::LoopbackHttpServer(Responder responder) : m_responder(std::move(responder))
{
    m_listener = BindLoopback(m_port);
    if (::listen(m_listener, 8) != 0)
        throw std::runtime_error("listen failed");
    m_thread = std::thread([this] { Run(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    m_stopping = true;
    m_thread.join();
    ::closesocket(m_listener);
}

std::vector<SeenRequest> LoopbackHttpServer::Requests() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_requests;
}

std::string LoopbackHttpServer::Url(const std::string& path, const char* scheme) const
{
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(m_port) + path;
}

void LoopbackHttpServer::Run()
{
    while (!m_stopping)
    {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listener, &readable);
        timeval wait{0, 50 * 1000};
        if (::select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        SOCKET client = ::accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue;
        Serve(client);
        ::closesocket(client);
    }
}

void LoopbackHttpServer::Serve(SOCKET client)
{
    DWORD timeoutMs = 5000;
    ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
                 sizeof(timeoutMs));
    SeenRequest request;
    char buffer[4096];
    for (;;)
    {
        const int n = ::recv(client, buffer, sizeof(buffer), 0);
        if (n <= 0)
            break;
        request.raw.append(buffer, static_cast<std::size_t>(n));
        // A TLS hello (or anything else that is not HTTP) is recorded as it came.
        if (!request.IsHttp())
            break;
        const std::size_t end = request.raw.find("\r\n\r\n");
        if (end != std::string::npos)
        {
            request.raw.resize(end + 2);
            break;
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_requests.push_back(request);
    }
    if (!request.IsHttp())
        return;
    ServerConnection connection(client, m_stopping);
    m_responder(request, connection);
    // Let the client read everything before the socket goes.
    ::shutdown(client, SD_SEND);
    timeoutMs = 2000;
    ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
                 sizeof(timeoutMs));
    while (::recv(client, buffer, sizeof(buffer), 0) > 0)
    {
    }
}

std::string HttpAnswer(int status, const std::string& reason, const std::string& body,
                       const std::string& extraHeaders)
{
    return "HTTP/1.1 " + std::to_string(status) + " " + reason +
           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n" +
           extraHeaders + "\r\n" + body;
}

unsigned short UnusedLoopbackPort()
{
    unsigned short port = 0;
    SOCKET s = BindLoopback(port);
    ::closesocket(s);
    return port;
}
