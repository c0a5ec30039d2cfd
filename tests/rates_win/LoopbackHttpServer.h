#pragma once
// A scripted HTTP server on 127.0.0.1 inside the test process, on a thread of its own: it
// accepts one connection at a time, records what the client sent and lets the test's
// responder write the answer.
#include <winsock2.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenRequest
{
    std::string raw; // up to the blank line; for a non-HTTP client its first bytes

    bool IsHttp() const;
    std::string RequestLine() const;
    // The header's value (after "Name: "), or empty; names compared case-insensitively.
    std::string Header(const std::string& name) const;
    bool HasHeader(const std::string& name) const;
};

class ServerConnection
{
public:
    ServerConnection(SOCKET socket, const std::atomic<bool>& stopping)
        : m_socket(socket), m_stopping(stopping)
    {
    }
    bool Send(const std::string& bytes);
    // True once the client has closed its side (or the server is being stopped).
    bool ClientGone();
    bool Stopping() const { return m_stopping; }

private:
    SOCKET m_socket;
    const std::atomic<bool>& m_stopping;
};

class LoopbackHttpServer
{
public:
    using Responder = std::function<void(const SeenRequest&, ServerConnection&)>;

    explicit LoopbackHttpServer(Responder responder);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    unsigned short Port() const { return m_port; }
    std::vector<SeenRequest> Requests() const;
    // "http://127.0.0.1:port" + path
    std::string Url(const std::string& path, const char* scheme = "http") const;

private:
    void Run();
    void Serve(SOCKET client);

    Responder m_responder;
    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_lock;
    std::vector<SeenRequest> m_requests;
    std::thread m_thread;
};

// A complete answer with Content-Length and "Connection: close".
std::string HttpAnswer(int status, const std::string& reason, const std::string& body,
                       const std::string& extraHeaders = "");

// A loopback port on which nothing listens.
unsigned short UnusedLoopbackPort();
