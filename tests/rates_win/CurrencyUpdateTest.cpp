// The currency update end to end: the real main window on a real catalogue file, the
// download from a loopback server, the questions answered as a user would.
#include "tests/app/AppTestSupport.h"
#include "tests/rates_win/HostTlsServer.h"
#include "tests/rates_win/LoopbackHttpServer.h"
#include "tests/rates_win/RatesTestSupport.h"

#include "app/MainDlg.h"
#include "rates/DownloadRates.h"

#include "framework/ModalSeam.h"
#include "store/Utf8.h"


#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <map>
#include <set>

namespace
{
const wchar_t kConnectQuestion[] =
    L"Kalvo will connect to European Central Bank (ECB)\nto acquire new currency rates.\n\n"
    L"Please check internet connection before clicking Yes.\n\nDo you want to proceed now?\n";
const wchar_t kConnectionFailed[] =
    L"Connection to ECB failed.\n\nCheck your internet connection or try again later.\n";
const wchar_t kReadError[] = L"Error reading file Currency.xml\n";

const char kRatesDocument[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\">\r\n"
    "\t<gesmes:subject>Reference rates</gesmes:subject>\r\n"
    "\t<Cube>\r\n"
    "\t\t<Cube time='2005-12-06'>\r\n"
    "\t\t\t<Cube currency='USD' rate='1.1782'/>\r\n"
    "\t\t\t<Cube currency='JPY' rate='142.38'/>\r\n"
    "\t\t\t<Cube currency=\"ABC\" rate=\"2.5\" />\r\n"
    "\t\t</Cube>\r\n"
    "\t</Cube>\r\n"
    "</gesmes:Envelope>\r\n";

const char kCurrencyName[] = "SELECT CategoryName FROM Category WHERE CategoryId = 1";
const char kCurrencyUnits[] = "SELECT count(*) FROM Units WHERE CategoryId = 1";

// The sample catalogue with the currency category as the one the window opens on.
std::vector<SourceCategory> OnCurrency(std::vector<SourceCategory> categories)
{
    for (auto& category : categories)
        category.isSelected = category.name.rfind(L"Currency", 0) == 0;
    return categories;
}

LoopbackHttpServer::Responder Serve(std::string answer)
{
    return [answer](const SeenRequest&, ServerConnection& connection) { connection.Send(answer); };
}

class CurrencyUpdateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::DeleteFileW(RatesFilePath().c_str());
        m_previousServer = g_ratesServer;
    }
    void TearDown() override
    {
        g_ratesServer = m_previousServer;
        ::DeleteFileW(RatesFilePath().c_str());
    }

    // Opens the window, runs the update with the answers given, closes the window. The
    // boxes shown come back in order.
    std::vector<MessageBoxRequest> RunUpdate(unsigned short port, std::deque<int> answers,
                                             std::function<void(CMainDlg&)> check = nullptr)
    {
        return RunUpdate(RatesServer{L"127.0.0.1", port, false}, std::move(answers),
                         std::move(check));
    }
    std::vector<MessageBoxRequest> RunUpdate(const RatesServer& server, std::deque<int> answers,
                                             std::function<void(CMainDlg&)> check = nullptr)
    {
        g_ratesServer = server;
        ScriptedMessageBoxes boxes(std::move(answers));
        CMainDlg dlg;
        EXPECT_TRUE(dlg.Create());
        // The window writes its results on opening; what the update does comes after.
        dumpBefore = catalogue.Dump();
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_CURRENCY_UPDATE, 0), 0);
        dumpAfter = catalogue.Dump();
        if (check)
            check(dlg);
        dlg.DestroyWindow();
        return boxes.boxes;
    }

    CatalogueBesideProgram catalogue;
    std::string dumpBefore, dumpAfter;

private:
    RatesServer m_previousServer{};
};

// A rates document of the given day with `count` currencies of made-up codes.
std::string GeneratedDocument(const std::string& date, int count)
{
    std::string document = "<gesmes:Envelope>\n<Cube>\n<Cube time='" + date + "'>\n";
    for (int i = 0; i < count; ++i)
        document += "<Cube currency='Q" + std::to_string(10 + i) + "' rate='" +
                    std::to_string(1.5 + i) + "'/>\n";
    return document + "</Cube>\n</Cube>\n</gesmes:Envelope>\n";
}

const char kRebuildChild[] = "KALVO_REBUILD_CHILD";

bool IsFailureBox(const MessageBoxRequest& box)
{
    return box.text == kConnectionFailed && box.type == (MB_OK | MB_ICONSTOP) &&
           box.caption == L"Kalvo";
}
} // namespace

TEST(RatesServerAddress, IsTheCentralBanksWebServerUnlessATestMovesIt)
{
    EXPECT_EQ(kCentralBankServer.host, L"www.ecb.europa.eu");
    EXPECT_EQ(kCentralBankServer.port, 443);
    EXPECT_TRUE(kCentralBankServer.secure);
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    EXPECT_EQ(RatesFilePath(), std::wstring(temp) + L"currency.xml");
}

TEST_F(CurrencyUpdateTest, RebuildsTheCurrencyCategoryFromTheDownloadedRates)
{
    catalogue.Write(OnCurrency(SampleCategories()));
    const char kOthers[] = "SELECT group_concat(CategoryName || ':' || (SELECT group_concat(UnitId "
                           "|| UnitName) FROM Units u WHERE u.CategoryId = c.CategoryId), ';') "
                           "FROM Category c WHERE CategoryId <> 1";
    const std::string othersBefore = catalogue.Text(kOthers);
    LoopbackHttpServer server(Serve(HttpAnswer(200, "OK", kRatesDocument)));

    const auto boxes = RunUpdate(
        server.Port(), {IDYES, IDYES},
        [&](CMainDlg& dlg)
        {
            EXPECT_EQ(dlg.GetWindowText(), L"Kalvo - Currency (2005-12-06)");
            EXPECT_EQ(RowTexts(CategoryList(dlg)),
                      (std::vector<std::wstring>{L"Currency (2005-12-06)", L"Length", L"Mass"}));
            EXPECT_EQ(RowTexts(UnitList(dlg)),
                      (std::vector<std::wstring>{L"ABC", L"European Union euro  (EUR)",
                                                 L"Japanese yen  (JPY)",
                                                 L"United States dollar  (USD)"}));
            EXPECT_EQ(RowTexts(ResultList(dlg)),
                      (std::vector<std::wstring>{L"European Union euro  (EUR)",
                                                 L"United States dollar  (USD)"}));
            EXPECT_EQ(SourceUnitField(dlg).GetWindowText(), L"European Union euro  (EUR)");
            EXPECT_EQ(dlg.GetFocus(), dlg.GetDlgItemHwnd(IDC_RENAME_CATEGORY));
        });

    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, kConnectQuestion);
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(boxes[1].text, L"New currency rates successfully obtained from the European "
                             L"Central Bank\n\nDo you want to recreate category Currency "
                             L"(2026-07-06) using new rates?\n");
    EXPECT_EQ(boxes[1].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].RequestLine(), "GET /stats/eurofxref/eurofxref-daily.xml HTTP/1.1");
    EXPECT_FALSE(PathExists(RatesFilePath()));

    EXPECT_EQ(catalogue.Text("SELECT group_concat(UnitName || '=' || FactorMul || '+' || "
                             "FactorAdd || (CASE IsInvertResult WHEN 1 THEN ' inverted' ELSE "
                             "'' END) || (CASE IsSelected WHEN 1 THEN ' shown' ELSE '' END), "
                             "'; ') FROM (SELECT * FROM Units WHERE CategoryId = 1 ORDER BY "
                             "UnitId)"),
              "European Union euro  (EUR)=1.0+0.0 inverted shown; United States dollar  (USD)="
              "1.1782+0.0 inverted shown; Japanese yen  (JPY)=142.38+0.0 inverted; ABC=2.5+0.0 "
              "inverted");
    EXPECT_EQ(catalogue.Int("SELECT count(*) FROM Units WHERE CategoryId = 1 AND "
                            "Note = 'rated 2005-12-06 by the European Central Bank'"),
              4);
    EXPECT_EQ(catalogue.Text("SELECT c.CategoryName || ', ' || c.Note || ', ' || s.UnitName || "
                             "', ' || u.UnitName FROM Category c JOIN Units s ON s.UnitId = "
                             "c.SourceUnitId JOIN Units u ON u.UnitId = c.CurrentUnitId WHERE "
                             "c.CategoryId = 1"),
              "Currency (2005-12-06), last updated 2005-12-06 from the European Central Bank, "
              "European Union euro  (EUR), United States dollar  (USD)");
    EXPECT_EQ(catalogue.Text(kOthers), othersBefore); // the other categories are not touched
}

TEST_F(CurrencyUpdateTest, EveryFailureLeavesTheCatalogueAsItWas)
{
    struct Case
    {
        const char* what;
        std::string answer;      // the server's; empty: nothing listens
        std::deque<int> answers; // to the boxes, in order
        std::size_t boxes;       // how many are shown
        bool failureShown;       // the last one says the connection failed
        bool fileLeft;
    };
    const Case cases[] = {
        {"first question answered No",
         HttpAnswer(200, "OK", kRatesDocument),
         {IDNO},
         1,
         false,
         false},
        {"not found", HttpAnswer(404, "Not Found", "gone"), {IDYES}, 2, true, false},
        {"refused connection", "", {IDYES}, 2, true, false},
        // What a hostile or broken server may send instead of an answer.
        {"bytes that are no HTTP at all",
         std::string("\x16\x03\x01\x00\xff\xfe garbage\r\n\r\n", 18),
         {IDYES},
         2,
         true,
         true},
        {"a status line without a status", "HTTP/1.1 abc def\r\n\r\n", {IDYES}, 2, true, false},
        {"a negative length",
         "HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\n<Cube",
         {IDYES},
         2,
         true,
         true},
        {"a redirect to a broken address",
         "HTTP/1.1 302 Found\r\nLocation: http://[::1\r\nContent-Length: 0\r\n\r\n",
         {IDYES},
         2,
         true,
         false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ::DeleteFileW(RatesFilePath().c_str());
        CatalogueBesideProgram fresh;
        catalogue.Write(OnCurrency(SampleCategories()));
        std::vector<MessageBoxRequest> boxes;
        if (c.answer.empty())
            boxes = RunUpdate(UnusedLoopbackPort(), c.answers);
        else
        {
            LoopbackHttpServer server(Serve(c.answer));
            boxes = RunUpdate(server.Port(), c.answers,
                              [&](CMainDlg& dlg)
                              {
                                  EXPECT_EQ(dlg.GetWindowText(), L"Kalvo - Currency (2026-07-06)");
                                  EXPECT_EQ(RowTexts(UnitList(dlg)).size(), 2u);
                              });
            EXPECT_EQ(server.Requests().size(), c.answers.front() == IDYES ? 1u : 0u);
        }
        ASSERT_EQ(boxes.size(), c.boxes);
        EXPECT_EQ(boxes[0].text, kConnectQuestion);
        EXPECT_EQ(IsFailureBox(boxes.back()), c.failureShown);
        EXPECT_EQ(PathExists(RatesFilePath()), c.fileLeft);
        EXPECT_EQ(dumpAfter, dumpBefore);
    }
}

// The whole command as it runs against the bank: over TLS, its certificate checked.
TEST_F(CurrencyUpdateTest, OverTlsATrustedServerRebuildsAndAnExpiredOneChangesNothing)
{
    const auto tls = HostTlsServer::FromEnvironment();
    if (!tls)
        GTEST_SKIP() << "needs the TLS servers of tests/rates_win/with_tls_server.py";
    ASSERT_TRUE(TestAuthorityTrusted());
    catalogue.Write(OnCurrency(SampleCategories()));
    auto boxes = RunUpdate(RatesServer{L"localhost", tls->ExpiredPort(), true}, {IDYES});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(IsFailureBox(boxes[1]));
    EXPECT_EQ(dumpAfter, dumpBefore);

    boxes = RunUpdate(RatesServer{L"localhost", tls->TrustedPort(), true}, {IDYES, IDYES});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text.rfind(L"New currency rates successfully obtained", 0), 0u);
#ifdef KALVO_ECB_DOCUMENT
    EXPECT_EQ(catalogue.Text(kCurrencyName), "Currency (2026-07-06)");
    EXPECT_EQ(catalogue.Int(kCurrencyUnits), 30); // the euro and the bank's 29
#else
    EXPECT_EQ(catalogue.Text(kCurrencyName), "Currency (2005-12-06)");
    EXPECT_EQ(catalogue.Int(kCurrencyUnits), 3);
#endif
}

// The child of the test below: rebuilds the currency category again and again, from two
// documents in turn, on the catalogue the parent wrote, until the parent kills it.
TEST(CurrencyRebuildChild, DISABLED_RebuildsUntilKilled)
{
    if (!::GetEnvironmentVariableA(kRebuildChild, nullptr, 0))
        GTEST_SKIP() << "runs only as the child of the kill test";
    std::atomic<int> served{0};
    LoopbackHttpServer server(
        [&](const SeenRequest&, ServerConnection& connection)
        {
            connection.Send(HttpAnswer(200, "OK",
                                       served++ % 2 == 0 ? GeneratedDocument("2010-01-01", 40)
                                                         : GeneratedDocument("2011-01-01", 25)));
        });
    g_ratesServer = RatesServer{L"127.0.0.1", server.Port(), false};
    for (;;)
    {
        ScriptedMessageBoxes boxes({IDYES, IDYES});
        CMainDlg dlg;
        if (!dlg.Create())
            return;
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_CURRENCY_UPDATE, 0), 0);
        dlg.DestroyWindow();
    }
}

// Killed at any moment of a rebuild, the program leaves the old currency category or the
// new one, each whole: the category's name and its units always belong to one document.
TEST_F(CurrencyUpdateTest, AKillDuringTheRebuildLeavesTheOldCategoryOrTheNewOneWhole)
{
    catalogue.Write(OnCurrency(SampleCategories()));
    const std::map<std::string, std::int64_t> unitsOfCategory = {
        {"Currency (2026-07-06)", catalogue.Int(kCurrencyUnits)},
        {"Currency (2010-01-01)", 41},
        {"Currency (2011-01-01)", 26}};
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring command = std::wstring(L"\"") + program +
                           L"\" --gtest_also_run_disabled_tests "
                           L"--gtest_filter=CurrencyRebuildChild.DISABLED_RebuildsUntilKilled";
    ::SetEnvironmentVariableA(kRebuildChild, "1");
    std::set<std::string> seen;
    for (int round = 0; round < 12; ++round)
    {
        SCOPED_TRACE(round);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION child{};
        ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     nullptr, &startup, &child));
        ::Sleep(static_cast<DWORD>(700 + (round * 137) % 1500));
        ::TerminateProcess(child.hProcess, 9);
        ::WaitForSingleObject(child.hProcess, INFINITE);
        ::CloseHandle(child.hThread);
        ::CloseHandle(child.hProcess);

        {
            // The next start: it replays or drops what the killed process left half done.
            ScriptedMessageBoxes boxes;
            CMainDlg next;
            EXPECT_TRUE(next.Create());
            next.DestroyWindow();
            EXPECT_TRUE(boxes.boxes.empty()) << ToUtf8(boxes.boxes.front().text);
        }
            const std::string name = catalogue.Text(kCurrencyName);
        const auto expected = unitsOfCategory.find(name);
        ASSERT_NE(expected, unitsOfCategory.end()) << name;
        EXPECT_EQ(catalogue.Int(kCurrencyUnits), expected->second) << name;
        seen.insert(name);
    }
    ::SetEnvironmentVariableA(kRebuildChild, nullptr);
    // The child got as far as rebuilding: the kills did not all fall before the first one.
    EXPECT_GT(seen.size(), 1u);
}

TEST_F(CurrencyUpdateTest, StoppingTheDownloadLeavesTheCatalogueAsItWas)
{
    catalogue.Write(OnCurrency(SampleCategories()));
    std::atomic<HWND> progress{nullptr};
    ScopedModalDialogHandler watch(
        [&](CDialog& dialog)
        {
            if (dialog.GetTemplateID() == IDD_RATES_PROGRESS)
                progress = dialog.m_hWnd;
        });
    // A large document, sent slowly after its first part, closed by the user meanwhile.
    std::string document = kRatesDocument;
    document.insert(document.find("<Cube>"), std::string(100000, ' '));
    LoopbackHttpServer server(
        [&](const SeenRequest&, ServerConnection& connection)
        {
            const std::string answer = HttpAnswer(200, "OK", document);
            std::size_t sent = 8000;
            connection.Send(answer.substr(0, sent));
            ::PostMessageW(progress.load(), WM_SYSCOMMAND, SC_CLOSE, 0);
            const auto start = std::chrono::steady_clock::now();
            while (sent < answer.size() && !connection.ClientGone() &&
                   std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
            {
                ::Sleep(30);
                if (!connection.Send(answer.substr(sent, 500)))
                    return;
                sent += 500;
            }
        });
    const auto boxes = RunUpdate(server.Port(), {IDYES, IDYES});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(IsFailureBox(boxes[1]));
    EXPECT_EQ(dumpAfter, dumpBefore);
}

TEST_F(CurrencyUpdateTest, ADownloadedFileThatCannotBeReadIsReportedAndChangesNothing)
{
    struct Case
    {
        const char* what;
        // Done to the rates file once the download has stored and closed it.
        std::function<void(const std::wstring&)> spoil;
    };
    HANDLE holder = INVALID_HANDLE_VALUE;
    const Case cases[] = {
        {"held open for writing by another program",
         [&](const std::wstring& path)
         {
             holder = ::CreateFileW(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
             EXPECT_NE(holder, INVALID_HANDLE_VALUE);
         }},
        {"removed", [](const std::wstring& path) { EXPECT_TRUE(::DeleteFileW(path.c_str())); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        CatalogueBesideProgram fresh;
        catalogue.Write(OnCurrency(SampleCategories()));
        LoopbackHttpServer server(Serve(HttpAnswer(200, "OK", kRatesDocument)));
        std::string stored;
        ScopedProgressWindowEnd spoiler(
            [&]
            {
                stored = ReadBytes(RatesFilePath());
                c.spoil(RatesFilePath());
            });
        const auto boxes =
            RunUpdate(server.Port(), {IDYES},
                      [&](CMainDlg& dlg)
                      {
                          EXPECT_EQ(dlg.GetWindowText(), L"Kalvo - Currency (2026-07-06)");
                          EXPECT_EQ(RowTexts(UnitList(dlg)).size(), 2u);
                      });
        if (holder != INVALID_HANDLE_VALUE)
        {
            ::CloseHandle(holder);
            holder = INVALID_HANDLE_VALUE;
        }
        // The download itself went through.
        EXPECT_EQ(server.Requests().size(), 1u);
        EXPECT_EQ(stored, kRatesDocument);

        ASSERT_EQ(boxes.size(), 3u);
        EXPECT_EQ(boxes[0].text, kConnectQuestion);
        EXPECT_EQ(boxes[1].text, kReadError);
        EXPECT_EQ(boxes[1].caption, L"Kalvo");
        EXPECT_EQ(boxes[1].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
        EXPECT_TRUE(IsFailureBox(boxes[2]));
        EXPECT_EQ(dumpAfter, dumpBefore);
        // The update removes what it could not read, once the other program lets go.
        EXPECT_FALSE(PathExists(RatesFilePath()));
    }
}
