#include "tests/rates_win/HostTlsServer.h"

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <thread>

namespace
{
std::wstring Environment(const wchar_t* name)
{
    wchar_t value[1024] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

// Wine's Z: drive is the host's root folder.
std::wstring OnDriveZ(std::wstring hostPath)
{
    for (wchar_t& c : hostPath)
        if (c == L'/')
            c = L'\\';
    return L"Z:" + hostPath;
}

std::string ReadShared(const std::wstring& path)
{
    // The server appends while we read.
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    ::CloseHandle(file);
    return bytes;
}

TlsConnection ParseLine(const std::string& line)
{
    TlsConnection connection;
    std::size_t start = 0;
    while (start <= line.size())
    {
        std::size_t end = line.find('\t', start);
        if (end == std::string::npos)
            end = line.size();
        const std::string field = line.substr(start, end - start);
        const std::size_t equals = field.find('=');
        if (equals != std::string::npos)
            connection.fields[field.substr(0, equals)] = field.substr(equals + 1);
        start = end + 1;
    }
    return connection;
}
} // namespace

std::string TlsConnection::Field(const std::string& key) const
{
    const auto at = fields.find(key);
    return at == fields.end() ? std::string() : at->second;
}

std::string TlsConnection::Describe() const
{
    std::string text;
    for (const auto& [key, value] : fields)
        text += key + "=" + value + " ";
    return text;
}

std::unique_ptr<HostTlsServer> HostTlsServer::FromEnvironment()
{
    const std::wstring port = Environment(L"KALVO_TLS_PORT");
    const std::wstring log = Environment(L"KALVO_TLS_LOG");
    if (port.empty() || log.empty())
        return nullptr;
    const unsigned long number = std::wcstoul(port.c_str(), nullptr, 10);
    if (number == 0 || number > 65535)
        return nullptr;
    return std::unique_ptr<HostTlsServer>(
        new HostTlsServer(static_cast<unsigned short>(number), OnDriveZ(log)));
}

std::string HostTlsServer::Url(const std::string& path) const
{
    return "https://127.0.0.1:" + std::to_string(m_port) + path;
}

std::vector<TlsConnection> HostTlsServer::Connections() const
{
    std::vector<TlsConnection> connections;
    const std::string text = ReadShared(m_log);
    std::size_t start = 0;
    // A line without its end is still being written.
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         start = end + 1, end = text.find('\n', start))
        connections.push_back(ParseLine(text.substr(start, end - start)));
    return connections;
}

std::vector<TlsConnection> HostTlsServer::ConnectionsAfter(std::size_t known,
                                                           std::chrono::milliseconds limit) const
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + limit;
    constexpr auto kSettle = std::chrono::milliseconds(300);
    std::size_t count = Connections().size();
    auto lastChange = Clock::now();
    while (Clock::now() < deadline && (count <= known || Clock::now() - lastChange < kSettle))
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const std::size_t now = Connections().size();
        if (now != count)
        {
            count = now;
            lastChange = Clock::now();
        }
    }
    std::vector<TlsConnection> all = Connections();
    if (all.size() <= known)
        return {};
    return std::vector<TlsConnection>(all.begin() + static_cast<std::ptrdiff_t>(known), all.end());
}
