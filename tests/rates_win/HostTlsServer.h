#pragma once
// The TLS servers that with_tls_server.py runs on the host beside this test program: Wine's
// TLS can be a client only, so a server that presents a certificate has to live outside.
// Their ports, the test authority and the log of connections come from the environment.
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

    unsigned short Port() const { return m_port; } // the self-signed server
    // The servers whose certificates come from the test authority: valid for localhost and
    // 127.0.0.1, expired, and for another host.
    unsigned short TrustedPort() const { return m_trustedPort; }
    unsigned short ExpiredPort() const { return m_expiredPort; }
    unsigned short WrongHostPort() const { return m_wrongHostPort; }
    const std::wstring& AuthorityPath() const { return m_authority; }
    // "https://127.0.0.1:port" + path
    std::string Url(const std::string& path) const;
    // Every connection logged so far.
    std::vector<TlsConnection> Connections() const;
    // The connections logged after the first `known` ones: waits for at least one, then
    // until no more arrive for a moment, and gives up after `limit`.
    std::vector<TlsConnection> ConnectionsAfter(std::size_t known,
                                                std::chrono::milliseconds limit) const;

private:
    HostTlsServer() = default;

    unsigned short m_port = 0;
    unsigned short m_trustedPort = 0;
    unsigned short m_expiredPort = 0;
    unsigned short m_wrongHostPort = 0;
    std::wstring m_authority; // as Windows paths on the Z: drive
    std::wstring m_log;
};

// True when this Wine prefix trusts the run's test authority: from before the first test to
// after the last (the program's certificate checks read the root store once, at their first
// use), and only when with_tls_server.py runs the program.
bool TestAuthorityTrusted();
