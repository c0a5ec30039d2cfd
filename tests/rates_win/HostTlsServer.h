#pragma once
// The TLS server that with_tls_server.py runs on the host beside this test program: Wine's
// TLS can be a client only, so a server that presents a certificate has to live outside.
// Its port and its log of connections come from the environment.
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One connection as the server saw it, once it was over (see with_tls_server.py).
struct TlsConnection
{
    std::map<std::string, std::string> fields;

    std::string Field(const std::string& key) const;
    // The whole line again, for failure messages.
    std::string Describe() const;
};

class HostTlsServer
{
public:
    // Null when the program runs without the server.
    static std::unique_ptr<HostTlsServer> FromEnvironment();

    unsigned short Port() const { return m_port; }
    // "https://127.0.0.1:port" + path
    std::string Url(const std::string& path) const;
    // Every connection logged so far.
    std::vector<TlsConnection> Connections() const;
    // The connections logged after the first `known` ones: waits for at least one, then
    // until no more arrive for a moment, and gives up after `limit`.
    std::vector<TlsConnection> ConnectionsAfter(std::size_t known,
                                                std::chrono::milliseconds limit) const;

private:
    HostTlsServer(unsigned short port, std::wstring log) : m_port(port), m_log(std::move(log)) {}

    unsigned short m_port;
    std::wstring m_log; // the log's host path, as a Windows path on the Z: drive
};
