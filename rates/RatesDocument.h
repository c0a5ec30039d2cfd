#pragma once
// Reading the central bank's daily euro reference rates as plain text: no XML parser, only
// fixed markers, so that the rates update does what it always did with the bank's file.
#include <string>
#include <vector>

// The file's bytes as the scan sees them: every line loses its terminator (CR LF or LF),
// each byte becomes the character of the same value, and every line, the last included,
// is followed by "\n".
std::wstring MakeWorkingText(const std::string& bytes);

// Finds the first `startText`, then the first `endText` after it. False (content empty,
// text unchanged) when either is missing; else true with the characters between them. With
// `consume` the element, its end text and one line feed just before it are cut out of the
// text, so that the next call finds the next element; this also holds for an element with
// nothing between its markers, which would otherwise be found again and again.
bool ExtractElement(std::wstring& text, std::wstring& content, const std::wstring& startText,
                    const std::wstring& endText, bool consume);

// Puts the euro's own rate element in front of the first currency element. A text with no
// currency element after its first character becomes empty: it holds no rates.
void InsertEuroRate(std::wstring& text);

// One currency unit as the rebuild writes it.
struct CurrencyRate
{
    std::wstring code;     // as the document writes it
    std::wstring unitName; // currency name + "  (" + code + ")", or the bare code; <= 50
    double rate = 0.0;     // units of the currency worth one euro
    bool isSelected = false;
    std::wstring note;
};

struct RatesScan
{
    // A currency element and a date element stand after the text's first character; without
    // them the document is no rates document and the update stops before asking anything.
    bool hasRates = false;
    bool hasDate = false;
    std::wstring date;
    // In document order; the first is the inserted euro whenever there is a date.
    std::vector<CurrencyRate> currencies;
};

// The whole scan of a working text. Elements without room for a rate, whose rate text holds
// no digit, or whose rate is not a finite amount above zero give no currency.
RatesScan ScanRatesDocument(const std::wstring& workingText);

// True when the scan gives a calendar date written YYYY-MM-DD and at least one currency of
// the document's own (the inserted euro does not count): only then may the old currency
// units be replaced.
bool IsUsableForRebuild(const RatesScan& scan);

std::wstring CurrencyUnitName(const std::wstring& code);
std::wstring CurrencyUnitNote(const std::wstring& date);
std::wstring CurrencyCategoryName(const std::wstring& date);
std::wstring CurrencyCategoryNote(const std::wstring& date);
