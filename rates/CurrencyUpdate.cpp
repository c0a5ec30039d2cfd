#include "rates/CurrencyUpdate.h"

#include "rates/CurrencyRebuild.h"

#include "store/Catalogue.h"
#include "store/DaoException.h"

namespace
{
const wchar_t kConnectQuestion[] =
    L"Kalvo will connect to European Central Bank (ECB)\nto acquire new currency rates.\n\n"
    L"Please check internet connection before clicking Yes.\n\nDo you want to proceed now?\n";
const wchar_t kConnectionFailed[] =
    L"Connection to ECB failed.\n\nCheck your internet connection or try again later.\n";
const wchar_t kReadError[] = L"Error reading file Currency.xml\n";

std::wstring RecreateQuestion(const std::wstring& categoryName)
{
    return L"New currency rates successfully obtained from the European Central Bank\n\n"
           L"Do you want to recreate category " +
           categoryName + L" using new rates?\n";
}

bool ShowsCurrency(CCatalogue& catalogue)
{
    const CRecordsetUnit& units = catalogue.Units();
    return catalogue.OnCurrencyCategory() ||
           (!units.IsEOF() && !units.IsBOF() && units.m_CategoryId == kCurrencyCategoryId);
}

// The scan of the fetched document; nothing usable when it could not be fetched or read.
RatesScan FetchRates(ICurrencyUpdateSite& site)
{
    if (!site.DownloadDocument())
        return {};
    std::string bytes;
    if (site.ReadDocument(bytes))
        return ScanRatesDocument(MakeWorkingText(bytes));
    site.Tell(kReadError);
    site.DeleteDocument();
    return {};
}
} // namespace

CurrencyUpdateResult UpdateCurrencyCategory(CCatalogue& catalogue, ICurrencyUpdateSite& site)
{
    if (!catalogue.IsOpen() || !ShowsCurrency(catalogue) || !site.Ask(kConnectQuestion))
        return CurrencyUpdateResult::Untouched;

    // The old units go only once the document has given a date and rates of its own; an
    // unusable document stays in the file for whoever wants to see what came.
    const RatesScan scan = FetchRates(site);
    if (!IsUsableForRebuild(scan))
    {
        site.Tell(kConnectionFailed);
        return CurrencyUpdateResult::Untouched;
    }
    if (!site.Ask(RecreateQuestion(catalogue.Categories().m_CategoryName)))
    {
        site.DeleteDocument();
        return CurrencyUpdateResult::Untouched;
    }

    // All or nothing: on any error the user sees it and keeps the old category whole.
    CurrencyUpdateResult result = CurrencyUpdateResult::Untouched;
    try
    {
        if (RebuildCurrencyCategory(catalogue, scan))
            result = CurrencyUpdateResult::Rebuilt;
    }
    catch (const CDaoException& e)
    {
        site.ReportEngineError(e);
        result = CurrencyUpdateResult::Refused;
    }
    site.DeleteDocument();
    return result;
}
