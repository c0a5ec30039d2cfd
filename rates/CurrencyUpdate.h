#pragma once
// The currency update command from the user's Yes to the rebuilt category, without a
// window: its questions, messages and the rates file go through a site that the main window
// fills with message boxes and the download, and tests and benchmarks with their own.
#include <string>

class CCatalogue;
class CDaoException;

class ICurrencyUpdateSite
{
public:
    // A Yes/No question; true for Yes.
    virtual bool Ask(const std::wstring& question) = 0;
    // A failure the user acknowledges.
    virtual void Tell(const std::wstring& failure) = 0;
    virtual void ReportEngineError(const CDaoException& e) = 0;
    // Fetches the rates document into the rates file; true when the whole document is there.
    virtual bool DownloadDocument() = 0;
    // The rates file's bytes; false when it cannot be opened or read.
    virtual bool ReadDocument(std::string& bytes) = 0;
    virtual void DeleteDocument() = 0;

protected:
    ~ICurrencyUpdateSite() = default;
};

enum class CurrencyUpdateResult
{
    Untouched, // not asked, answered No, or the document was missing or unusable
    Rebuilt,
    Refused, // the engine refused the rebuild: reported, and the old category stays whole
};

// Runs the whole command while the catalogue shows the currency category (or stands on one
// of its units); otherwise nothing happens.
CurrencyUpdateResult UpdateCurrencyCategory(CCatalogue& catalogue, ICurrencyUpdateSite& site);
