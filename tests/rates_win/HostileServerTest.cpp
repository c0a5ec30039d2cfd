// Servers that misbehave: silence, headers that never end, garbage for a status line. The
// download must come back with a failure, leave no file and close everything, however long
// the server keeps it up.
#include "tests/rates_win/LoopbackHttpServer.h"
#include "tests/rates_win/RatesTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace
{
const wchar_t kObject[] = L"/stats/eurofxref/eurofxref-daily.xml";

// Keeps the connection open, doing `each` every 50 ms, until the client goes or `limit`.
LoopbackHttpServer::Responder Stall(std::chrono::seconds limit,
                                    std::function<bool(ServerConnection&)> each)
{
    return [limit, each](const SeenRequest&, ServerConnection& connection)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end && !connection.Stopping() &&
               !connection.ClientGone())
        {
            if (each && !each(connection))
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    };
}

class HostileServerTest : public ::testing::Test
{
protected:
    int Download(unsigned short port) { return DownloadWithoutWindow(port, kObject, file); }
    bool FileLeft() const { return ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

    TempDir folder;
    const std::wstring file = folder.File(L"currency.xml");
};
} // namespace

// A server that takes the request and never answers: the download gives up on its own
// instead of holding the program for as long as the server likes.
TEST_F(HostileServerTest, SilenceEndsInFailure)
{
    LoopbackHttpServer server(Stall(std::chrono::seconds(90), nullptr));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Download(server.Port()), 0);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(waited, std::chrono::seconds(80)) << "gave up before the server did";
    EXPECT_FALSE(FileLeft());
}

// Headers that go on and on: the download is over when the server gives up, with
// everything closed.
TEST_F(HostileServerTest, HeadersThatNeverEndAreOutlasted)
{
    bool bStarted = false;
    LoopbackHttpServer server(Stall(std::chrono::seconds(5),
                                    [&](ServerConnection& connection)
                                    {
                                        if (!bStarted)
                                        {
                                            bStarted = true;
                                            return connection.Send("HTTP/1.1 200 OK\r\nX-Filler: ");
                                        }
                                        return connection.Send(std::string(4096, 'a'));
                                    }));
    const int result = Download(server.Port());
    EXPECT_TRUE(result == 0 || result == 200) << result;
}
