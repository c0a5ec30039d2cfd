// Any bytes, read as a rates document: the scan must end, stay inside its strings and keep
// the promises the rebuild relies on; the update answered Yes twice must rebuild exactly for
// a usable document, leave every id of the currency category naming one of its units, and
// write nothing otherwise.
#include "rates/CurrencyNames.h"
#include "rates/CurrencyUpdate.h"
#include "rates/RatesDocument.h"

#include "tests/Checks.h"
#include "tests/rates/ScriptedUpdateSite.h"
#include "tests/store/StoreTestSupport.h"

#include "store/Catalogue.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{
// The sample catalogue, its category 1 standing in for the currency category, opened once.
CCatalogue& ShownCurrencyCategory()
{
    static TempDir dir;
    static CCatalogue catalogue;
    if (!catalogue.IsOpen())
    {
        CreateSampleCatalogue(dir.File(L"catalogue.mdb"));
        Require(catalogue.Open(dir.File(L"catalogue.mdb")));
    }
    catalogue.Categories().SetAbsolutePosition(0);
    catalogue.SelectCategory();
    catalogue.Units().Requery();
    return catalogue;
}

void CheckUpdate(const std::string& bytes, const RatesScan& scan)
{
    CCatalogue& catalogue = ShownCurrencyCategory();
    sqlite3* db = catalogue.Database().Handle();
    const int changesBefore = sqlite3_total_changes(db);
    ScriptedSite site({true, true}, bytes);
    const bool rebuilt = UpdateCurrencyCategory(catalogue, site) == CurrencyUpdateResult::Rebuilt;
    Require(site.engineError.empty());
    Require(rebuilt == IsUsableForRebuild(scan));
    if (!rebuilt)
    {
        Require(sqlite3_total_changes(db) == changesBefore);
        return;
    }
    Require(QueryInt(db, "SELECT count(*) FROM Units WHERE CategoryId = 1") ==
            static_cast<std::int64_t>(scan.currencies.size()));
    Require(QueryInt(db, "SELECT count(*) FROM Units WHERE CategoryId = 2") == 2);
    Require(QueryInt(db, "SELECT count(*) FROM Category c JOIN Units s ON s.UnitId = "
                         "c.SourceUnitId JOIN Units u ON u.UnitId = c.CurrentUnitId JOIN Units t "
                         "ON t.UnitId = c.TargetUnitId WHERE c.CategoryId = 1 AND s.CategoryId = "
                         "1 AND u.CategoryId = 1 AND t.CategoryId = 1") == 1);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = MakeWorkingText(bytes);
    Require(text.empty() == bytes.empty());
    Require(text.empty() || text.back() == L'\n');

    const RatesScan scan = ScanRatesDocument(text);
    Require(scan.hasRates || (!scan.hasDate && scan.currencies.empty()));
    Require(scan.hasDate || scan.currencies.empty());
    if (!scan.currencies.empty())
    {
        // The inserted euro always comes first.
        Require(scan.currencies.front().code == L"EUR" && scan.currencies.front().rate == 1.0);
    }
    const std::wstring note = CurrencyUnitNote(scan.date);
    for (const CurrencyRate& currency : scan.currencies)
    {
        Require(currency.code.size() == 3);
        Require(currency.unitName.size() <= 50);
        Require(currency.unitName == CurrencyUnitName(currency.code));
        Require(currency.isSelected == (currency.code == L"USD" || currency.code == L"EUR"));
        Require(currency.note == note);
    }
    if (IsUsableForRebuild(scan))
        Require(scan.hasDate && !scan.date.empty() && scan.currencies.size() > 1);
    CheckUpdate(bytes, scan);

    // Arbitrary markers from the input itself: the extraction must stay in bounds and a
    // consuming loop must shrink the text until it stops.
    if (size >= 2)
    {
        const std::size_t split = std::min<std::size_t>(data[0] % 8, text.size());
        std::wstring work = text;
        const std::wstring start = text.substr(0, split);
        const std::wstring end = text.substr(split, data[1] % 4);
        if (!end.empty() || !start.empty())
        {
            std::wstring content;
            std::size_t before = work.size();
            while (ExtractElement(work, content, start, end, true))
            {
                Require(work.size() < before && content.size() <= before);
                before = work.size();
            }
        }
    }

    std::wstring name;
    Require(LookupCurrencyName(text, name) == !name.empty());
    return 0;
}
