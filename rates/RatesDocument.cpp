#include "rates/RatesDocument.h"

#include "engine/ValueText.h"
#include "rates/CurrencyNames.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace
{
const wchar_t kEuroRate[] = L"\n<Cube currency='EUR' rate='1.0'/>\n";
const wchar_t kDateStart[] = L"<Cube time=";
const wchar_t kDateEnd[] = L">";
const wchar_t kCurrencyStart[] = L"<Cube currency=";
const wchar_t kCurrencyEnd[] = L"/>";
const wchar_t kRateMarker[] = L"rate=";
constexpr std::size_t kUnitNameLimit = 50;

// One currency element's content: a quote, the code, a quote, ... "rate=", a quote, the
// rate, the closing quote (its last character). False when it leaves no room for a rate
// or the rate text holds no digit.
bool ReadCurrencyElement(const std::wstring& content, std::wstring& code, double& rate)
{
    // Signed on purpose: without "rate=" the rate is looked for from position 5 on.
    const std::ptrdiff_t length = static_cast<std::ptrdiff_t>(content.size());
    const std::size_t found = content.find(kRateMarker);
    const std::ptrdiff_t r = found == std::wstring::npos ? -1 : static_cast<std::ptrdiff_t>(found);
    const std::ptrdiff_t s = r + 6;
    if (s >= length - 1)
        return false;
    code = content.substr(1, 3);
    const std::wstring rateText =
        content.substr(static_cast<std::size_t>(s), static_cast<std::size_t>(length - 1 - s));
    return ParseNumber(rateText, rate);
}

// A rate becomes a unit's factor: nothing but a finite amount above zero converts.
bool IsUsableRate(double rate)
{
    return std::isfinite(rate) && rate > 0.0;
}

// The bank writes YYYY-MM-DD. Anything else would name the category after whatever the
// server sent, 300 characters of it included.
bool IsCalendarDate(const std::wstring& date)
{
    if (date.size() != 10 || date[4] != L'-' || date[7] != L'-')
        return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (date[i] < L'0' || date[i] > L'9')
            return false;
    const auto number = [&](std::size_t at)
    { return (date[at] - L'0') * 10 + date[at + 1] - L'0'; };
    static const int kLongestMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int month = number(5);
    const int day = number(8);
    return month >= 1 && month <= 12 && day >= 1 && day <= kLongestMonth[month - 1];
}
} // namespace

std::wstring MakeWorkingText(const std::string& bytes)
{
    std::wstring text;
    text.reserve(bytes.size() + 1);
    std::size_t lineStart = 0;
    while (lineStart < bytes.size())
    {
        std::size_t lineEnd = bytes.find('\n', lineStart);
        const bool hasLineFeed = lineEnd != std::string::npos;
        if (!hasLineFeed)
            lineEnd = bytes.size();
        std::size_t contentEnd = lineEnd;
        // A carriage return is part of the terminator only in front of the line feed.
        if (hasLineFeed && contentEnd > lineStart && bytes[contentEnd - 1] == '\r')
            --contentEnd;
        for (std::size_t i = lineStart; i < contentEnd; ++i)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
        text += L'\n';
        lineStart = lineEnd + 1;
    }
    return text;
}

bool ExtractElement(std::wstring& text, std::wstring& content, const std::wstring& startText,
                    const std::wstring& endText, bool consume)
{
    content.clear();
    std::size_t i = text.find(startText);
    if (i == std::wstring::npos)
        return false;
    const std::size_t b = i + startText.size();
    const std::size_t end = text.find(endText, b);
    if (end == std::wstring::npos)
        return false;
    const std::size_t c = end - b;
    content = text.substr(b, c);
    if (consume)
    {
        if (i > 0 && text[i - 1] == L'\n')
            --i;
        text.erase(i, b + c + endText.size() - i);
    }
    return true;
}

void InsertEuroRate(std::wstring& text)
{
    const std::size_t first = text.find(kCurrencyStart);
    if (first == std::wstring::npos || first == 0)
        text.clear();
    else
        text.insert(first, kEuroRate);
}

RatesScan ScanRatesDocument(const std::wstring& workingText)
{
    RatesScan scan;
    std::wstring text = workingText;
    InsertEuroRate(text);
    const std::size_t dateAt = text.find(kDateStart);
    if (dateAt == std::wstring::npos || dateAt == 0)
        return scan;
    scan.hasRates = true;

    std::wstring content;
    if (!ExtractElement(text, content, kDateStart, kDateEnd, false))
        return scan;
    scan.hasDate = true;
    if (content.size() >= 2)
        scan.date = content.substr(1, content.size() - 2);

    const std::wstring note = CurrencyUnitNote(scan.date);
    while (ExtractElement(text, content, kCurrencyStart, kCurrencyEnd, true))
    {
        CurrencyRate currency;
        if (!ReadCurrencyElement(content, currency.code, currency.rate) ||
            !IsUsableRate(currency.rate))
            continue;
        currency.unitName = CurrencyUnitName(currency.code);
        currency.isSelected = currency.code == L"USD" || currency.code == L"EUR";
        currency.note = note;
        scan.currencies.push_back(std::move(currency));
    }
    return scan;
}

bool IsUsableForRebuild(const RatesScan& scan)
{
    // With a date the inserted euro is always read first, so any further entry is the
    // document's own.
    return scan.hasRates && scan.hasDate && IsCalendarDate(scan.date) && scan.currencies.size() > 1;
}

std::wstring CurrencyUnitName(const std::wstring& code)
{
    std::wstring name;
    if (LookupCurrencyName(code, name))
        name += L"  (" + code + L")";
    else
        name = code;
    return name.substr(0, kUnitNameLimit);
}

std::wstring CurrencyUnitNote(const std::wstring& date)
{
    return L"rated " + date + L" by the European Central Bank";
}

std::wstring CurrencyCategoryName(const std::wstring& date)
{
    return L"Currency (" + date + L")";
}

std::wstring CurrencyCategoryNote(const std::wstring& date)
{
    return L"last updated " + date + L" from the European Central Bank";
}
