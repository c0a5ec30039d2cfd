// How long one keypress takes, from the key to the refreshed result list, against the bare
// cost of writing every unit's value once through the record set, each write committed on
// its own, and against its floor, the same writes in one transaction. Prints figures only.
//
//   wine KeypressBench.exe [STARTER_CATALOGUE.mdb]
#include "app/DatabaseLocation.h"
#include "app/MainDlg.h"
#include "tools/catalogue/CatalogueWriter.h"

#include "framework/CommonControls.h"

#include "store/Utf8.h"

#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;
constexpr int kRounds = 101;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

SourceCategory GeneratedCategory(int units)
{
    SourceCategory category{L"Generated", 1003, L"", true, {}};
    for (int i = 0; i < units; ++i)
    {
        SourceUnit unit;
        unit.name = L"unit " + std::to_wstring(i);
        unit.factor = 1.0 + i * 0.37;
        unit.isShown = i % 4 == 0;
        unit.isSource = i == 0;
        category.units.push_back(unit);
    }
    return category;
}

void Execute(const std::wstring& path, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(ToUtf8(path).c_str(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// Each sample is one round of one kind; the kinds take turns, so a busy moment of the
// machine falls on all of them alike, and medians drop the rounds it spoiled.
double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

template <class F> double TimeOnce(F&& round)
{
    const auto start = Clock::now();
    round();
    return Milliseconds(Clock::now() - start);
}

struct Figures
{
    double keypress, recalculation, bare, floor;
};

void WriteEveryValue(CRecordsetUnit& units, double value)
{
    for (units.MoveFirst(); !units.IsEOF(); units.MoveNext())
    {
        units.Edit();
        units.m_UserValue = value;
        units.Update();
    }
}

Figures MeasureInTurns(CMainDlg& dlg)
{
    std::vector<double> keypress, recalculation, bare, floor;
    CCatalogue& catalogue = dlg.GetCatalogue();
    CRecordsetUnit& units = catalogue.Units();
    for (int i = 0; i < kRounds; ++i)
    {
        // A digit, then backspace, so the text never reaches its limit.
        const int nKey = i % 2 == 0 ? IDC_KEY_0 + 5 : IDC_KEY_BACKSPACE;
        keypress.push_back(TimeOnce([&] { dlg.SendMessage(WM_COMMAND, nKey, 0); }));
        // The key's own writes: every unit's value for the source value it gave.
        recalculation.push_back(TimeOnce([&] { catalogue.StoreValue(i % 2 == 0 ? 5.0 : 0.0); }));
        // Each unit's value written once through the unit set, each write its own commit.
        bare.push_back(TimeOnce([&] { WriteEveryValue(units, i * 1.5); }));
        floor.push_back(TimeOnce(
            [&]
            {
                CDaoTransaction transaction(dlg.GetCatalogue().Database());
                WriteEveryValue(units, i * 2.5);
                transaction.CommitTrans();
            }));
    }
    return {Median(keypress), Median(recalculation), Median(bare), Median(floor)};
}

void Measure(const char* label)
{
    CMainDlg dlg;
    if (!dlg.Create())
    {
        std::printf("%s: the main window did not open\n", label);
        return;
    }
    const int units = dlg.GetCatalogue().Units().GetRecordCount();
    MeasureInTurns(dlg); // warm the caches
    const Figures f = MeasureInTurns(dlg);
    std::printf("%-26s %4d units: keypress %7.2f ms (recalculation %.2f, field and result "
                "list %.2f), bare writes %7.2f ms, ratio %.2f; floor (one transaction) %.2f ms, "
                "ratio %.2f (medians of %d rounds)\n",
                label, units, f.keypress, f.recalculation, f.keypress - f.recalculation, f.bare,
                f.keypress / f.bare, f.floor, f.keypress / f.floor, kRounds);
    dlg.DestroyWindow();
}
} // namespace

int main(int argc, char** argv)
{
    AfxInitCommonControls();
    const std::wstring path = GetDatabaseBasePath() + L".mdb";
    ::DeleteFileW(path.c_str());
    WriteCatalogue(path, {GeneratedCategory(200)});
    Measure("generated category");

    if (argc > 1)
    {
        ::DeleteFileW(path.c_str());
        ::CopyFileW(FromUtf8(argv[1]).c_str(), path.c_str(), FALSE);
        // Start on the category with the most units.
        Execute(path, "UPDATE Category SET IsSelected = (CategoryId = (SELECT CategoryId FROM "
                      "Units GROUP BY CategoryId ORDER BY count(*) DESC LIMIT 1))");
        Measure("largest starter category");
    }
    ::DeleteFileW(path.c_str());
    return 0;
}
