// The rates download against a scripted server on 127.0.0.1: status handling, the one
// redirect, the stored body, and the progress window's lines and results.
#include "tests/rates_win/HostTlsServer.h"
#include "tests/rates_win/LoopbackHttpServer.h"
#include "tests/rates_win/RatesTestSupport.h"

#include "rates/RatesSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace
{
const wchar_t kObject[] = L"/stats/eurofxref/eurofxref-daily.xml";

LoopbackHttpServer::Responder Answer(std::string answer)
{
    return [answer](const SeenRequest&, ServerConnection& connection) { connection.Send(answer); };
}

class DownloadTest : public ::testing::Test
{
protected:
    int Download(unsigned short port, const std::wstring& object = kObject)
    {
        return DownloadWithoutWindow(port, object, file);
    }

    TempDir folder;
    const std::wstring file = folder.File(L"currency.xml");
};
} // namespace

TEST_F(DownloadTest, StoresABodyOfManyReadsByteForByte)
{
    const std::string body = MixedBytes(25000);
    LoopbackHttpServer server(Answer(HttpAnswer(200, "OK", body)));
    EXPECT_EQ(Download(server.Port()), 200);
    EXPECT_EQ(ReadBytes(file), body);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].RequestLine(), "GET /stats/eurofxref/eurofxref-daily.xml HTTP/1.1");
    EXPECT_EQ(requests[0].Header("Host"), "127.0.0.1:" + std::to_string(server.Port()));
    EXPECT_EQ(requests[0].Header("User-Agent").rfind("Kalvo", 0), 0u)
        << requests[0].Header("User-Agent");
}

TEST_F(DownloadTest, EmptyBodyGivesAnEmptyFile)
{
    LoopbackHttpServer server(Answer(HttpAnswer(200, "OK", "")));
    EXPECT_EQ(Download(server.Port()), 200);
    ASSERT_TRUE(PathExists(file));
    EXPECT_EQ(ReadBytes(file), "");
}

TEST_F(DownloadTest, AnEarlierFileIsReplacedOnlyByA200)
{
    WriteBytes(file, "the rates of an earlier day, longer than the new ones");
    {
        LoopbackHttpServer server(Answer(HttpAnswer(404, "Not Found", "no such page")));
        EXPECT_EQ(Download(server.Port()), 404);
        EXPECT_EQ(ReadBytes(file), "the rates of an earlier day, longer than the new ones");
    }
    LoopbackHttpServer server(Answer(HttpAnswer(200, "OK", "today")));
    EXPECT_EQ(Download(server.Port()), 200);
    EXPECT_EQ(ReadBytes(file), "today");
}

TEST_F(DownloadTest, ErrorStatusesAreReturnedAndCreateNoFile)
{
    {
        LoopbackHttpServer server(Answer(HttpAnswer(404, "Not Found", "no such page")));
        EXPECT_EQ(Download(server.Port()), 404);
    }
    {
        LoopbackHttpServer server(Answer(HttpAnswer(
            401, "Unauthorized", "who are you", "WWW-Authenticate: Basic realm=\"rates\"\r\n")));
        EXPECT_EQ(Download(server.Port()), 401);
        EXPECT_EQ(server.Requests().size(), 1u);
    }
    {
        LoopbackHttpServer server(Answer(HttpAnswer(503, "Service Unavailable", "later")));
        EXPECT_EQ(Download(server.Port()), 503);
    }
    EXPECT_FALSE(PathExists(file));
}

// Anyone on the path can answer a plain request: its redirect is followed to TLS only, and
// a relative target resolved against a plain request stays plain.
TEST_F(DownloadTest, ARedirectToAPlainAddressIsNotFollowed)
{
    LoopbackHttpServer plain(Answer(HttpAnswer(200, "OK", "<Cube time='2026-07-06'>")));
    for (const std::string& location :
         {plain.Url("/elsewhere/rates.xml"), std::string("/elsewhere/rates.xml")})
    {
        SCOPED_TRACE(location);
        LoopbackHttpServer first(
            Answer(HttpAnswer(302, "Found", "", "Location: " + location + "\r\n")));
        EXPECT_EQ(Download(first.Port()), 0);
        EXPECT_EQ(first.Requests().size(), 1u);
    }
    EXPECT_TRUE(plain.Requests().empty());
    EXPECT_FALSE(PathExists(file));
}

TEST_F(DownloadTest, RedirectWithoutAUsableHttpTargetGivesZero)
{
    LoopbackHttpServer other(Answer(HttpAnswer(200, "OK", "never fetched")));
    const std::string targets[] = {
        "",                                                     // no Location header at all
        "Location: not a web address\r\n",                      // nothing to parse
        "Location: " + other.Url("/rates.xml", "ftp") + "\r\n", // neither http nor https
    };
    for (const std::string& location : targets)
    {
        SCOPED_TRACE(location);
        LoopbackHttpServer first(Answer(HttpAnswer(301, "Moved Permanently", "", location)));
        EXPECT_EQ(Download(first.Port()), 0);
        EXPECT_EQ(first.Requests().size(), 1u);
    }
    EXPECT_TRUE(other.Requests().empty());
    EXPECT_FALSE(PathExists(file));
}

// A secure download, and every redirect status whatever the case of the header's name,
// begin with a TLS handshake with the named port.
TEST_F(DownloadTest, SecureRequestsAndEveryRedirectSpeakTlsToTheNamedPort)
{
    // A listener that reads the client's first bytes and hangs up: no handshake completes.
    LoopbackHttpServer tls(Answer(""));
    CRatesSession controller(nullptr);
    EXPECT_EQ(controller.DownloadFile(L"Kalvo", L"127.0.0.1", kObject, tls.Port(), true, file), 0);
    ASSERT_FALSE(tls.Requests().empty());
    EXPECT_EQ(static_cast<unsigned char>(tls.Requests()[0].raw[0]), 0x16) << "a TLS handshake";
    for (int status : {301, 302, 303, 307, 308})
    {
        SCOPED_TRACE(status);
        const std::string header = status == 307 ? "location: " : "Location: ";
        LoopbackHttpServer first(Answer(
            HttpAnswer(status, "Moved", "", header + tls.Url("/rates.xml", "https") + "\r\n")));
        const std::size_t known = tls.Requests().size();
        EXPECT_EQ(Download(first.Port()), 0);
        EXPECT_EQ(first.Requests().size(), 1u);
        const auto hellos = tls.Requests();
        ASSERT_GT(hellos.size(), known) << "the redirect was not followed";
        for (std::size_t i = known; i < hellos.size(); ++i)
        {
            ASSERT_FALSE(hellos[i].raw.empty());
            EXPECT_EQ(static_cast<unsigned char>(hellos[i].raw[0]), 0x16)
                << "a TLS handshake record";
        }
    }
    EXPECT_FALSE(PathExists(file));
}

TEST_F(DownloadTest, RedirectToHttpsWithASelfSignedCertificateIsRefused)
{
    const auto tls = HostTlsServer::FromEnvironment();
    if (!tls)
        GTEST_SKIP() << "needs the TLS server of tests/rates_win/with_tls_server.py, which "
                        "ctest starts for rates_win_tls_tests";
    const std::size_t known = tls->Connections().size();
    LoopbackHttpServer first(
        Answer(HttpAnswer(302, "Found", "", "Location: " + tls->Url("/rates.xml") + "\r\n")));
    EXPECT_EQ(Download(first.Port()), 0);
    EXPECT_EQ(first.Requests().size(), 1u);
    // The server answers a request over TLS with a body: none may have reached the file.
    EXPECT_FALSE(PathExists(file));

    const auto connections = tls->ConnectionsAfter(known, std::chrono::seconds(15));
    ASSERT_FALSE(connections.empty()) << "the client never reached the TLS server";
    for (const TlsConnection& connection : connections)
    {
        SCOPED_TRACE(connection.Describe());
        // Either way the client has had the certificate: its Finished comes after it, and
        // so does an alert about it.
        if (connection.Field("handshake") == "complete")
        {
            EXPECT_EQ(connection.Field("request_bytes"), "0") << "a request over TLS";
            EXPECT_EQ(connection.Field("request"), "");
            // The client hung up rather than leaving the server to time out.
            EXPECT_NE(connection.Field("ended"), "timeout");
        }
        else
        {
            const std::string reason = connection.Field("reason");
            EXPECT_TRUE(reason.find("CERTIFICATE") != std::string::npos ||
                        reason.find("UNKNOWN_CA") != std::string::npos)
                << "the handshake failed before the certificate mattered";
        }
    }
}

// A connection that breaks before the announced length is in is a failed download.
TEST_F(DownloadTest, ABodyShorterThanItsAnnouncedLengthFails)
{
    LoopbackHttpServer server(Answer("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n"
                                     "Connection: close\r\n\r\n<Cube time='2026-07-06'>"));
    EXPECT_EQ(Download(server.Port()), 0);
}

// Over TLS against the host's servers, with the test authority trusted by this prefix.
class DownloadOverTls : public DownloadTest
{
protected:
    void SetUp() override
    {
        tls = HostTlsServer::FromEnvironment();
        if (!tls)
            GTEST_SKIP() << "needs the TLS servers of tests/rates_win/with_tls_server.py, which "
                            "ctest starts for rates_win_tls_tests";
        ASSERT_TRUE(TestAuthorityTrusted()) << "the test authority could not be trusted";
    }

    int Fetch(unsigned short port,
              const std::string& object = "/stats/eurofxref/eurofxref-daily.xml")
    {
        ::DeleteFileW(file.c_str());
        CRatesSession controller(nullptr);
        return controller.DownloadFile(
            L"Kalvo", L"localhost", std::wstring(object.begin(), object.end()), port, true, file);
    }
    bool GotTheDocument() const
    {
        return PathExists(file) && ReadBytes(file).find("<Cube currency=") != std::string::npos;
    }

    std::unique_ptr<HostTlsServer> tls;
};

TEST_F(DownloadOverTls, OnlyAValidCertificateOfTheHostFromATrustedAuthorityPasses)
{
    EXPECT_EQ(Fetch(tls->TrustedPort()), 200);
    EXPECT_TRUE(GotTheDocument());
    const std::pair<const char*, unsigned short> refused[] = {
        {"expired", tls->ExpiredPort()},
        {"for another host", tls->WrongHostPort()},
        {"self-signed", tls->Port()}};
    for (const auto& [what, port] : refused)
    {
        SCOPED_TRACE(what);
        EXPECT_EQ(Fetch(port), 0);
        EXPECT_FALSE(PathExists(file));
    }
}

TEST_F(DownloadOverTls, EachRedirectIsFollowedOnceAndToTlsOnly)
{
    for (int status : {301, 302, 303, 307, 308})
        for (const char* kind : {"absolute", "relative", "lower"})
        {
            SCOPED_TRACE(std::to_string(status) + " " + kind);
            EXPECT_EQ(Fetch(tls->TrustedPort(),
                            "/stats/eurofxref/moved-" + std::to_string(status) + "-" + kind),
                      200);
            EXPECT_TRUE(GotTheDocument());
        }
    EXPECT_EQ(Fetch(tls->TrustedPort(), "/stats/eurofxref/moved-twice"), 302);
    EXPECT_FALSE(PathExists(file));

    LoopbackHttpServer plain(Answer(HttpAnswer(200, "OK", "<Cube currency='USD' rate='1'/>")));
    EXPECT_EQ(
        Fetch(tls->TrustedPort(), "/stats/eurofxref/to-plain-" + std::to_string(plain.Port())), 0);
    EXPECT_TRUE(plain.Requests().empty());
    EXPECT_EQ(Fetch(tls->TrustedPort(), "/stats/eurofxref/cut-short"), 0);
}

TEST_F(DownloadTest, RefusedConnectionFailsAtOnce)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Download(UnusedLoopbackPort()), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_FALSE(PathExists(file));
}

TEST_F(DownloadTest, AnOutputFileThatCannotBeCreatedGivesZero)
{
    LoopbackHttpServer server(Answer(HttpAnswer(200, "OK", "rates")));
    CRatesSession controller(nullptr);
    const std::wstring unreachable = folder.File(L"missing\\currency.xml");
    EXPECT_EQ(
        controller.DownloadFile(L"Kalvo", L"127.0.0.1", kObject, server.Port(), false, unreachable),
        0);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_FALSE(controller.m_pRequest);
    EXPECT_FALSE(PathExists(unreachable));
}

TEST_F(DownloadTest, BodiesUpToOneMebibyteAreAcceptedAndLargerOnesFail)
{
    const std::string limit = MixedBytes(kMaxRatesBodyBytes);
    {
        LoopbackHttpServer server(Answer(HttpAnswer(200, "OK", limit)));
        EXPECT_EQ(Download(server.Port()), 200);
        EXPECT_EQ(ReadBytes(file), limit);
    }
    LoopbackHttpServer server(Answer(HttpAnswer(200, "OK", limit + "x")));
    EXPECT_EQ(Download(server.Port()), 0);
}

// The progress window over the same exchanges.

TEST(ProgressWindow, ShowsTheConnectionEventsAndEndsWithSuccess)
{
    TempDir folder;
    const std::wstring file = folder.File(L"currency.xml");
    LoopbackHttpServer server(Answer(HttpAnswer(200, "OK", MixedBytes(9000))));
    const ProgressRun run = RunProgressWindow(server.Port(), kObject, file);
    EXPECT_EQ(run.dialogResult, 1);
    EXPECT_EQ(run.downloadResult, 200);
    EXPECT_EQ(run.caption, L"Updating currency rates from the European Central Bank");
    ASSERT_FALSE(run.details.empty());
    EXPECT_EQ(run.details.back(), L"Connection Ok.");
    // The library's events in the order they happen.
    const std::vector<std::wstring> expected = {L"Connecting to server", L"Connected",
                                                L"Sending request", L"Recieving data..."};
    auto at = run.details.begin();
    for (const std::wstring& line : expected)
    {
        at = std::find(at, run.details.end(), line);
        EXPECT_NE(at, run.details.end()) << "missing or out of order: " << line;
    }
    EXPECT_EQ(run.progressPos, 0);
    EXPECT_EQ(ReadBytes(file), MixedBytes(9000));
}

TEST(ProgressWindow, AFailedDownloadEndsWithZeroAndTheErrorLine)
{
    TempDir folder;
    const std::wstring file = folder.File(L"currency.xml");
    {
        LoopbackHttpServer server(Answer(HttpAnswer(404, "Not Found", "no such page")));
        const ProgressRun run = RunProgressWindow(server.Port(), kObject, file);
        EXPECT_EQ(run.dialogResult, 0);
        EXPECT_EQ(run.downloadResult, 404);
        ASSERT_FALSE(run.details.empty());
        EXPECT_EQ(run.details.back(), L"Error connecting to ECB");
    }
    const ProgressRun refused = RunProgressWindow(UnusedLoopbackPort(), kObject, file);
    EXPECT_EQ(refused.dialogResult, 0);
    EXPECT_EQ(refused.downloadResult, 0);
    ASSERT_FALSE(refused.details.empty());
    EXPECT_EQ(refused.details.back(), L"Error connecting to ECB");

    LoopbackHttpServer server(Answer(HttpAnswer(200, "OK", "rates")));
    const ProgressRun unwritable =
        RunProgressWindow(server.Port(), kObject, folder.File(L"missing\\currency.xml"));
    EXPECT_EQ(unwritable.dialogResult, 0);
    EXPECT_EQ(unwritable.downloadResult, 0);
    EXPECT_FALSE(PathExists(file));
}

TEST(ProgressWindow, ClosingTheWindowDuringTheBodyStopsTheDownload)
{
    TempDir folder;
    const std::wstring file = folder.File(L"currency.xml");
    const std::string body = MixedBytes(200000);
    std::atomic<HWND> window{nullptr};
    std::atomic<bool> clientLeft{false};
    ProgressRun run;
    {
        LoopbackHttpServer server(
            [&](const SeenRequest&, ServerConnection& connection)
            {
                const std::string answer = HttpAnswer(200, "OK", body);
                const std::size_t head = answer.size() - body.size();
                std::size_t sent = head + 6000;
                connection.Send(answer.substr(0, sent));
                // The user closes the window while the body is still coming, slowly.
                ::PostMessageW(window.load(), WM_SYSCOMMAND, SC_CLOSE, 0);
                const auto start = std::chrono::steady_clock::now();
                while (sent < answer.size() &&
                       std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
                {
                    if (connection.ClientGone())
                    {
                        clientLeft = true;
                        return;
                    }
                    ::Sleep(30);
                    if (!connection.Send(answer.substr(sent, 500)))
                    {
                        clientLeft = true;
                        return;
                    }
                    sent += 500;
                }
            });
        run = RunProgressWindow(server.Port(), kObject, file, [&](HWND shown) { window = shown; });
    }
    // The stop closed the connection; the server did not have to give up on it.
    EXPECT_TRUE(clientLeft);
    EXPECT_EQ(run.dialogResult, 0);
    EXPECT_EQ(run.downloadResult, 500);
    ASSERT_FALSE(run.details.empty());
    EXPECT_EQ(run.details.back(), L"Error connecting to ECB");
    // What arrived before the stop stays in the file, and the file is closed.
    const std::string kept = ReadBytes(file);
    EXPECT_GT(kept.size(), 0u);
    EXPECT_LT(kept.size(), body.size());
    EXPECT_EQ(kept, body.substr(0, kept.size()));
    EXPECT_TRUE(::DeleteFileW(file.c_str()));
}

// A server that takes the request and says nothing holds the network call for as long as it
// likes: the window still answers, and its close box ends the download at once (before, both
// waited for the 20-second silence limit).
TEST(ProgressWindow, AnswersAndClosesWhileTheServerSaysNothing)
{
    TempDir folder;
    std::atomic<bool> serverDone{false};
    LoopbackHttpServer server(
        [&](const SeenRequest&, ServerConnection& connection)
        {
            const auto start = std::chrono::steady_clock::now();
            while (!connection.ClientGone() && !connection.Stopping() &&
                   std::chrono::steady_clock::now() - start < std::chrono::seconds(15))
                ::Sleep(20);
            serverDone = true;
        });
    bool bAnswered = false;
    std::chrono::steady_clock::time_point closedAt;
    std::thread user;
    const ProgressRun run = RunProgressWindow(
        server.Port(), kObject, folder.File(L"currency.xml"),
        [&](HWND window)
        {
            user = std::thread(
                [&, window]
                {
                    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                    while (server.Requests().empty() && std::chrono::steady_clock::now() < limit)
                        ::Sleep(20);
                    ::Sleep(300); // the client now waits for an answer
                    DWORD_PTR result = 0;
                    bAnswered = ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 500,
                                                      &result) != 0;
                    closedAt = std::chrono::steady_clock::now();
                    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
                });
        });
    const auto endedAfter = std::chrono::steady_clock::now() - closedAt;
    user.join();
    EXPECT_TRUE(bAnswered) << "the window did not answer within 0.5 s";
    EXPECT_EQ(run.dialogResult, 0);
    EXPECT_EQ(run.downloadResult, 500);
    // A second is the promise; the margin is for a loaded machine, far below the silence limit.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(endedAfter).count(), 3000);
    ASSERT_EQ(server.Requests().size(), 1u);
}
