#include "tests/rates_win/HostTlsServer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <wincrypt.h>

#include <cstddef>
#include <cstdlib>
#include <thread>
#include <utility>

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
    std::unique_ptr<HostTlsServer> server(new HostTlsServer());
    const std::pair<const wchar_t*, unsigned short*> ports[] = {
        {L"KALVO_TLS_PORT", &server->m_port},
        {L"KALVO_TLS_TRUSTED_PORT", &server->m_trustedPort},
        {L"KALVO_TLS_EXPIRED_PORT", &server->m_expiredPort},
        {L"KALVO_TLS_WRONG_HOST_PORT", &server->m_wrongHostPort}};
    for (const auto& [name, port] : ports)
    {
        const unsigned long number = std::wcstoul(Environment(name).c_str(), nullptr, 10);
        if (number == 0 || number > 65535)
            return nullptr;
        *port = static_cast<unsigned short>(number);
    }
    const std::wstring authority = Environment(L"KALVO_TLS_AUTHORITY");
    const std::wstring log = Environment(L"KALVO_TLS_LOG");
    if (authority.empty() || log.empty())
        return nullptr;
    server->m_authority = OnDriveZ(authority);
    server->m_log = OnDriveZ(log);
    return server;
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

namespace
{
// The registry store that Wine's root store is read from; what is added is written when the
// store is closed.
HCERTSTORE OpenRootRegistryStore()
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\SystemCertificates\\Root", 0,
                          nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    HCERTSTORE store = ::CertOpenStore(CERT_STORE_PROV_REG, 0, 0, 0, key);
    ::RegCloseKey(key);
    return store;
}
} // namespace

// Makes this Wine prefix trust a certificate authority for the scope's lifetime: its
// certificate goes into the registry's root store and out again.
class ScopedTrustedAuthority
{
public:
    explicit ScopedTrustedAuthority(const std::wstring& pemPath);
    ~ScopedTrustedAuthority();
    ScopedTrustedAuthority(const ScopedTrustedAuthority&) = delete;
    ScopedTrustedAuthority& operator=(const ScopedTrustedAuthority&) = delete;
    bool Trusted() const { return m_trusted; }

private:
    bool m_trusted = false;
    unsigned char m_hash[20] = {}; // SHA-1 of the certificate, to find it again
};

ScopedTrustedAuthority::ScopedTrustedAuthority(const std::wstring& pemPath)
{
    const std::string pem = ReadShared(pemPath);
    DWORD size = 0;
    if (pem.empty() ||
        !::CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()),
                                CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr))
        return;
    std::vector<BYTE> der(size);
    if (!::CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()),
                                CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr))
        return;
    HCERTSTORE store = OpenRootRegistryStore();
    if (!store)
        return;
    PCCERT_CONTEXT added = nullptr;
    if (::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size,
                                           CERT_STORE_ADD_REPLACE_EXISTING, &added))
    {
        DWORD hashSize = sizeof(m_hash);
        m_trusted = ::CertGetCertificateContextProperty(added, CERT_SHA1_HASH_PROP_ID, m_hash,
                                                        &hashSize) != FALSE;
        ::CertFreeCertificateContext(added);
    }
    ::CertCloseStore(store, 0);
}

ScopedTrustedAuthority::~ScopedTrustedAuthority()
{
    if (!m_trusted)
        return;
    HCERTSTORE store = OpenRootRegistryStore();
    if (!store)
        return;
    CRYPT_HASH_BLOB hash{sizeof(m_hash), m_hash};
    if (PCCERT_CONTEXT found = ::CertFindCertificateInStore(store, X509_ASN_ENCODING, 0,
                                                            CERT_FIND_SHA1_HASH, &hash, nullptr))
        ::CertDeleteCertificateFromStore(found); // frees it too
    ::CertCloseStore(store, 0);
}

namespace
{
class TrustedTestAuthority : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (const auto tls = HostTlsServer::FromEnvironment())
            s_trust = std::make_unique<ScopedTrustedAuthority>(tls->AuthorityPath());
    }
    void TearDown() override { s_trust.reset(); }

    static std::unique_ptr<ScopedTrustedAuthority> s_trust;
};

std::unique_ptr<ScopedTrustedAuthority> TrustedTestAuthority::s_trust;
::testing::Environment* const g_trustedTestAuthority =
    ::testing::AddGlobalTestEnvironment(new TrustedTestAuthority);
} // namespace

bool TestAuthorityTrusted()
{
    return TrustedTestAuthority::s_trust && TrustedTestAuthority::s_trust->Trusted();
}
