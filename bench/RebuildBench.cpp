// The currency rebuild from a stored rates document. The whole update command is timed with
// the document served from a loopback server: questions answered Yes, the progress window
// over the download, the scan, the rebuild and the refilled lists. The download alone, the
// refill of the lists alone, the scan alone and the update without a window (scan and
// rebuild on the catalogue, the document in memory) are timed as well, and the rebuild's
// floor is writing the same number of unit records through the unit set. Prints figures
// only.
//
//   wine RebuildBench.exe STARTER_CATALOGUE.mdb [RATES_DOCUMENT.xml] [ROUNDS]
#include "tests/rates/ScriptedUpdateSite.h"
#include "tests/rates_win/LoopbackHttpServer.h"

#include "app/DatabaseLocation.h"
#include "app/MainDlg.h"
#include "rates/CurrencyUpdate.h"
#include "rates/DownloadRates.h"
#include "rates/RatesDocument.h"

#include "framework/CommonControls.h"
#include "framework/ModalSeam.h"

#include "store/Catalogue.h"
#include "store/Utf8.h"

#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;
const wchar_t kRatesObject[] = L"/stats/eurofxref/eurofxref-daily.xml";
constexpr int kScanRepeats = 50;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

bool ReadBytes(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    bytes = text.str();
    return in.good() || in.eof();
}

long long QueryCount(const std::wstring& path, const char* sql)
{
    sqlite3* db = nullptr;
    long long count = -1;
    if (sqlite3_open_v2(ToUtf8(path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK)
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            count = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return count;
}

// The starter catalogue beside the program, opening on the currency category.
void PlaceCatalogue(const std::wstring& starter, const std::wstring& path)
{
    for (const wchar_t* suffix : {L"", L".tmp", L"-wal", L"-shm", L"-journal"})
        ::DeleteFileW((path + suffix).c_str());
    ::CopyFileW(starter.c_str(), path.c_str(), FALSE);
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    sqlite3* db = nullptr;
    sqlite3_open(ToUtf8(path).c_str(), &db);
    sqlite3_exec(db, "UPDATE Category SET IsSelected = (CategoryId = 1)", nullptr, nullptr,
                 nullptr);
    sqlite3_close(db);
}

// The update without a window on the catalogue opened as the main window opens it; a
// negative figure when it did not rebuild.
double MeasureWindowlessUpdate(const std::wstring& starter, const std::string& document)
{
    const std::wstring path = GetDatabaseBasePath() + L".mdb";
    PlaceCatalogue(starter, path);
    CCatalogue catalogue;
    if (!catalogue.Open(path))
        return -1;
    catalogue.Categories().SetAbsolutePosition(catalogue.FindMarkedCategory());
    catalogue.SelectCategory();
    catalogue.Units().Requery();
    ScriptedSite site({true, true}, document);
    const auto start = Clock::now();
    const bool rebuilt = UpdateCurrencyCategory(catalogue, site) == CurrencyUpdateResult::Rebuilt;
    const double ms = Milliseconds(Clock::now() - start);
    return rebuilt ? ms : -1;
}

struct Round
{
    bool ok = false;
    double commandMs = 0, downloadMs = 0, listsMs = 0, bareMs = 0;
    long long oldUnits = 0, newUnits = 0;
};

Round MeasureRound(const std::wstring& starter, std::size_t records)
{
    Round round;
    const std::wstring catalogue = GetDatabaseBasePath() + L".mdb";
    PlaceCatalogue(starter, catalogue);
    round.oldUnits = QueryCount(catalogue, "SELECT count(*) FROM Units WHERE CategoryId = 1");

    CMainDlg dlg;
    if (!dlg.Create())
    {
        std::printf("the main window did not open\n");
        return round;
    }
    // Painted and idle, as a user's window is when the command is chosen: otherwise its
    // first paint happens inside the progress window's loop and counts as download time.
    ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }

    int boxes = 0;
    bool recreateAsked = false;
    {
        ScopedMessageBoxHandler answers(
            [&](const MessageBoxRequest& request)
            {
                ++boxes;
                recreateAsked |= request.text.rfind(L"New currency rates", 0) == 0;
                return (request.type & MB_YESNO) ? IDYES : IDOK;
            });
        const auto start = Clock::now();
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_CURRENCY_UPDATE, 0), 0);
        round.commandMs = Milliseconds(Clock::now() - start);
    }
    round.newUnits = QueryCount(catalogue, "SELECT count(*) FROM Units WHERE CategoryId = 1");
    if (boxes != 2 || !recreateAsked)
    {
        std::printf("the update did not reach the rebuild (%d boxes)\n", boxes);
        dlg.DestroyWindow();
        return round;
    }

    // The command's last step again: the category list refilled (here by the sort command,
    // which requeries it first), whose chosen row shows the rebuilt category's lists.
    const auto listsStart = Clock::now();
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_SORT_DEFAULT, 0), 0);
    round.listsMs = Milliseconds(Clock::now() - listsStart);

    // The same download with its progress window, into a file of its own.
    const std::wstring downloaded = RatesFilePath() + L".bench";
    const auto downloadStart = Clock::now();
    const int fetched = DownloadRates(g_ratesServer, kRatesObject, downloaded);
    round.downloadMs = Milliseconds(Clock::now() - downloadStart);
    ::DeleteFileW(downloaded.c_str());

    // The floor: as many unit records as the rebuild wrote, added through the unit set.
    CRecordsetUnit& units = dlg.GetCatalogue().Units();
    const auto bareStart = Clock::now();
    for (std::size_t i = 0; i < records; ++i)
    {
        units.AddNew();
        units.m_UnitName = L"unit " + std::to_wstring(i);
        units.m_CategoryId = kCurrencyCategoryId;
        units.m_FactorMul = 1.0 + static_cast<double>(i);
        units.m_FactorAdd = 0.0;
        units.m_IsInvertResult = true;
        units.m_IsSelected = false;
        units.m_Note = L"bench";
        units.m_UserValue = 1.0;
        units.Update();
    }
    round.bareMs = Milliseconds(Clock::now() - bareStart);
    dlg.DestroyWindow();
    round.ok = fetched != 0;
    if (!round.ok)
        std::printf("the download alone failed\n");
    return round;
}
} // namespace

int main(int argc, char** argv)
{
    std::string documentPath;
#ifdef KALVO_ECB_DOCUMENT
    documentPath = KALVO_ECB_DOCUMENT;
#endif
    if (argc > 2)
        documentPath = argv[2];
    if (argc < 2 || documentPath.empty())
    {
        std::printf("usage: RebuildBench STARTER_CATALOGUE.mdb [RATES_DOCUMENT.xml] [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 11;
    std::string document;
    if (!ReadBytes(documentPath, document) || document.empty())
    {
        std::printf("cannot read %s\n", documentPath.c_str());
        return 1;
    }
    AfxInitCommonControls();

    // The scan alone, as the update reads the saved file.
    const auto scanStart = Clock::now();
    std::size_t written = 0;
    for (int i = 0; i < kScanRepeats; ++i)
        written = ScanRatesDocument(MakeWorkingText(document)).currencies.size();
    const double scanMs = Milliseconds(Clock::now() - scanStart) / kScanRepeats;

    LoopbackHttpServer server([answer = HttpAnswer(200, "OK", document)](
                                  const SeenRequest&, ServerConnection& connection)
                              { connection.Send(answer); });
    g_ratesServer = RatesServer{L"127.0.0.1", server.Port(), false};
    const std::wstring starter = FromUtf8(argv[1]);

    MeasureRound(starter, written); // warm the caches
    std::vector<double> command, download, lists, rebuild, records, windowless, bare;
    long long oldUnits = 0, newUnits = 0;
    for (int i = 0; i < rounds; ++i)
    {
        const Round round = MeasureRound(starter, written);
        // After the window is gone: it keeps the catalogue open until then.
        const double windowlessMs = MeasureWindowlessUpdate(starter, document);
        if (!round.ok || windowlessMs < 0)
            continue;
        command.push_back(round.commandMs);
        download.push_back(round.downloadMs);
        lists.push_back(round.listsMs);
        rebuild.push_back(round.commandMs - round.downloadMs);
        records.push_back(round.commandMs - round.downloadMs - round.listsMs);
        windowless.push_back(windowlessMs);
        bare.push_back(round.bareMs);
        oldUnits = round.oldUnits;
        newUnits = round.newUnits;
    }
    ::DeleteFileW((GetDatabaseBasePath() + L".mdb").c_str());
    if (command.empty())
    {
        std::printf("no complete round\n");
        return 1;
    }

    const double bareMedian = Median(bare);
    std::printf("currency rebuild from %s (%zu bytes): %lld old units replaced by %lld; "
                "median of %zu rounds, ms\n",
                documentPath.c_str(), document.size(), oldUnits, newUnits, command.size());
    std::printf("  whole update command                                         %8.2f\n",
                Median(command));
    std::printf("    download alone (same server, progress window)              %8.2f\n",
                Median(download));
    std::printf("    rebuild: command minus download                            %8.2f\n",
                Median(rebuild));
    std::printf("      refill of the lists alone                                %8.2f\n",
                Median(lists));
    std::printf("      the rest (scan, deletes, writes): rebuild minus refill   %8.2f\n",
                Median(records));
    std::printf("      scan of the document alone                               %8.2f\n", scanMs);
    std::printf("  the update without a window (scan and rebuild)               %8.2f\n",
                Median(windowless));
    std::printf("  bare writes of %3zu unit records through the unit set         %8.2f\n",
                written, bareMedian);
    std::printf("  ratio to the bare writes: rebuild %.2f, rebuild without the refill %.2f, "
                "without a window %.2f, whole command %.2f\n",
                Median(rebuild) / bareMedian, Median(records) / bareMedian,
                Median(windowless) / bareMedian, Median(command) / bareMedian);
    return 0;
}
